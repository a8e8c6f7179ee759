#pragma once

#include "app/ProjectChange.h"
#include "project/Project.h"

class ProjectModel;

// One change of the project as it was announced, with what it replaced and
// what it left, so that it can be reversed and made again through the
// model. Only the part of the project the change concerns is kept: one
// entry, the document, or the table (whose entries the table shares).
class ProjectEdit {
public:
    // What the change is about to replace, read when it is announced.
    static ProjectEdit before(const ProjectModel& model, const ProjectChange& change);

    // Reads what the change left. Returns false when the project is just as
    // it was, as after an edit that was cancelled: there is nothing to undo.
    bool recordAfter(const ProjectModel& model);

    void undo(ProjectModel& model) const;
    void redo(ProjectModel& model) const;

    // The entry to make current once the change is undone or made again;
    // 0 when the change concerns no single entry. Where an entry was taken
    // out it may be one past the last: the caller keeps it within the table.
    qsizetype positionAfterUndo() const;
    qsizetype positionAfterRedo() const;

private:
    using Kind = ProjectChange::Kind;

    explicit ProjectEdit(const ProjectChange& change)
        : m_change(change) {}
    // Reads into `into` the part of the project the change concerns.
    void read(const ProjectModel& model, Project& into, QAEntry& entry) const;
    // Sets the part of the project this change concerns as in `state`; the
    // entry-wise changes are reversed by their counterparts instead.
    void restore(ProjectModel& model, const Project& state) const;
    bool concernsOneEntry() const;

    ProjectChange m_change;
    Project m_before;
    Project m_after;
    QAEntry m_entryBefore;
    QAEntry m_entryAfter;
};
