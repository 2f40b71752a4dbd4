#include "model/jsontreemodel.h"

#include "io/jsonwriter.h"
#include "io/treebuilder.h"
#include "tree/jsonnode.h"

JsonTreeModel::JsonTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
    , m_document(new JsonDocument(this))
{
    connectDocument();
}

JsonTreeModel::~JsonTreeModel() = default;

// The document's signals become the item-model signals, in the same order.
void JsonTreeModel::connectDocument()
{
    JsonDocument *d = m_document;
    connect(d, &JsonDocument::aboutToBeReset, this, &JsonTreeModel::beginResetModel);
    connect(d, &JsonDocument::reset, this, &JsonTreeModel::endResetModel);
    connect(d, &JsonDocument::nodesAboutToBeInserted, this,
            [this](JsonNode *parent, int first, int last) {
                beginInsertRows(indexForNode(parent), first, last);
            });
    connect(d, &JsonDocument::nodesInserted, this, &JsonTreeModel::endInsertRows);
    connect(d, &JsonDocument::nodesAboutToBeRemoved, this,
            [this](JsonNode *parent, int first, int last) {
                beginRemoveRows(indexForNode(parent), first, last);
            });
    connect(d, &JsonDocument::nodesRemoved, this, &JsonTreeModel::endRemoveRows);
    connect(d, &JsonDocument::nodeChanged, this,
            [this](JsonNode *node, JsonDocument::Fields fields) {
                const QModelIndex index = indexForNode(node);
                const int first = fields.testFlag(JsonDocument::Field::Key) ? 0 : 1;
                const int last = fields.testFlag(JsonDocument::Field::Value) ? 1 : 0;
                emit dataChanged(index.siblingAtColumn(first), index.siblingAtColumn(last),
                                 {Qt::DisplayRole, Qt::EditRole});
            });
    connect(d, &JsonDocument::elementsRelabelled, this, &JsonTreeModel::emitElementsChanged);
}

void JsonTreeModel::emitElementsChanged(JsonNode *array)
{
    // An emptied array has no range to emit.
    if (array->childCount() == 0)
        return;
    const QModelIndex arrayIndex = indexForNode(array);
    emit dataChanged(index(0, 0, arrayIndex), index(array->childCount() - 1, 1, arrayIndex), {});
}

QModelIndex JsonTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    const JsonNode *parentNode = parent.isValid() ? nodeForIndex(parent) : m_document->root();
    JsonNode *child = parentNode->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex JsonTreeModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    return indexForNode(nodeForIndex(index)->parent());
}

int JsonTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return (parent.isValid() ? nodeForIndex(parent) : m_document->root())->childCount();
}

int JsonTreeModel::columnCount(const QModelIndex &) const
{
    return 2;
}

QVariant JsonTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const JsonNode *node = nodeForIndex(index);
    if (index.column() == 0)
        return node->key();
    if (index.column() != 1)
        return {};
    if (role == Qt::EditRole)
        return node->value();
    return displayValue(node);
}

QString JsonTreeModel::displayValue(const JsonNode *node) const
{
    // Item counts and null are shown whole, whatever the limit.
    const QString text = valueText(node);
    if (node->isContainer() || node->type() == JsonNodeType::Null || m_maxTextLength <= 0
        || text.size() <= m_maxTextLength)
        return text;
    // The cut never splits a surrogate pair.
    const qsizetype kept = text.at(m_maxTextLength - 1).isHighSurrogate() ? m_maxTextLength - 1
                                                                          : m_maxTextLength;
    return text.left(kept) + tr("... (%1 chars total)").arg(text.size());
}

QString JsonTreeModel::valueText(const JsonNode *node)
{
    switch (node->type()) {
    case JsonNodeType::Object:
    case JsonNodeType::Array:
        return itemCountText(node->type() == JsonNodeType::Object, node->childCount());
    case JsonNodeType::Null:
        return tr("null");
    default:
        return node->value().toString();
    }
}

QString JsonTreeModel::itemCountText(bool isObject, qsizetype count)
{
    return isObject ? tr("{ %1 items }").arg(count) : tr("[ %1 items ]").arg(count);
}

