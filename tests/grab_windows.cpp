// Renders the program's windows to PNG files, for looking at them without a
// desktop: grab_windows OUTPUT_FOLDER (run with QT_QPA_PLATFORM=offscreen).
#include "FormTestHelpers.h"
#include "app/FileCommands.h"
#include "forms/AboutForm.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/JapaneseTranslation.h"
#include "forms/PreviewEngine.h"
#include "forms/ReplaceForm.h"
#include "forms/SaveFileDialog.h"

#include <QDir>
#include <QMenu>
#include <QMessageBox>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QStandardPaths::setTestModeEnabled(true);
    PreviewEngine::prepare();
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Brindlewick"_s);
    JapaneseTranslation::install(application);
    const QDir output(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    auto save = [&output](QWidget& window, const QString& name) {
        window.show();
        QApplication::processEvents();
        window.grab().save(output.filePath(name + u".png"_s));
    };

    WindowUnderTest ui(builtProgramFolder());
    const ProgramFolder program(builtProgramFolder());
    ui.dialogs.files << QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples/sample.bwk");
    ui.window.resize(900, 420);
    ui.window.show();
    ui.trigger("FileOpen_FileMenu");
    ui.window.entryCommands().setCurrentPosition(3);
    save(ui.window, u"main-window"_s);
    // The table searched, its rows and the count following the query.
    child<QLineEdit>(ui.window, "FindEdit").setText(u"ページ"_s);
    save(ui.window, u"main-window-filtered"_s);
    child<QLineEdit>(ui.window, "FindEdit").clear();
    for (const char* name : {"FileMenu", "QACommandMenu"}) {
        auto& menu = child<QMenu>(ui.window, name);
        menu.popup(ui.window.mapToGlobal(QPoint(0, 0)));
        save(menu, QString::fromLatin1(name));
        menu.hide();
    }
    SaveFileDialog saveDialog(nullptr, FileCommands::fileFilter(),
                              [](const QString& name) { return name; });
    saveDialog.setDirectory(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples"));
    save(saveDialog, u"save-dialog"_s);
    QMessageBox question(QMessageBox::NoIcon, u"B.W.K"_s,
                         u"まだ、保存されていない情報がありますが保存しますか？"_s,
                         QMessageBox::Yes | QMessageBox::No);
    save(question, u"message-box"_s);

    // The entry dialog as the edit command opens it, over the current entry.
    whenOpen<DataProcForm>([&save](DataProcForm& entryDialog) {
        save(entryDialog, u"entry-dialog"_s);
        entryDialog.reject();
    });
    ui.trigger("edit_QACommand");
    // The replace dialog as Ctrl+H opens it, filled in.
    whenOpen<ReplaceForm>([&save](ReplaceForm& replaceDialog) {
        for (QLineEdit* field : replaceDialog.findChildren<QLineEdit*>())
            field->setText(field->objectName() == u"ReplaceTextEdit"_s ? u"注文"_s : u"ご注文"_s);
        save(replaceDialog, u"replace-dialog"_s);
        replaceDialog.reject();
    });
    ui.trigger("replace_QACommand");
    AboutForm about;
    save(about, u"about-box"_s);
    DocumentDataForm settings(ui.project(), ui.dialogs, program);
    save(settings, u"settings-dialog"_s);
    DocumentCodeForm designs(ui.project(), ui.dialogs, program);
    save(designs, u"design-dialog"_s);

    ui.trigger("DocumentView_ProjectMenu");
    DocumentViewForm& view = ui.window.documentView();
    view.resize(820, 900);
    QSignalSpy(&view, &DocumentViewForm::loadFinished).wait(20000);
    QTest::qWait(1500);
    view.grab().save(output.filePath(u"preview-window.png"_s));
    return 0;
}
