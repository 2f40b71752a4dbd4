#pragma once

#include "query/queryresults.h"

#include <QAbstractTableModel>

class JsonNode;
class JsonTreeModel;

// A query's results as a table of two columns ("Path", "Value"), one row per
// result. The results stay in their compact form: a row's node is made only
// when a view asks for the row's data, so a view over millions of results
// makes nodes for the rows it paints and no others. Rows are shown some
// thousands at a time, more as the view scrolls to the end (fetchMore()): a
// view keeps a few bytes for each row it has, and most of millions of
// results are never scrolled to.
//
// Results point into the document: they must be cleared before the document
// changes.
class QueryResultsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // `treeModel` gives the Value column its text as the tree shows it.
    explicit QueryResultsModel(const JsonTreeModel *treeModel, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Takes the results, leaving `results` with the ones held before.
    void setResults(QueryResults &results);
    void clear();
    // All results, shown or not yet.
    qsizetype resultCount() const;
    // The node of the result in `row`, made when it was not made yet.
    JsonNode *node(int row) const;

private:
    static constexpr int rowsPerFetch = 10000;
    int shownRowLimit() const;

    const JsonTreeModel *m_treeModel;
    int m_shownRows = 0;
    // Making a result's node changes neither the results nor the document's
    // content, so the reads that need a node stay const.
    mutable QueryResults m_results;
};
