#pragma once

#include "app/ProjectEdit.h"

#include <QList>
#include <QUndoCommand>

class ProjectModel;

// One step of the undo history: the changes one command made, undone in
// reverse order and made again in order through the model. The history
// keeps the changes from being recorded a second time while it moves.
class ProjectEditCommand : public QUndoCommand {
public:
    ProjectEditCommand(ProjectModel& model, const QString& caption, QList<ProjectEdit> edits,
                       bool marks);

    // Whether the step counts as a change to save, either way.
    bool marks() const { return m_marks; }

    void undo() override;
    void redo() override;

    // The entry to make current once the step is undone or made again; see
    // ProjectEdit.
    qsizetype positionAfterUndo() const { return m_edits.first().positionAfterUndo(); }
    qsizetype positionAfterRedo() const { return m_edits.last().positionAfterRedo(); }

private:
    ProjectModel& m_model;
    QList<ProjectEdit> m_edits;
    bool m_marks;
    // The changes were made before the step was pushed; pushing it does not
    // make them again.
    bool m_made = true;
};
