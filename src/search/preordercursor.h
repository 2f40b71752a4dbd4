#pragma once

#include <QModelIndex>

class JsonNode;
class JsonTreeModel;

// Iterates over the rows of a JsonTreeModel in pre-order (a row before its
// children, a whole subtree before the next sibling), one step at a time in
// either direction, without collecting the rows first.
//
// The cursor follows the nodes' parent and child pointers, so a step costs a
// few pointer reads however large the document, and creates no QModelIndex
// until index() is called. It makes no node: a row whose children are unmade
// is stepped over as if it had none (ParsedSearch looks below it).
class PreorderCursor
{
public:
    explicit PreorderCursor(const JsonTreeModel *model);

    // An invalid index makes the cursor invalid.
    void moveTo(const QModelIndex &index);
    void moveToFirst();
    void moveToLast();
    // Stepping past either end makes the cursor invalid.
    void next();
    void previous();

    bool isValid() const { return m_current != nullptr; }
    // The cursor's node; null when the cursor is invalid.
    const JsonNode *node() const { return m_current; }
    // The cursor's row in that column; invalid when the cursor is.
    QModelIndex index(int column = 0) const;

private:
    void descendToLast();

    const JsonTreeModel *m_model;
    JsonNode *m_current = nullptr;
};
