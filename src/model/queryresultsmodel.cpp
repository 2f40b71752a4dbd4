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
    return parent.isValid() ? 0 : m_shownRows;
}

bool QueryResultsModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_shownRows < shownRowLimit();
}

void QueryResultsModel::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    const int more = int(std::min<qsizetype>(rowsPerFetch, shownRowLimit() - m_shownRows));
    beginInsertRows({}, m_shownRows, m_shownRows + more - 1);
    m_shownRows += more;
    endInsertRows();
}

int QueryResultsModel::shownRowLimit() const
{
    // Rows are counted in int: the results past that many are not shown.
    return int(std::min<qsizetype>(m_results.size(), std::numeric_limits<int>::max()));
}

qsizetype QueryResultsModel::resultCount() const
{
    return m_results.size();
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
    m_shownRows = std::min(rowsPerFetch, shownRowLimit());
    endResetModel();
}

void QueryResultsModel::clear()
{
    if (m_results.isEmpty())
        return;
    beginResetModel();
    m_results.clear();
    m_shownRows = 0;
    endResetModel();
}

JsonNode *QueryResultsModel::node(int row) const
{
    return m_results.node(row);
}
