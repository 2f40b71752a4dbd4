#pragma once

#include "document/jsondocument.h"

#include <QUndoCommand>

#include <memory>

// A node's key, value and type, and with them its children or not, traded
// with those of a detached node: the same trade makes the change and undoes
// it.
class SwapCommand : public QUndoCommand
{
public:
    SwapCommand(JsonDocument *document, JsonNode *node, std::unique_ptr<JsonNode> other,
                JsonDocument::Fields fields, bool withChildren, QUndoCommand *group);
    ~SwapCommand() override;

    void undo() override;
    void redo() override;

private:
    JsonDocument *m_document;
    JsonNode *m_node;
    const std::unique_ptr<JsonNode> m_other;
    const JsonDocument::Fields m_fields;
    const bool m_withChildren;
};
