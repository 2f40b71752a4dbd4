#include "document/jsondocument.h"

#include "document/fileopening.h"
#include "document/groupcommand.h"
#include "document/rowscommand.h"
#include "document/swapcommand.h"
#include "io/jsonreader.h"
#include "io/jsonwriter.h"
#include "tree/jsonnode.h"

#include <QUndoStack>

#include <charconv>

namespace {

std::unique_ptr<JsonNode> newRoot()
{
    return std::make_unique<JsonNode>(QStringLiteral("root"), QVariant(), JsonNodeType::None);
}

// Whether `node`, placed under `parent`, would nest containers deeper than
// the reader takes: no edit makes a document that cannot be opened again.
// Costs a step per ancestor and per container of `node`'s subtree; unmade
// children stay unmade.
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
        const int room = JsonReader::maxDepth - above - 1;
        if (room < 0 || next->unmadeNestingDepth(room) > room)
            return true;
        const int made = next->unmadeChildren() ? 0 : next->childCount();
        for (int row = 0; row < made; ++row) {
            if (next->child(row)->isContainer())
                pending.emplace_back(next->child(row), above + 1);
        }
    }
    return false;
}

} // namespace

JsonDocument::JsonDocument(QObject *parent)
    : QObject(parent)
    , m_root(newRoot())
    , m_undoStack(new QUndoStack(this))
{
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &JsonDocument::updateModified);
}

JsonDocument::~JsonDocument()
{
    // The commands hold nodes out of the tree; they go first, in silence.
    m_undoStack->blockSignals(true);
    delete m_undoStack;
}

JsonNode *JsonDocument::topLevelNode() const
{
    return m_root->child(0);
}

bool JsonDocument::loadFile(const QString &path)
{
    return adoptParsed(JsonReader::parseFile(path, JsonReader::formatForPath(path), &m_parseError,
                                             &m_readError));
}

bool JsonDocument::adoptFile(FileOpening &opening)
{
    m_parseError = opening.parseError();
    m_readError = opening.readError();
    return adoptParsed(opening.takeParsed());
}

bool JsonDocument::adoptParsed(std::unique_ptr<ParsedDocument> parsed)
{
    const bool hasComments = parsed && parsed->hasComments();
    if (!parsed || !setTopLevelNode(ParsedDocument::topLevelNode(std::move(parsed))))
        return false;
    m_droppedComments = hasComments;
    return true;
}

bool JsonDocument::loadText(QByteArrayView utf8)
{
    m_readError.clear();
    return setTopLevelNode(JsonReader::parse(utf8, &m_parseError));
}

bool JsonDocument::setTopLevelNode(std::unique_ptr<JsonNode> top)
{
    // The new tree is complete before anything is reset, so a text that does
    // not parse leaves the open document as it was.
    if (!top)
        return false;
    std::unique_ptr<JsonNode> root = newRoot();
    root->appendChild(top.release());
    emit aboutToBeReset();
    m_currentCell = {};
    m_root.swap(root); // the old tree goes with `root`
    emit reset();
    // The commands before concern a document that is gone.
    m_undoStack->clear();
    m_markedModified = false;
    m_droppedComments = false;
    updateModified();
    return true;
}

bool JsonDocument::saveFile(const QString &path, bool pretty, const JsonWriter::Progress &progress)
{
    if (JsonReader::formatForPath(path) == JsonReader::Format::JsonLines) {
        const JsonNode *top = topLevelNode();
        if (!top || top->type() != JsonNodeType::Array) {
            m_saveError = tr("Only an array can be saved as JSON Lines, one line for each of "
                             "its values; the top-level value here is no array.");
            return false;
        }
        if (!JsonWriter::writeLinesFile(path, top, &m_saveError, progress))
            return false;
    } else if (!JsonWriter::writeFile(path, topLevelNode(), pretty, &m_saveError, progress)) {
        return false;
    }
    m_droppedComments = false;
    m_undoStack->setClean();
    m_markedModified = false;
    updateModified();
    return true;
}

void JsonDocument::markModified()
{
    if (!topLevelNode())
        return;
    m_markedModified = true;
    updateModified();
}

