#include "model/queryresultsmodel.h"

#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

#include <algorithm>
#include <limits>

QueryResultsModel::QueryResultsModel(const JsonTreeModel *treeModel, QObject *parent)
    : QAbstractTableModel(parent)
    , m_treeModel(treeModel)
{
}

int QueryResultsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    // Rows are counted in int: the results past that many are not shown.
    return int(std::min<qsizetype>(m_results.size(), std::numeric_limits<int>::max()));
}

int QueryResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant QueryResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const JsonNode *result = node(index.row());
    return index.column() == 0 ? result->path() : m_treeModel->displayValue(result);
}

QVariant QueryResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return tr("Path");
    case 1:
        return tr("Value");
    default:
        return {};
    }
}

void QueryResultsModel::setResults(QueryResults &results)
{
    beginResetModel();
    m_results.swap(results);
    endResetModel();
}

void QueryResultsModel::clear()
{
    if (m_results.isEmpty())
        return;
    beginResetModel();
    m_results.clear();
    endResetModel();
}

JsonNode *QueryResultsModel::node(int row) const
{
    return m_results.node(row);
}
