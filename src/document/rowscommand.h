#pragma once

#include "document/jsondocument.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

// Rows put into a container, or taken out of it. Rows out of the document are
// kept here, and destroyed with the command when the undo stack drops it.
class RowsCommand : public QUndoCommand
{
public:
    // Puts the `count` nodes `inserted` in at `row`; with no nodes, takes
    // `count` rows out there.
    RowsCommand(JsonDocument *document, JsonNode *parent, int row, int count,
                std::vector<std::unique_ptr<JsonNode>> inserted, QUndoCommand *group);
    ~RowsCommand() override;

    void undo() override;
    void redo() override;

private:
    void putIn();
    void takeOut();

    JsonDocument *m_document;
    JsonNode *m_parent;
    const int m_row;
    const int m_count;
    const bool m_inserting;
    std::vector<std::unique_ptr<JsonNode>> m_nodes;
};