void JsonDocument::updateModified()
{
    const bool modified = m_markedModified || !m_undoStack->isClean();
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void JsonDocument::setCurrentCell(JsonNode *node, int column)
{
    m_currentCell = {node, column};
}

void JsonDocument::restoreCurrentCell(const Cell &cell)
{
    m_currentCell = cell;
    emit currentCellRequested(cell.node, cell.column);
}

bool JsonDocument::setKey(JsonNode *node, const QString &key)
{
    if (!node || node == root() || m_replaying)
        return false;
    // The edit is made on a copy of the node's own content, which then trades
    // places with it.
    auto edited = std::make_unique<JsonNode>(key, node->value(), node->type());
    beginGroup(tr("Edit Key"));
    (new SwapCommand(this, node, std::move(edited), Field::Key, false, openGroup()))->redo();
    endGroup();
    return true;
}

bool JsonDocument::setValue(JsonNode *node, const QVariant &value)
{
    if (!node || node == root() || m_replaying)
        return false;
    auto edited = std::make_unique<JsonNode>(node->key(), node->value(), node->type());
    if (node->type() == JsonNodeType::Number && value.typeId() == QMetaType::QString) {
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
    beginGroup(tr("Edit Value"));
    (new SwapCommand(this, node, std::move(edited), Field::Value, false, openGroup()))->redo();
    endGroup();
    return true;
}

bool JsonDocument::insertNodes(JsonNode *parent, int row,
                               std::vector<std::unique_ptr<JsonNode>> nodes)
{
    if (!parent || row < 0 || row > parent->childCount() || nodes.empty() || m_replaying)
        return false;
    for (const std::unique_ptr<JsonNode> &node : nodes) {
        if (!node || nestsTooDeep(parent, node.get()))
            return false;
    }
    const int count = int(nodes.size());
    beginGroup(tr("Insert"));
    (new RowsCommand(this, parent, row, count, std::move(nodes), openGroup()))->redo();
    endGroup();
    return true;
}

bool JsonDocument::removeNodes(JsonNode *parent, int row, int count)
{
    if (!parent || row < 0 || count < 1 || row + count > parent->childCount() || m_replaying)
        return false;
    beginGroup(tr("Delete"));
    (new RowsCommand(this, parent, row, count, {}, openGroup()))->redo();
    endGroup();
    return true;
}

bool JsonDocument::appendNode(JsonNode *parent, std::unique_ptr<JsonNode> &node)
{
    if (!parent || !node || m_replaying || nestsTooDeep(parent, node.get()))
        return false;
    std::vector<std::unique_ptr<JsonNode>> nodes;
    nodes.push_back(std::move(node));
    beginGroup(tr("Add Item"));
    (new RowsCommand(this, parent, parent->childCount(), 1, std::move(nodes), openGroup()))->redo();
    endGroup();
    return true;
}

bool JsonDocument::replaceNode(JsonNode *node, std::unique_ptr<JsonNode> &replacement)
{
    if (!node || !replacement || !node->parent() || m_replaying
        || nestsTooDeep(node->parent(), replacement.get()))
        return false;
    beginGroup(tr("Replace"));
    (new SwapCommand(this, node, std::move(replacement), Field::Key | Field::Value, true,
                     openGroup()))
            ->redo();
    endGroup();
    return true;
}

void JsonDocument::beginGroup(const QString &name)
{
    if (m_groupDepth++ == 0)
        m_groupName = name;
}

void JsonDocument::endGroup()
{
    Q_ASSERT(m_groupDepth > 0);
    if (--m_groupDepth > 0 || !m_openGroup)
        return;
    GroupCommand *group = m_openGroup;
    m_openGroup = nullptr;
    m_undoStack->push(group);
}

QUndoCommand *JsonDocument::openGroup()
{
    if (!m_openGroup)
        m_openGroup = new GroupCommand(this, m_groupName, m_currentCell);
    return m_openGroup;
}

void JsonDocument::placeNodes(JsonNode *parent, int row,
                              std::vector<std::unique_ptr<JsonNode>> &nodes)
{
    const int last = row + int(nodes.size()) - 1;
    emit nodesAboutToBeInserted(parent, row, last);
    for (std::size_t i = 0; i < nodes.size(); ++i)
        parent->insertChild(row + int(i), nodes[i].release());
    nodes.clear();
    emit nodesInserted(parent, row, last);
    relabelElements(parent);
}

void JsonDocument::takeNodes(JsonNode *parent, int row, int count,
                             std::vector<std::unique_ptr<JsonNode>> &nodes)
{
    emit nodesAboutToBeRemoved(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        nodes.emplace_back(parent->takeChild(row));
    emit nodesRemoved(parent, row, row + count - 1);
    relabelElements(parent);
}

void JsonDocument::swapNode(JsonNode *node, JsonNode *other, Fields fields, bool withChildren)
{
    // The children going out wait in a node of their own while the others
    // come in, so that each set is removed and inserted whole.
    JsonNode outgoing(QString(), QVariant(), JsonNodeType::Array);
    if (const int count = node->childCount(); withChildren && count > 0) {
        emit nodesAboutToBeRemoved(node, 0, count - 1);
        outgoing.swapChildren(node);
        emit nodesRemoved(node, 0, count - 1);
    }
    node->swapContent(other);
    if (const int count = other->childCount(); withChildren && count > 0) {
        emit nodesAboutToBeInserted(node, 0, count - 1);
        node->swapChildren(other);
        emit nodesInserted(node, 0, count - 1);
    }
    if (withChildren)
        other->swapChildren(&outgoing);
    emit nodeChanged(node, fields);
    // A replaced array element takes its position label back.
    if (withChildren)
        relabelElements(node->parent());
}

// After an array's children changed, every element is labelled by its
// position again. Object members keep their keys.
void JsonDocument::relabelElements(JsonNode *node)
{
    if (node->type() != JsonNodeType::Array)
        return;
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
    emit elementsRelabelled(node);
}
