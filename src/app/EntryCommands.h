#pragma once

#include "project/QAEntry.h"

#include <QObject>

class EntryEditor;
class PreviewUpdates;
class ProjectHistory;
class ProjectModel;
class TableCursor;
class UserDialogs;

// The commands of the "Q.Aコマンド" menu: clear, add, edit, delete, sort, the
// clipboard's copy, cut and paste, moving an entry, and undo and redo. Each
// change goes through the project model, which announces it, as one step of
// the history named after the command; these keep the table's current entry
// where the user expects it.
class EntryCommands : public QObject {
    Q_OBJECT

public:
    EntryCommands(ProjectModel& model, ProjectHistory& history, PreviewUpdates& preview,
                  TableCursor& table, EntryEditor& editor, UserDialogs& dialogs,
                  QObject* parent = nullptr);

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
    // A step of several changes rebuilds the preview once.
    void undo();
    void redo();

    // 1-based position of the current entry; 0 when the table is empty.
    qsizetype currentPosition() const;
    void setCurrentPosition(qsizetype position);

    // When the commands can do anything: those of the current entry need
    // one, the moves room to move it, paste an entry on the clipboard.
    bool hasEntries() const;
    bool canMoveUp() const;
    bool canMoveDown() const;
    static bool canPaste();

private:
    bool ask(const QString& question);
    void appendAndShow(const QAEntry& entry);
    void removeAndShowNext(qsizetype position);
    void moveCurrentBy(qsizetype offset, const QString& caption);
    void showReplayed(qsizetype position);

    ProjectModel& m_model;
    ProjectHistory& m_history;
    PreviewUpdates& m_preview;
    TableCursor& m_table;
    EntryEditor& m_editor;
    UserDialogs& m_dialogs;
};
