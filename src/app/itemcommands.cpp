// The tree's context menu, the item commands only it offers (Duplicate, Add
// Item, Delete), and the View menu's Expand All and Collapse All.

#include "app/mainwindow.h"

#include "dialogs/additemdialog.h"
#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

#include <QMenu>
#include <QMessageBox>
#include <QTreeView>

void MainWindow::onExpandAll()
{
    treeView->expandAll();
}

void MainWindow::onCollapseAll()
{
    treeView->collapseAll();
}

void MainWindow::onCustomContextMenu(const QPoint &pos)
{
    const QModelIndex index = treeView->indexAt(pos);
    if (!index.isValid())
        return;

    // The clicked row becomes the current and only selected one, so Copy and
    // Paste act on it, whichever row was selected before.
    selectIndex(index);
    contextIndex = index;

    const JsonNode *node = JsonTreeModel::nodeForIndex(index);
    const JsonNode *parent = node->parent();

    QMenu menu(this);
    const auto add = [&](const char *name, const QString &text, void (MainWindow::*slot)()) {
        QAction *action = menu.addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
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
    menu.exec(treeView->viewport()->mapToGlobal(pos));
}

void MainWindow::onDuplicateArrayItem()
{
    if (!contextIndex.isValid())
        return;
    // The copy goes to the end of the array, where it takes its position label.
    model->beginStep(tr("Duplicate"));
    model->appendNode(model->parent(contextIndex),
                      JsonTreeModel::nodeForIndex(contextIndex)->clone());
    model->endStep();
}

void MainWindow::onAddItem()
{
    if (!contextIndex.isValid())
        return;
    const bool isArray = JsonTreeModel::nodeForIndex(contextIndex)->type() == JsonNodeType::Array;
    AddItemDialog dialog(isArray, this);
    if (dialog.exec() != QDialog::Accepted)
        return;

    const QString key = dialog.itemKey();
    if (!isArray && key.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), tr("Key cannot be empty"), QMessageBox::Ok);
        return;
    }
    auto *node = new JsonNode(key, dialog.itemValue(), JsonNodeType(dialog.itemType()));
    if (!model->appendNode(contextIndex, node)) {
        delete node;
        reportTooDeep();
    }
}

void MainWindow::onDeleteItem()
{
    if (!contextIndex.isValid())
        return;
    model->removeRows(contextIndex.row(), 1, model->parent(contextIndex));
}
