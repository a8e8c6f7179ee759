#include "app/ProjectModel.h"

#include <utility>

ProjectModel::ProjectModel(Project project, QObject* parent)
    : QObject(parent)
    , m_project(std::move(project)) {}

template <typename Apply>
void ProjectModel::apply(const ProjectChange& change, Apply&& applyToProject) {
    emit aboutToChange(change);
    applyToProject();
    emit changed(change);
}

void ProjectModel::setDocument(const DocumentInfo& document, Marking marking) {
    apply({ProjectChange::Kind::DocumentSet, 0, 0, marking},
          [&] { m_project.document = document; });
}

void ProjectModel::replaceProject(Project project, Marking marking) {
    apply({ProjectChange::Kind::ProjectReplaced, 0, 0, marking},
          [&] { m_project = std::move(project); });
}

void ProjectModel::clearEntries() {
    apply({ProjectChange::Kind::EntriesCleared}, [this] { m_project.entries.clear(); });
}

void ProjectModel::sortByQuestion() {
    apply({ProjectChange::Kind::EntriesSorted}, [this] { m_project.entries.sortByQuestion(); });
}

void ProjectModel::replaceEntries(QAEntryTable entries) {
    apply({ProjectChange::Kind::EntriesReplaced}, [&] { m_project.entries = std::move(entries); });
}

void ProjectModel::insertEntry(qsizetype position, const QAEntry& entry) {
    apply({ProjectChange::Kind::EntryInserted, position},
          [&] { m_project.entries.insert(position, entry); });
}

void ProjectModel::removeEntry(qsizetype position) {
    apply({ProjectChange::Kind::EntryRemoved, position},
          [&] { m_project.entries.remove(position); });
}

void ProjectModel::replaceEntry(qsizetype position, const QAEntry& entry) {
    apply({ProjectChange::Kind::EntryReplaced, position},
          [&] { m_project.entries.item(position) = entry; });
}

void ProjectModel::moveEntry(qsizetype from, qsizetype to) {
    apply({ProjectChange::Kind::EntryMoved, from, to}, [&] { m_project.entries.move(from, to); });
}
