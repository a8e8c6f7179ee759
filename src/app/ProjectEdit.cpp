#include "app/ProjectEdit.h"

#include "app/ProjectModel.h"

ProjectEdit ProjectEdit::before(const ProjectModel& model, const ProjectChange& change) {
    ProjectEdit edit(change);
    // A new entry has nothing before it; the others are read where they are.
    if (change.kind != Kind::EntryInserted)
        edit.read(model, edit.m_before, edit.m_entryBefore);
    return edit;
}

bool ProjectEdit::recordAfter(const ProjectModel& model) {
    if (m_change.kind != Kind::EntryRemoved)
        read(model, m_after, m_entryAfter);
    switch (m_change.kind) {
    case Kind::EntryInserted:
    case Kind::EntryRemoved:
        return true;
    case Kind::EntryMoved:
        return m_change.position != m_change.destination;
    case Kind::EntryReplaced:
        return m_entryBefore != m_entryAfter;
    default:
        return m_before != m_after;
    }
}

void ProjectEdit::read(const ProjectModel& model, Project& into, QAEntry& entry) const {
    switch (m_change.kind) {
    case Kind::DocumentSet:
        into.document = model.document();
        break;
    case Kind::ProjectReplaced:
        into = model.project();
        break;
    case Kind::EntriesCleared:
    case Kind::EntriesSorted:
    case Kind::EntriesReplaced:
        into.entries = model.entries();
        break;
    case Kind::EntryInserted:
    case Kind::EntryRemoved:
    case Kind::EntryReplaced:
        entry = model.entries().item(m_change.position);
        break;
    case Kind::EntryMoved:
        break;
    }
}

void ProjectEdit::restore(ProjectModel& model, const Project& state) const {
    switch (m_change.kind) {
    case Kind::DocumentSet:
        model.setDocument(state.document);
        break;
    case Kind::ProjectReplaced:
        model.replaceProject(state);
        break;
    default:
        model.replaceEntries(state.entries);
        break;
    }
}

void ProjectEdit::undo(ProjectModel& model) const {
    const qsizetype position = m_change.position;
    switch (m_change.kind) {
    case Kind::EntryInserted:
        return model.removeEntry(position);
    case Kind::EntryRemoved:
        return model.insertEntry(position, m_entryBefore);
    case Kind::EntryReplaced:
        return model.replaceEntry(position, m_entryBefore);
    case Kind::EntryMoved:
        return model.moveEntry(m_change.destination, position);
    default:
        return restore(model, m_before);
    }
}

void ProjectEdit::redo(ProjectModel& model) const {
    const qsizetype position = m_change.position;
    switch (m_change.kind) {
    case Kind::EntryInserted:
        return model.insertEntry(position, m_entryAfter);
    case Kind::EntryRemoved:
        return model.removeEntry(position);
    case Kind::EntryReplaced:
        return model.replaceEntry(position, m_entryAfter);
    case Kind::EntryMoved:
        return model.moveEntry(position, m_change.destination);
    default:
        return restore(model, m_after);
    }
}

bool ProjectEdit::concernsOneEntry() const {
    switch (m_change.kind) {
    case Kind::EntryInserted:
    case Kind::EntryRemoved:
    case Kind::EntryReplaced:
    case Kind::EntryMoved:
        return true;
    default:
        return false;
    }
}

qsizetype ProjectEdit::positionAfterUndo() const {
    return concernsOneEntry() ? m_change.position : 0;
}

qsizetype ProjectEdit::positionAfterRedo() const {
    if (!concernsOneEntry())
        return 0;
    return m_change.kind == Kind::EntryMoved ? m_change.destination : m_change.position;
}
