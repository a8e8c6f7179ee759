#include "app/ProjectEditCommand.h"

#include <algorithm>

ProjectEditCommand::ProjectEditCommand(ProjectModel& model, const QString& caption,
                                       QList<ProjectEdit> edits, bool marks)
    : QUndoCommand(caption)
    , m_model(model)
    , m_edits(std::move(edits))
    , m_marks(marks) {}

void ProjectEditCommand::undo() {
    std::for_each(m_edits.crbegin(), m_edits.crend(),
                  [this](const ProjectEdit& edit) { edit.undo(m_model); });
    m_made = false;
}

void ProjectEditCommand::redo() {
    if (m_made)
        return;
    for (const ProjectEdit& edit : std::as_const(m_edits))
        edit.redo(m_model);
    m_made = true;
}
