#include "search/preordercursor.h"

#include "model/jsontreemodel.h"
#include "tree/jsonnode.h"

namespace {

// The invisible root is the one node without a parent; its children are the
// top-level rows.
bool isRoot(const JsonNode *node)
{
    return node->parent() == nullptr;
}

bool hasMadeChildren(const JsonNode *node)
{
    return node->childCount() > 0 && !node->unmadeChildren();
}

} // namespace

PreorderCursor::PreorderCursor(const JsonTreeModel *model)
    : m_model(model)
{
}

void PreorderCursor::moveTo(const QModelIndex &index)
{
    m_current = JsonTreeModel::nodeForIndex(index);
}

void PreorderCursor::moveToFirst()
{
    m_current = JsonTreeModel::nodeForIndex(m_model->index(0, 0));
}

void PreorderCursor::moveToLast()
{
    const int rows = m_model->rowCount();
    m_current = rows > 0 ? JsonTreeModel::nodeForIndex(m_model->index(rows - 1, 0)) : nullptr;
    if (m_current)
        descendToLast();
}

void PreorderCursor::next()
{
    if (!m_current)
        return;
    if (hasMadeChildren(m_current)) {
        m_current = m_current->child(0);
        return;
    }
    // A leaf: move to the next sibling of the nearest ancestor (or the node
    // itself) that has one.
    for (JsonNode *node = m_current; !isRoot(node); node = node->parent()) {
        JsonNode *parent = node->parent();
        const int row = node->row();
        if (row + 1 < parent->childCount()) {
            m_current = parent->child(row + 1);
            return;
        }
    }
    m_current = nullptr;
}

void PreorderCursor::previous()
{
    if (!m_current)
        return;
    JsonNode *parent = m_current->parent();
    const int row = m_current->row();
    // The first child is preceded by its parent, unless that is the root.
    if (row == 0) {
        m_current = isRoot(parent) ? nullptr : parent;
        return;
    }
    m_current = parent->child(row - 1);
    descendToLast();
}

QModelIndex PreorderCursor::index(int column) const
{
    return m_model->indexForNode(m_current).siblingAtColumn(column);
}

void PreorderCursor::descendToLast()
{
    while (hasMadeChildren(m_current))
        m_current = m_current->child(m_current->childCount() - 1);
}
