#pragma once

#include <QModelIndex>

#include <vector>

class QAbstractItemModel;

// Walks the rows of an item model in document order (a row before its
// children, a whole subtree before the next sibling), one step at a time in
// either direction, without listing the rows first.
//
// The cursor keeps the column-0 indexes from the top-level row down to its
// row, so a step never asks the model for a parent (which costs a scan of the
// parent's siblings in a tree of nodes) and a document thousands of levels
// deep costs heap, not call stack.
class PreorderCursor
{
public:
    explicit PreorderCursor(const QAbstractItemModel *model);

    // Off the rows, for an invalid index.
    void moveTo(const QModelIndex &index);
    void moveToFirst();
    void moveToLast();
    // Stepping past either end leaves the cursor off the rows.
    void next();
    void previous();

    bool isValid() const { return !path.empty(); }
    // The cursor's row in that column; invalid when off the rows.
    QModelIndex index(int column = 0) const;

private:
    void descendToLast();

    const QAbstractItemModel *model;
    std::vector<QModelIndex> path;
};
