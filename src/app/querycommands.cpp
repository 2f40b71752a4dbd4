// Edit menu: Query, which shows the Query panel, and its results shown in the tree.

#include "app/mainwindow.h"

#include "app/querypanel.h"
#include "model/jsontreemodel.h"

#include <QTreeView>

void MainWindow::onQuery()
{
    m_queryPanel->focusQueryField();
}

void MainWindow::onQueryResultActivated(JsonNode *node)
{
    // The scroll expands every collapsed ancestor, as for a search's match.
    const QModelIndex index = m_model->indexForNode(node);
    m_treeView->scrollTo(index, QAbstractItemView::EnsureVisible);
    selectIndex(index);
}
