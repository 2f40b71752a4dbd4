#include "document/groupcommand.h"

GroupCommand::GroupCommand(JsonDocument *document, const QString &name,
                           const JsonDocument::Cell &before)
    : QUndoCommand(name)
    , m_document(document)
    , m_before(before)
{
}

// Undo makes current the cell that was current before the changes; redo the
// one that was current when they were undone. A cell editor committed by the
// move finds the document refusing changes, so the stack never changes while
// it is being walked.
void GroupCommand::undo()
{
    m_after = m_document->m_currentCell;
    m_document->m_replaying = true;
    QUndoCommand::undo();
    m_document->restoreCurrentCell(m_before);
    m_document->m_replaying = false;
}

void GroupCommand::redo()
{
    // Its changes were made as they came; pushing the command makes none.
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    m_document->m_replaying = true;
    QUndoCommand::redo();
    m_document->restoreCurrentCell(m_after);
    m_document->m_replaying = false;
}
