#pragma once

#include "app/ProjectEdit.h"

#include <QList>
#include <QUndoCommand>

class ProjectHistory;

// One step of the undo history: the changes one command made, undone in
// reverse order and made again in order through the history, which keeps
// them from being recorded a second time.
class ProjectEditCommand : public QUndoCommand {
public:
    ProjectEditCommand(ProjectHistory& history, const QString& caption, QList<ProjectEdit> edits,
                       bool marks);

    // Whether the step counts as a change to save, either way.
    bool marks() const { return m_marks; }

    void undo() override;
    void redo() override;

private:
    ProjectHistory& m_history;
    QList<ProjectEdit> m_edits;
    bool m_marks;
    // The changes were made before the step was pushed; pushing it does not
    // make them again.
    bool m_made = true;
};
