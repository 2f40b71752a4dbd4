#include "model/preordercursor.h"

#include "model/jsonnode.h"
#include "model/jsontreemodel.h"

namespace {

// The invisible root is the one node without a parent; its children are the
// top-level rows.
bool isRoot(const JsonNode *node)
{
    return node->parent() == nullptr;
}

} // namespace

PreorderCursor::PreorderCursor(const JsonTreeModel *model)
    : model(model)
{
}

void PreorderCursor::moveTo(const QModelIndex &index)
{
    current = JsonTreeModel::nodeForIndex(index);
}

void PreorderCursor::moveToFirst()
{
    current = JsonTreeModel::nodeForIndex(model->index(0, 0));
}

void PreorderCursor::moveToLast()
{
    const int rows = model->rowCount();
    current = rows > 0 ? JsonTreeModel::nodeForIndex(model->index(rows - 1, 0)) : nullptr;
    if (current)
        descendToLast();
}

void PreorderCursor::next()
{
    if (!current)
        return;
    if (current->childCount() > 0) {
        current = current->child(0);
        return;
    }
    // A leaf: on to the next sibling of the nearest row that has one.
    for (JsonNode *node = current; !isRoot(node); node = node->parent()) {
        JsonNode *parent = node->parent();
        const int row = node->row();
        if (row + 1 < parent->childCount()) {
            current = parent->child(row + 1);
            return;
        }
    }
    current = nullptr;
}

void PreorderCursor::previous()
{
    if (!current)
        return;
    JsonNode *parent = current->parent();
    const int row = current->row();
    // The first child is preceded by its parent, unless that is the root.
    if (row == 0) {
        current = isRoot(parent) ? nullptr : parent;
        return;
    }
    current = parent->child(row - 1);
    descendToLast();
}

QModelIndex PreorderCursor::index(int column) const
{
    return model->indexForNode(current).siblingAtColumn(column);
}

void PreorderCursor::descendToLast()
{
    while (current->childCount() > 0)
        current = current->child(current->childCount() - 1);
}
