#pragma once

#include "app/ProjectChange.h"
#include "project/Project.h"

#include <QObject>

// The project of the running program, and the one way it changes. The model
// holds the project itself; everything else reads it here. Each call is one
// change that another call can reverse; the model applies it and announces
// it, aboutToChange() before and changed() after, once per call, so that
// the entry table, the unsaved-changes mark and the preview all follow it.
class ProjectModel : public QObject {
    Q_OBJECT

public:
    using Marking = ProjectChange::Marking;

    // A fresh start holds no entries and the document's start values.
    explicit ProjectModel(Project project = {}, QObject* parent = nullptr);

    const Project& project() const { return m_project; }
    const DocumentInfo& document() const { return m_project.document; }
    const QAEntryTable& entries() const { return m_project.entries; }

    void setDocument(const DocumentInfo& document, Marking marking = Marking::Modified);
    void replaceProject(Project project, Marking marking = Marking::Modified);
    void clearEntries();
    // See QAEntryTable::sortByQuestion.
    void sortByQuestion();
    // Every entry at once; undoing a sort or a clear puts the table back so.
    void replaceEntries(QAEntryTable entries);

    // Positions are 1-based. An entry inserted at count() + 1 is appended.
    void insertEntry(qsizetype position, const QAEntry& entry);
    void appendEntry(const QAEntry& entry) { insertEntry(entries().count() + 1, entry); }
    void removeEntry(qsizetype position);
    // Announced even when the entry stays the same: the edit command counts
    // a cancelled edit as a change.
    void replaceEntry(qsizetype position, const QAEntry& entry);
    // The entry at `from` ends up at `to`; the ones between shift by one.
    void moveEntry(qsizetype from, qsizetype to);

signals:
    void aboutToChange(const ProjectChange& change);
    void changed(const ProjectChange& change);

private:
    template <typename Apply>
    void apply(const ProjectChange& change, Apply&& applyToProject);

    Project m_project;
};
