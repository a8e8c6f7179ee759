#pragma once

#include "project/EntryReplacement.h"

#include <QString>

class ProjectHistory;
class ProjectModel;
class TableCursor;
class UserDialogs;

// "すべて置換" of the replace dialog: every match in every entry changed as
// one step of the history ("置換"), and what was done reported. The current
// entry stays current.
class ReplaceCommand {
public:
    ReplaceCommand(ProjectModel& model, ProjectHistory& history, TableCursor& table,
                   UserDialogs& dialogs);

    // Changes nothing, and leaves no step, when nothing matches or when the
    // project file could not hold the result; says so either way.
    void replaceAll(const EntryReplacement::Request& request);

    static QString doneMessage(qsizetype entries, qsizetype places) {
        return QStringLiteral("%1件の項目で %2 か所を置換しました。").arg(entries).arg(places);
    }
    static QString notFoundMessage(const QString& find) {
        return QStringLiteral("「%1」は見つかりませんでした。").arg(find);
    }

private:
    ProjectModel& m_model;
    ProjectHistory& m_history;
    TableCursor& m_table;
    UserDialogs& m_dialogs;
};
