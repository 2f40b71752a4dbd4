#include "document/rowscommand.h"

#include "tree/jsonnode.h"

RowsCommand::RowsCommand(JsonDocument *document, JsonNode *parent, int row, int count,
                         std::vector<std::unique_ptr<JsonNode>> inserted, QUndoCommand *group)
    : QUndoCommand(group)
    , m_document(document)
    , m_parent(parent)
    , m_row(row)
    , m_count(count)
    , m_inserting(!inserted.empty())
    , m_nodes(std::move(inserted))
{
}

RowsCommand::~RowsCommand() = default;

void RowsCommand::redo()
{
    m_inserting ? putIn() : takeOut();
}

void RowsCommand::undo()
{
    m_inserting ? takeOut() : putIn();
}

void RowsCommand::putIn()
{
    m_document->placeNodes(m_parent, m_row, m_nodes);
}

void RowsCommand::takeOut()
{
    m_document->takeNodes(m_parent, m_row, m_count, m_nodes);
}
