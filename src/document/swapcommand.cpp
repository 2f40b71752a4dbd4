#include "document/swapcommand.h"

#include "tree/jsonnode.h"

SwapCommand::SwapCommand(JsonDocument *document, JsonNode *node, std::unique_ptr<JsonNode> other,
                         JsonDocument::Fields fields, bool withChildren, QUndoCommand *group)
    : QUndoCommand(group)
    , m_document(document)
    , m_node(node)
    , m_other(std::move(other))
    , m_fields(fields)
    , m_withChildren(withChildren)
{
}

SwapCommand::~SwapCommand() = default;

void SwapCommand::redo()
{
    m_document->swapNode(m_node, m_other.get(), m_fields, m_withChildren);
}

void SwapCommand::undo()
{
    redo();
}
