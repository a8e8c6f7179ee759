#pragma once

#include "app/UserDialogs.h"
#include "design/ProgramFolder.h"
#include "text/Result.h"

#include <QString>
#include <optional>

class HtmlExporter;
class ProjectModel;
struct ProjectFile;

// "HTML出力" into a new folder and "前回のフォルダへHTML出力" into the folder
// the last export of the project wrote, each reported to the user. It alone
// keeps that folder. The folder is remembered for the project's file, so
// that it is known again the next time the project is opened.
class ExportCommands {
public:
    ExportCommands(const ProjectModel& model, const ProjectFile& file, ProgramFolder program,
                   UserDialogs& dialogs);

    bool exportPage();
    bool exportAgain();
    // Whether the last export's folder still holds the page written there.
    bool canExportAgain() const;
    // The folder the last export of this project wrote; empty when none is
    // known.
    const QString& lastFolder() const { return m_lastFolder; }

    // The project now belongs to the file at path, or to none when it is
    // empty: its last export is the one remembered for that file.
    void followFile(const QString& path);
    // The project was saved as path too: the copy's page was exported where
    // the original's was.
    void followCopy(const QString& path) const;

private:
    // The page text, or nothing after reporting why there is none.
    std::optional<QString> render(const HtmlExporter& exporter);
    // Reports the export and remembers its folder when the page was written.
    bool finish(const Result<QString>& written);

    const ProjectModel& m_model;
    const ProjectFile& m_file;
    ProgramFolder m_program;
    UserDialogs& m_dialogs;
    QString m_lastFolder;
};
