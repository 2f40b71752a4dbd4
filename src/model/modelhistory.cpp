// JsonTreeModel's history: the steps its changes are gathered in, and the
// current row each step brings back.

#include "model/jsontreemodel.h"

#include "model/jsonnode.h"

#include <QItemSelectionModel>
#include <QUndoStack>

// One step of the history: its changes, undone in reverse order, and the rows
// current on either side of it.
class JsonTreeModel::Step : public QUndoCommand
{
public:
    Step(JsonTreeModel *model, const QString &name)
        : QUndoCommand(name)
        , model(model)
        , before(model->currentCell())
    {
    }

    void undo() override
    {
        after = model->currentCell();
        QUndoCommand::undo();
        model->setCurrentCell(before);
    }

    void redo() override
    {
        // Its changes were made as they came; filing the step makes none.
        if (!filed) {
            filed = true;
            return;
        }
        QUndoCommand::redo();
        model->setCurrentCell(after);
    }

private:
    JsonTreeModel *model;
    const Cell before;
    Cell after;
    bool filed = false;
};

void JsonTreeModel::beginStep(const QString &name)
{
    if (m_stepDepth++ == 0)
        m_stepName = name;
}

void JsonTreeModel::endStep()
{
    Q_ASSERT(m_stepDepth > 0);
    if (--m_stepDepth > 0 || !m_openStep)
        return;
    Step *step = m_openStep;
    m_openStep = nullptr;
    m_undoStack->push(step);
}

QUndoCommand *JsonTreeModel::openStep()
{
    if (!m_openStep)
        m_openStep = new Step(this, m_stepName);
    return m_openStep;
}

void JsonTreeModel::setSelectionModel(QItemSelectionModel *selection)
{
    m_selection = selection;
}

JsonTreeModel::Cell JsonTreeModel::currentCell() const
{
    const QModelIndex current = m_selection ? m_selection->currentIndex() : QModelIndex();
    return {nodeForIndex(current), current.column()};
}

void JsonTreeModel::setCurrentCell(const Cell &cell)
{
    if (!m_selection)
        return;
    if (!cell.node) {
        m_selection->clear();
        return;
    }
    // The only selected row, as the window selects a row it finds.
    m_selection->setCurrentIndex(createIndex(cell.node->row(), cell.column, cell.node),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
