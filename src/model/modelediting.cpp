// JsonTreeModel's changes to the tree: in-place edits, inserted, removed,
// appended and replaced rows, and the relabelling of array elements.

#include "model/jsontreemodel.h"

#include "io/jsonreader.h"
#include "model/jsonnode.h"

#include <QUndoCommand>

#include <charconv>
#include <memory>
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

// Rows put into a container, or taken out of it. Rows out of the document are
// held here, and destroyed with the change when the history drops it.
class JsonTreeModel::RowsChange : public QUndoCommand
{
public:
    // Puts the `count` nodes `inserted` in at `row`; with no nodes, takes
    // `count` rows out there.
    RowsChange(JsonTreeModel *model, JsonNode *parent, int row, int count,
               QList<JsonNode *> inserted, QUndoCommand *step)
        : QUndoCommand(step)
        , model(model)
        , parent(parent)
        , row(row)
        , count(count)
        , inserting(!inserted.isEmpty())
        , held(std::move(inserted))
    {
    }
    ~RowsChange() override { qDeleteAll(held); }
    Q_DISABLE_COPY_MOVE(RowsChange)

    void redo() override { inserting ? putIn() : takeOut(); }
    void undo() override { inserting ? takeOut() : putIn(); }

private:
    void putIn() { model->placeNodes(parent, row, held); }
    void takeOut() { model->takeNodes(parent, row, count, held); }

    JsonTreeModel *model;
    JsonNode *parent;
    const int row;
    const int count;
    const bool inserting;
    QList<JsonNode *> held;
};

// A node's key, value and type, and with them its children or not, traded
// with those a holder keeps: the same trade makes the change and undoes it.
class JsonTreeModel::NodeSwap : public QUndoCommand
{
public:
    NodeSwap(JsonTreeModel *model, JsonNode *node, int column, std::unique_ptr<JsonNode> holder,
             bool withChildren, QUndoCommand *step)
        : QUndoCommand(step)
        , model(model)
        , node(node)
        , column(column)
        , holder(std::move(holder))
        , withChildren(withChildren)
    {
    }

    void redo() override { model->swapNode(node, column, holder.get(), withChildren); }
    void undo() override { redo(); }

private:
    JsonTreeModel *model;
    JsonNode *node;
    const int column;
    const std::unique_ptr<JsonNode> holder;
    const bool withChildren;
};

bool JsonTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    JsonNode *node = nodeForIndex(index);
    // The edit is made on a copy of the row's content, which then trades
    // places with it.
    auto edited = std::make_unique<JsonNode>(node->key(), node->value(), node->type());
    if (index.column() == 0) {
        edited->setKey(value.toString());
    } else if (node->type() == JsonNodeType::Number && value.typeId() == QMetaType::QString) {
        // Numbers are edited as text. The text of the stored value stands for
        // that value exactly (1.0 shows as 1), so confirming it keeps the
        // number, and the saved text, as they were.
        const QString text = value.toString();
        if (text != node->value().toString()) {
            const QVariant number = JsonNode::numberFromText(text);
            if (!number.isValid())
                return false;
            edited->setValue(number);
        }
    } else {
        edited->setValue(value);
        if (node->type() == JsonNodeType::Null)
            edited->setType(JsonNodeType::String);
    }
    beginStep(index.column() == 0 ? tr("Edit Key") : tr("Edit Value"));
    (new NodeSwap(this, node, index.column(), std::move(edited), false, openStep()))->redo();
    endStep();
    return true;
}

bool JsonTreeModel::insertRows(int row, int count, const QModelIndex &parent)
{
    JsonNode *target = parent.isValid() ? nodeForIndex(parent) : rootNode;
    if (row < 0 || row > target->childCount() || count < 1)
        return false;
    QList<JsonNode *> inserted;
    for (int i = 0; i < count; ++i)
        inserted.append(new JsonNode(tr("new"), QVariant(), JsonNodeType::Null));
    beginStep(tr("Insert"));
    (new RowsChange(this, target, row, count, std::move(inserted), openStep()))->redo();
    endStep();
    return true;
}

bool JsonTreeModel::removeRows(int row, int count, const QModelIndex &parent)
{
    JsonNode *target = parent.isValid() ? nodeForIndex(parent) : rootNode;
    if (row < 0 || count < 1 || row + count > target->childCount())
        return false;
    beginStep(tr("Delete"));
    (new RowsChange(this, target, row, count, {}, openStep()))->redo();
    endStep();
    return true;
}

bool JsonTreeModel::appendNode(const QModelIndex &parentIndex, JsonNode *node)
{
    JsonNode *target = parentIndex.isValid() ? nodeForIndex(parentIndex) : rootNode;
    if (nestsTooDeep(target, node))
        return false;
    beginStep(tr("Add Item"));
    (new RowsChange(this, target, target->childCount(), 1, {node}, openStep()))->redo();
    endStep();
    return true;
}

bool JsonTreeModel::replaceNode(const QModelIndex &index, JsonNode *node)
{
    if (!index.isValid() || !node)
        return false;
    JsonNode *replaced = nodeForIndex(index);
    if (!replaced->parent() || nestsTooDeep(replaced->parent(), node))
        return false;
    beginStep(tr("Replace"));
    (new NodeSwap(this, replaced, index.column(), std::unique_ptr<JsonNode>(node), true,
                  openStep()))
            ->redo();
    endStep();
    return true;
}

void JsonTreeModel::placeNodes(JsonNode *parent, int row, QList<JsonNode *> &nodes)
{
    const QModelIndex parentIndex = indexForNode(parent);
    beginInsertRows(parentIndex, row, row + int(nodes.size()) - 1);
    for (qsizetype i = 0; i < nodes.size(); ++i)
        parent->insertChild(row + int(i), nodes[i]);
    nodes.clear();
    endInsertRows();
    announceArrayRelabelling(parent, parentIndex);
}

void JsonTreeModel::takeNodes(JsonNode *parent, int row, int count, QList<JsonNode *> &nodes)
{
    const QModelIndex parentIndex = indexForNode(parent);
    beginRemoveRows(parentIndex, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        nodes.append(parent->takeChild(row));
    endRemoveRows();
    announceArrayRelabelling(parent, parentIndex);
}

void JsonTreeModel::swapNode(JsonNode *node, int column, JsonNode *holder, bool withChildren)
{
    const QModelIndex index = indexForNode(node);
    // The children going out wait in a second holder while the others come
    // in, so that each set is announced whole: none moves one by one.
    JsonNode outgoing(QString(), QVariant(), JsonNodeType::Array);
    if (const int count = node->childCount(); withChildren && count > 0) {
        beginRemoveRows(index, 0, count - 1);
        outgoing.swapChildren(node);
        endRemoveRows();
    }
    node->swapContent(holder);
    if (const int count = holder->childCount(); withChildren && count > 0) {
        beginInsertRows(index, 0, count - 1);
        node->swapChildren(holder);
        endInsertRows();
    }
    if (withChildren)
        holder->swapChildren(&outgoing);
    const QModelIndex cell = index.siblingAtColumn(column);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
    // A replaced array element takes its position label back.
    if (withChildren)
        announceArrayRelabelling(node->parent(), parent(index));
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
