#pragma once

#include "app/MApp.h"
#include "app/UserDialogs.h"
#include "design/ProgramFolder.h"
#include "text/Result.h"

#include <QString>
#include <optional>

class HtmlExporter;

// "HTML出力" into a new folder and "前回のフォルダへHTML出力" into the folder
// the last export of the project wrote, each reported to the user. The
// folder is remembered for the project's file, so that it is known again
// the next time the project is opened.
class ExportCommands {
public:
    ExportCommands(MApp& app, ProgramFolder program, UserDialogs& dialogs);

    bool exportPage();
    bool exportAgain();
    // Whether the last export's folder still holds the page written there.
    bool canExportAgain() const;

private:
    // The page text, or nothing after reporting why there is none.
    std::optional<QString> render(const HtmlExporter& exporter);
    // Reports the export and remembers its folder when the page was written.
    bool finish(const Result<QString>& written);

    MApp& m_app;
    ProgramFolder m_program;
    UserDialogs& m_dialogs;
};
