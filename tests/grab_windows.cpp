// Renders the program's windows to PNG files, for looking at them without a
// desktop: grab_windows OUTPUT_FOLDER (run with QT_QPA_PLATFORM=offscreen).
#include "ScriptedDialogs.h"
#include "app/MApp.h"
#include "forms/AboutForm.h"
#include "forms/DataProcForm.h"
#include "forms/EntryCommands.h"
#include "forms/MainForm.h"
#include "project/FileCommands.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindlewick"));
    const QDir output(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    MApp app;
    ScriptedDialogs dialogs;
    dialogs.file(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples/sample.bwk"));
    MainForm window(app, dialogs, ProgramFolder(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data")));
    window.resize(900, 420);
    window.show();
    window.FileOpen_FileMenu->trigger();
    window.entryCommands().setCurrentPosition(3);
    QApplication::processEvents();
    window.grab().save(output.filePath(QStringLiteral("main-window.png")));

    app.EditQuestion = app.entries.item(1).question;
    app.EditAnswer = app.entries.item(1).answer;
    app.EditEnabled = true;
    app.EditAccepted = true;
    DataProcForm entryDialog(app, dialogs);
    entryDialog.show();
    QApplication::processEvents();
    entryDialog.grab().save(output.filePath(QStringLiteral("entry-dialog.png")));

    AboutForm about;
    about.show();
    QApplication::processEvents();
    about.grab().save(output.filePath(QStringLiteral("about-box.png")));
    return 0;
}
