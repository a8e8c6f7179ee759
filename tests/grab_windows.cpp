// Renders the program's windows to PNG files, for looking at them without a
// desktop: grab_windows OUTPUT_FOLDER (run with QT_QPA_PLATFORM=offscreen).
#include "ScriptedDialogs.h"
#include "app/MApp.h"
#include "forms/AboutForm.h"
#include "forms/DataProcForm.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/EntryCommands.h"
#include "forms/MainForm.h"
#include "app/FileCommands.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

int main(int argc, char* argv[]) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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

    const ProgramFolder program(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data"));
    DocumentDataForm settings(app, dialogs, program);
    settings.show();
    QApplication::processEvents();
    settings.grab().save(output.filePath(QStringLiteral("settings-dialog.png")));

    DocumentCodeForm designs(app, dialogs, program);
    designs.show();
    QApplication::processEvents();
    designs.grab().save(output.filePath(QStringLiteral("design-dialog.png")));

    window.DocumentView_ProjectMenu->trigger();
    DocumentViewForm& view = window.documentView();
    view.resize(820, 900);
    QSignalSpy loaded(&view, &DocumentViewForm::loadFinished);
    loaded.wait(20000);
    QTest::qWait(1500);
    view.grab().save(output.filePath(QStringLiteral("preview-window.png")));
    return 0;
}
