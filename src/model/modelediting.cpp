// JsonTreeModel's changes to the tree: in-place edits, inserted, removed,
// appended and replaced rows, and the relabelling of array elements.

#include "model/jsontreemodel.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"

#include <charconv>
#include <vector>

namespace {

// Whether `node`, placed under `parent`, would nest containers deeper than
// the reader takes: no edit makes a document that cannot be opened again.
// Costs a step per ancestor and per node of `node`'s subtree.
bool nestsTooDeep(const JsonNode *parent, const JsonNode *node)
{
    int depth = 0;
    for (const JsonNode *ancestor = parent; ancestor; ancestor = ancestor->parent())
        depth += ancestor->isContainer() ? 1 : 0;
    // Containers only, each with the number of containers around it.
    std::vector<std::pair<const JsonNode *, int>> pending;
    if (node->isContainer())
        pending.emplace_back(node, depth);
    while (!pending.empty()) {
        const auto [next, above] = pending.back();
        pending.pop_back();
        if (above + 1 > JsonReader::maxDepth)
            return true;
        for (int row = 0; row < next->childCount(); ++row) {
            if (next->child(row)->isContainer())
                pending.emplace_back(next->child(row), above + 1);
        }
    }
    return false;
}

} // namespace

bool JsonTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    JsonNode *node = nodeForIndex(index);
    if (index.column() == 0) {
        node->setKey(value.toString());
    } else if (node->type() == JsonNodeType::Number && value.typeId() == QMetaType::QString) {
        // Numbers are edited as text. The text of the stored value stands for
        // that value exactly (1.0 shows as 1), so confirming it keeps the
        // number, and the saved text, as they were.
        const QString text = value.toString();
        if (text != node->value().toString()) {
            const QVariant number = JsonNode::numberFromText(text);
            if (!number.isValid())
                return false;
            node->setValue(number);
        }
    } else {
        node->setValue(value);
        if (node->type() == JsonNodeType::Null)
            node->setType(JsonNodeType::String);
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

bool JsonTreeModel::insertRows(int row, int count, const QModelIndex &parent)
{
    JsonNode *target = parent.isValid() ? nodeForIndex(parent) : rootNode;
    if (row < 0 || row > target->childCount() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        target->insertChild(row + i, new JsonNode(tr("new"), QVariant(), JsonNodeType::Null));
    endInsertRows();
    announceArrayRelabelling(target, parent);
    return true;
}

bool JsonTreeModel::removeRows(int row, int count, const QModelIndex &parent)
{
    JsonNode *target = parent.isValid() ? nodeForIndex(parent) : rootNode;
    if (row < 0 || count < 1 || row + count > target->childCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        target->removeChild(row);
    endRemoveRows();
    announceArrayRelabelling(target, parent);
    return true;
}

bool JsonTreeModel::appendNode(const QModelIndex &parentIndex, JsonNode *node)
{
    JsonNode *target = parentIndex.isValid() ? nodeForIndex(parentIndex) : rootNode;
    if (nestsTooDeep(target, node))
        return false;
    // Rows hang under column-0 indexes only, whichever cell the caller holds.
    const QModelIndex announced = parentIndex.siblingAtColumn(0);
    const int row = target->childCount();
    beginInsertRows(announced, row, row);
    target->insertChild(row, node);
    endInsertRows();
    announceArrayRelabelling(target, announced);
    return true;
}

bool JsonTreeModel::replaceNode(const QModelIndex &index, JsonNode *node)
{
    if (!index.isValid() || !node)
        return false;
    JsonNode *replaced = nodeForIndex(index);
    JsonNode *parentNode = replaced->parent();
    if (!parentNode || nestsTooDeep(parentNode, node))
        return false;
    const QModelIndex parentIndex = parent(index);
    // Rows hang under column-0 indexes only, whichever cell the caller holds.
    const QModelIndex rowsParent = index.siblingAtColumn(0);

    // The old children move to a holder that destroys them on leaving, and
    // the new ones come over whole: no child is taken out one by one.
    JsonNode removed(QString(), QVariant(), JsonNodeType::Array);
    if (const int count = replaced->childCount(); count > 0) {
        beginRemoveRows(rowsParent, 0, count - 1);
        removed.swapChildren(replaced);
        endRemoveRows();
    }

    replaced->setKey(node->key());
    replaced->setValue(node->value());
    replaced->setType(node->type());

    if (const int count = node->childCount(); count > 0) {
        beginInsertRows(rowsParent, 0, count - 1);
        replaced->swapChildren(node);
        endInsertRows();
    }

    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    announceArrayRelabelling(parentNode, parentIndex);
    delete node;
    return true;
}

void JsonTreeModel::renumberArrayKeys(JsonNode *node)
{
    // Most labels are right already (an append changes none of the others):
    // they are compared in place and only the wrong ones are made anew.
    char label[24];
    for (int row = 0; row < node->childCount(); ++row) {
        label[0] = '[';
        char *end = std::to_chars(label + 1, label + sizeof label - 1, row).ptr;
        *end++ = ']';
        JsonNode *child = node->child(row);
        if (child->key() != QLatin1StringView(label, end - label))
            child->setKey(JsonNode::positionLabel(row));
    }
}

// After an array's children changed, every element is relabelled by its
// position and the whole array announced. Object members keep their keys.
void JsonTreeModel::announceArrayRelabelling(JsonNode *node, const QModelIndex &nodeIndex)
{
    if (node->type() != JsonNodeType::Array)
        return;
    renumberArrayKeys(node);
    // An emptied array has no range to announce.
    if (node->childCount() > 0)
        emit dataChanged(index(0, 0, nodeIndex), index(node->childCount() - 1, 1, nodeIndex), {});
}
