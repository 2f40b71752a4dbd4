// The tree's context menu, the item commands only it offers (Duplicate, Add
// Item, Delete), and the View menu's Expand All and Collapse All.

#include "app/mainwindow.h"

#include "dialogs/additemdialog.h"
#include "document/jsondocument.h"
#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <QMenu>
#include <QMessageBox>
#include <QTreeView>

void MainWindow::onExpandAll()
{
    m_treeView->expandAll();
}

void MainWindow::onCollapseAll()
{
    m_treeView->collapseAll();
}

void MainWindow::onCustomContextMenu(const QPoint &pos)
{
    const QModelIndex index = m_treeView->indexAt(pos);
    if (!index.isValid() || !commitEditor())
        return;

    // The clicked row becomes the current and only selected one, so Copy and
    // Paste act on it, whichever row was selected before.
    selectIndex(index);
    m_contextIndex = index;

    const JsonNode *node = JsonTreeModel::nodeForIndex(index);
    const JsonNode *parent = node->parent();

    QMenu menu(this);
    const auto add = [&](const char *name, const QString &text, void (MainWindow::*slot)()) {
        QAction *action = menu.addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, slot] { runCommand(slot); });
    };
    if (parent && parent->type() == JsonNodeType::Array)
        add("contextDuplicate", tr("Duplicate"), &MainWindow::onDuplicateArrayItem);
    if (node->isContainer())
        add("contextAddItem", tr("Add Item..."), &MainWindow::onAddItem);
    add("contextCopy", tr("Copy"), &MainWindow::onCopy);
    add("contextCopyKey", tr("Copy Key"), &MainWindow::onCopyKey);
    add("contextCopyValue", tr("Copy Value"), &MainWindow::onCopyValue);
    add("contextCopyPath", tr("Copy Path"), &MainWindow::onCopyPath);
    add("contextPaste", tr("Paste"), &MainWindow::onPaste);
    add("contextDelete", tr("Delete"), &MainWindow::onDeleteItem);
    menu.exec(m_treeView->viewport()->mapToGlobal(pos));
}

void MainWindow::onDuplicateArrayItem()
{
    if (!m_contextIndex.isValid())
        return;
    // The copy goes to the end of the array, where it takes its position label.
    const JsonNode *node = JsonTreeModel::nodeForIndex(m_contextIndex);
    std::unique_ptr<JsonNode> copy(node->clone());
    JsonDocument *document = m_model->document();
    document->beginGroup(tr("Duplicate"));
    document->appendNode(node->parent(), copy);
    document->endGroup();
}

void MainWindow::onAddItem()
{
    if (!m_contextIndex.isValid())
        return;
    JsonNode *container = JsonTreeModel::nodeForIndex(m_contextIndex);
    const bool isArray = container->type() == JsonNodeType::Array;
    AddItemDialog dialog(isArray, this);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const QString key = dialog.itemKey();
    if (!isArray && key.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), tr("Key cannot be empty"), QMessageBox::Ok);
        return;
    }
    auto node
            = std::make_unique<JsonNode>(key, dialog.itemValue(), JsonNodeType(dialog.itemType()));
    if (!m_model->document()->appendNode(container, node))
        reportTooDeep();
}

void MainWindow::onDeleteItem()
{
    if (!m_contextIndex.isValid())
        return;
    m_model->removeRows(m_contextIndex.row(), 1, m_model->parent(m_contextIndex));
}

void MainWindow::deleteCurrentRow()
{
    const QModelIndex index = m_treeView->currentIndex();
    if (!index.isValid() || !index.parent().isValid())
        return;
    m_model->removeRows(index.row(), 1, index.parent());
}