QVariant JsonTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return tr("Key");
    case 1:
        return tr("Value");
    default:
        return {};
    }
}

Qt::ItemFlags JsonTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Only what Save writes takes an edit: member names and scalar values,
    // not the top-level row's empty key, array positions or item counts.
    const JsonNode *node = nodeForIndex(index);
    const bool editable = index.column() == 0 ? node->parent()->type() == JsonNodeType::Object
                                              : !node->isContainer();
    return QAbstractItemModel::flags(index) | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

JsonNode *JsonTreeModel::nodeForIndex(const QModelIndex &index)
{
    return static_cast<JsonNode *>(index.internalPointer());
}

QModelIndex JsonTreeModel::indexForNode(JsonNode *node) const
{
    if (!node || node == m_document->root())
        return {};
    return createIndex(node->row(), 0, node);
}

void JsonTreeModel::setMaxTextLength(int length)
{
    m_maxTextLength = length;
    if (rowCount() > 0)
        emit dataChanged(index(0, 1), index(rowCount() - 1, 1), {Qt::DisplayRole});
}

void JsonTreeModel::setPrettyPrint(bool pretty)
{
    m_prettyPrint = pretty;
}

bool JsonTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    JsonNode *node = nodeForIndex(index);
    return index.column() == 0 ? m_document->setKey(node, value.toString())
                               : m_document->setValue(node, value);
}

bool JsonTreeModel::insertRows(int row, int count, const QModelIndex &parent)
{
    std::vector<std::unique_ptr<JsonNode>> nodes;
    for (int i = 0; i < count; ++i)
        nodes.push_back(std::make_unique<JsonNode>(tr("new"), QVariant(), JsonNodeType::Null));
    return m_document->insertNodes(parent.isValid() ? nodeForIndex(parent) : m_document->root(),
                                   row, std::move(nodes));
}

bool JsonTreeModel::removeRows(int row, int count, const QModelIndex &parent)
{
    return m_document->removeNodes(parent.isValid() ? nodeForIndex(parent) : m_document->root(),
                                   row, count);
}

bool JsonTreeModel::appendNode(const QModelIndex &parentIndex, JsonNode *node)
{
    std::unique_ptr<JsonNode> owned(node);
    const bool appended = m_document->appendNode(
            parentIndex.isValid() ? nodeForIndex(parentIndex) : m_document->root(), owned);
    owned.release(); // the document holds it, or the caller keeps it
    return appended;
}

bool JsonTreeModel::replaceNode(const QModelIndex &index, JsonNode *node)
{
    if (!index.isValid())
        return false;
    std::unique_ptr<JsonNode> owned(node);
    const bool replaced = m_document->replaceNode(nodeForIndex(index), owned);
    owned.release(); // the document holds it, or the caller keeps it
    return replaced;
}

QUndoStack *JsonTreeModel::undoStack() const
{
    return m_document->undoStack();
}

void JsonTreeModel::beginStep(const QString &name)
{
    m_document->beginGroup(name);
}

void JsonTreeModel::endStep()
{
    m_document->endGroup();
}

bool JsonTreeModel::loadFromFile(const QString &path)
{
    return m_document->loadFile(path);
}

bool JsonTreeModel::loadFromString(const QString &text)
{
    return m_document->loadText(text.toUtf8());
}

QString JsonTreeModel::parseError() const
{
    return m_document->parseError();
}

QString JsonTreeModel::toJsonString() const
{
    return JsonWriter::toText(m_document->topLevelNode(), m_prettyPrint);
}

QString JsonTreeModel::nodeToJsonString(const QModelIndex &index) const
{
    const JsonNode *node = nodeForIndex(index); // null for the invalid index
    if (!node)
        return {};
    return JsonWriter::toText(node, m_prettyPrint);
}

bool JsonTreeModel::saveToFile(const QString &path)
{
    return m_document->saveFile(path, m_prettyPrint);
}

JsonNode *JsonTreeModel::buildNode(yyjson_val *value, const QString &key)
{
    return TreeBuilder::build(value, key).release();
}
