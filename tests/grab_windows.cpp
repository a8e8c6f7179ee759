// Renders the program's windows to PNG files, for looking at them without a
// desktop: grab_windows OUTPUT_FOLDER (run with QT_QPA_PLATFORM=offscreen).
#include "FormTestHelpers.h"
#include "forms/AboutForm.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/EntryCommands.h"
#include "forms/JapaneseTranslation.h"
#include "forms/SaveFileDialog.h"

#include <QDir>
#include <QMenu>
#include <QMessageBox>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Brindlewick"_s);
    JapaneseTranslation::install(application);
    const QDir output(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    auto save = [&output](QWidget& window, const QString& name) {
        window.show();
        QApplication::processEvents();
        window.grab().save(output.filePath(name + u".png"_s));
    };

    const ProgramFolder program(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data"));
    MApp app;
    ScriptedDialogs dialogs;
    dialogs.files << QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples/sample.bwk");
    MainForm window(app, dialogs, program);
    window.resize(900, 420);
    window.show();
    child<QAction>(window, "FileOpen_FileMenu").trigger();
    window.entryCommands().setCurrentPosition(3);
    save(window, u"main-window"_s);
    for (const char* name : {"FileMenu", "QACommandMenu"}) {
        auto& menu = child<QMenu>(window, name);
        menu.popup(window.mapToGlobal(QPoint(0, 0)));
        save(menu, QString::fromLatin1(name));
        menu.hide();
    }
    SaveFileDialog saveDialog(nullptr, u"B.W.Kファイル (*.bwk)"_s,
                              [](const QString& name) { return name; });
    saveDialog.setDirectory(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples"));
    save(saveDialog, u"save-dialog"_s);
    QMessageBox question(QMessageBox::NoIcon, u"B.W.K"_s,
                         u"まだ、保存されていない情報がありますが保存しますか？"_s,
                         QMessageBox::Yes | QMessageBox::No);
    save(question, u"message-box"_s);

    app.EditQuestion = app.project.entries.item(1).question;
    app.EditAnswer = app.project.entries.item(1).answer;
    app.EditEnabled = app.EditAccepted = true;
    DataProcForm entryDialog(app, dialogs);
    save(entryDialog, u"entry-dialog"_s);
    AboutForm about;
    save(about, u"about-box"_s);
    DocumentDataForm settings(window.projectModel(), dialogs, program);
    save(settings, u"settings-dialog"_s);
    DocumentCodeForm designs(window.projectModel(), dialogs, program);
    save(designs, u"design-dialog"_s);

    child<QAction>(window, "DocumentView_ProjectMenu").trigger();
    DocumentViewForm& view = window.documentView();
    view.resize(820, 900);
    QSignalSpy(&view, &DocumentViewForm::loadFinished).wait(20000);
    QTest::qWait(1500);
    view.grab().save(output.filePath(u"preview-window.png"_s));
    return 0;
}
