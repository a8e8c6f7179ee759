#pragma once

#include <QString>

class ProjectHistory;
class ProjectModel;
class TableCursor;
class UserDialogs;

// "CSVから読み込み..." and "CSVに書き出し...": the entries to and from a
// spreadsheet's CSV file. The document information stays as it is. A file
// read is added after the entries or replaces them, as the user chooses,
// in one step of the history; a file that cannot be read changes nothing.
class CsvCommands {
public:
    static QString fileFilter() {
        return QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)");
    }
    // UTF-8 first: spreadsheets open it with every character; code page 932
    // for those that read nothing else.
    static QString exportFilter() {
        return QStringLiteral("CSVファイル UTF-8 (*.csv);;CSVファイル Shift_JIS (*.csv)");
    }
    // The path a chosen name is written at: with ".csv" appended when the
    // name has no extension of that kind.
    static QString withExtension(const QString& path);

    CsvCommands(ProjectModel& model, ProjectHistory& history, TableCursor& table,
                UserDialogs& dialogs);

    // Each returns true when it changed the entries or wrote the file.
    bool importEntries();
    bool exportEntries();

private:
    enum class Placement { Append, Replace, Cancel };
    Placement askPlacement();

    ProjectModel& m_model;
    ProjectHistory& m_history;
    TableCursor& m_table;
    UserDialogs& m_dialogs;
};
