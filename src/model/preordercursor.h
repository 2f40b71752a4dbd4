#pragma once

#include <QModelIndex>

class JsonNode;
class JsonTreeModel;

// Walks the rows of a JsonTreeModel in document order (a row before its
// children, a whole subtree before the next sibling), one step at a time in
// either direction, without listing the rows first.
//
// The cursor follows the nodes' own links, so a step costs a few pointer
// reads however large the document, and makes no index until one is asked
// for.
class PreorderCursor
{
public:
    explicit PreorderCursor(const JsonTreeModel *model);

    // Off the rows, for an invalid index.
    void moveTo(const QModelIndex &index);
    void moveToFirst();
    void moveToLast();
    // Stepping past either end leaves the cursor off the rows.
    void next();
    void previous();

    bool isValid() const { return current != nullptr; }
    // The cursor's node; null when off the rows.
    const JsonNode *node() const { return current; }
    // The cursor's row in that column; invalid when off the rows.
    QModelIndex index(int column = 0) const;

private:
    void descendToLast();

    const JsonTreeModel *model;
    JsonNode *current = nullptr;
};
