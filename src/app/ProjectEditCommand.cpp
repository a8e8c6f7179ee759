#include "app/ProjectEditCommand.h"

#include "app/ProjectHistory.h"

#include <ranges>

ProjectEditCommand::ProjectEditCommand(ProjectHistory& history, const QString& caption,
                                       QList<ProjectEdit> edits, bool marks)
    : QUndoCommand(caption)
    , m_history(history)
    , m_edits(std::move(edits))
    , m_marks(marks) {}

void ProjectEditCommand::undo() {
    m_history.replay([this](ProjectModel& model) {
        for (const ProjectEdit& edit : std::views::reverse(m_edits))
            edit.undo(model);
        return m_edits.first().positionAfterUndo();
    });
    m_made = false;
}

void ProjectEditCommand::redo() {
    if (m_made)
        return;
    m_history.replay([this](ProjectModel& model) {
        for (const ProjectEdit& edit : std::as_const(m_edits))
            edit.redo(model);
        return m_edits.last().positionAfterRedo();
    });
    m_made = true;
}
