#pragma once

#include "project/QAEntry.h"

#include <QObject>

struct MApp;
class ProjectHistory;
class ProjectModel;
class QAbstractItemView;
class UserDialogs;

// The commands of the "Q.Aコマンド" menu that change the entry table: clear,
// add, edit, delete, sort, the clipboard's copy, cut and paste, and moving
// an entry. Each change goes through the project model, which announces
// it, as one step of the history named after the command; these keep the
// table's current entry where the user expects it.
class EntryCommands : public QObject {
    Q_OBJECT

public:
    EntryCommands(MApp& app, ProjectModel& model, ProjectHistory& history, QAbstractItemView& view,
                  UserDialogs& dialogs, QObject* parent = nullptr);

    void clearTable();
    void add();
    void edit();
    void remove();
    void sort();
    void copy();
    void cut();
    void paste();
    void moveUp();
    void moveDown();
    // The entry at `from` goes to `to` and stays current, as when a row is
    // dragged (1-based).
    void moveTo(qsizetype from, qsizetype to);

    // 1-based position of the current entry; 0 when the table is empty.
    qsizetype currentPosition() const;
    void setCurrentPosition(qsizetype position);

private:
    bool ask(const QString& question);
    bool runEntryDialog();
    // The entry the entry dialog handed back.
    QAEntry editedEntry() const;
    void appendAndShow(const QAEntry& entry);
    void removeAndShowNext(qsizetype position);
    void moveCurrentBy(qsizetype offset, const QString& caption);

    MApp& m_app;
    ProjectModel& m_model;
    ProjectHistory& m_history;
    QAbstractItemView& m_view;
    UserDialogs& m_dialogs;
};
