#pragma once

#include "document/jsondocument.h"

#include <QUndoCommand>

// One entry of the undo stack: the changes of one user command, undone in
// reverse order, and the cells current on either side of them.
class GroupCommand : public QUndoCommand
{
public:
    GroupCommand(JsonDocument *document, const QString &name, const JsonDocument::Cell &before);

    void undo() override;
    void redo() override;

private:
    JsonDocument *m_document;
    const JsonDocument::Cell m_before;
    JsonDocument::Cell m_after;
    bool m_pushed = false;
};
