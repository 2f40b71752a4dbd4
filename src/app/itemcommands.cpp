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
    if (parent && parent->type() == JsonNodeType::Array)
        connect(menu.addAction(tr("Duplicate")), &QAction::triggered, this,
                &MainWindow::onDuplicateArrayItem);
    if (node->isContainer())
        connect(menu.addAction(tr("Add Item...")), &QAction::triggered, this,
                &MainWindow::onAddItem);
    connect(menu.addAction(tr("Copy")), &QAction::triggered, this, &MainWindow::onCopy);
    connect(menu.addAction(tr("Copy Key")), &QAction::triggered, this, &MainWindow::onCopyKey);
    connect(menu.addAction(tr("Copy Value")), &QAction::triggered, this, &MainWindow::onCopyValue);
    connect(menu.addAction(tr("Paste")), &QAction::triggered, this, &MainWindow::onPaste);
    connect(menu.addAction(tr("Delete")), &QAction::triggered, this, &MainWindow::onDeleteItem);
    menu.exec(treeView->viewport()->mapToGlobal(pos));
}

void MainWindow::onDuplicateArrayItem()
{
    if (!contextIndex.isValid())
        return;
    // The copy goes to the end of the array, where it takes its position label.
    model->appendNode(model->parent(contextIndex),
                      JsonTreeModel::nodeForIndex(contextIndex)->clone());
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
    model->appendNode(contextIndex,
                      new JsonNode(key, dialog.itemValue(), JsonNodeType(dialog.itemType())));
}

void MainWindow::onDeleteItem()
{
    if (!contextIndex.isValid())
        return;
    model->removeRows(contextIndex.row(), 1, model->parent(contextIndex));
}
