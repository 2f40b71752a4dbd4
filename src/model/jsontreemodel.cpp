#include "model/jsontreemodel.h"

#include "model/jsonnode.h"

#include <QUndoStack>

JsonTreeModel::JsonTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
    , rootNode(newRootNode())
    , m_undoStack(new QUndoStack(this))
{
}

JsonTreeModel::~JsonTreeModel()
{
    delete rootNode;
}

JsonNode *JsonTreeModel::newRootNode()
{
    return new JsonNode(QStringLiteral("root"), QVariant(), JsonNodeType::None);
}

QModelIndex JsonTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    const JsonNode *parentNode = parent.isValid() ? nodeForIndex(parent) : rootNode;
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
    return (parent.isValid() ? nodeForIndex(parent) : rootNode)->childCount();
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
    switch (node->type()) {
    case JsonNodeType::Object:
        return tr("{ %1 items }").arg(node->childCount());
    case JsonNodeType::Array:
        return tr("[ %1 items ]").arg(node->childCount());
    case JsonNodeType::Null:
        return tr("null");
    default:
        break;
    }
    const QString text = node->value().toString();
    if (m_maxTextLength <= 0 || text.size() <= m_maxTextLength)
        return text;
    // The cut never parts the two halves of a character beyond U+FFFF.
    const qsizetype kept = text.at(m_maxTextLength - 1).isHighSurrogate() ? m_maxTextLength - 1
                                                                          : m_maxTextLength;
    return text.left(kept) + tr("... (%1 chars total)").arg(text.size());
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
    if (!node || node == rootNode)
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
