#pragma once

#include "ScriptedDialogs.h"
#include "TestDesigns.h"
#include "app/EntryCommands.h"
#include "app/FileCommands.h"
#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "forms/DataProcForm.h"
#include "forms/MainForm.h"
#include "text/Cp932Codec.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>
#include <functional>

// The child of this type and object name. A missing one ends the run: every
// check after it would fail for the same reason.
template <typename Child>
Child& child(const QObject& parent, const char* name) {
    auto* found = parent.findChild<Child*>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no %s named %s", parent.metaObject()->className(),
               Child::staticMetaObject.className(), name);
    return *found;
}

inline void click(const QWidget& dialog, const char* button) {
    child<QPushButton>(dialog, button).click();
}

// The acts of whenOpen() still waiting for their dialog.
inline int& dialogActsWaiting() {
    static int waiting = 0;
    return waiting;
}

// Acts in the next modal dialog of type Dialog as soon as it shows; the
// command that opens it is run right after this call.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> act) {
    ++dialogActsWaiting();
    QTimer::singleShot(0, [act] {
        --dialogActsWaiting();
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "the dialog did not open");
        act(*dialog);
    });
}

// The build folder as the program folder: the shipped designs, each with its
// copy of search.js, and the help.
inline QString builtProgramFolder() {
    return QStringLiteral(BRINDLEWICK_BUILD_DIR);
}

// The tests' own settings, emptied: never the user's.
inline void startWithEmptySettings() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
}

// An enabled entry whose answer is made from its question.
inline QAEntry entry(const QString& question, int icon = QAEntry::kEnabledIcon) {
    return {question, question + QStringLiteral(" の答え"), icon};
}

// A written page as text; empty when there is none.
inline QString readPage(const QString& path) {
    return Cp932Codec::decode(readFileBytes(path));
}

// What the user does in the next entry dialog.
struct EntryInput {
    QString question;
    QString answer;
    bool enabled = true;
    enum { Ok, Cancel, Close } button = Ok;
};

inline void fillEntryDialog(const DataProcForm& dialog, const QString& question,
                            const QString& answer) {
    child<QLineEdit>(dialog, "QuestionEdit").setText(question);
    child<QPlainTextEdit>(dialog, "AnswerEdit").setPlainText(answer);
}

inline void type(const EntryInput& input) {
    whenOpen<DataProcForm>([input](DataProcForm& dialog) {
        fillEntryDialog(dialog, input.question, input.answer);
        child<QCheckBox>(dialog, "checks_check").setChecked(input.enabled);
        if (input.button == EntryInput::Close)
            dialog.close();
        else
            click(dialog, input.button == EntryInput::Ok ? "okButton" : "cancelButton");
        // Still open after OK (a question answered No): closed so the test
        // goes on to check what it saw.
        if (dialog.isVisible())
            click(dialog, "cancelButton");
    });
}

// A main window with its own state and scripted answers. It counts how often
// the preview was told that the project changed, without starting a browser
// engine.
struct WindowUnderTest {
    explicit WindowUnderTest(const QString& programFolder, const MainForm::StateFolders& folders =
                                                               MainForm::StateFolders::ofUser())
        : window(dialogs, ProgramFolder(programFolder), folders) {}
    ~WindowUnderTest() {
        // Closing without an exit prompt: the test has checked what it wanted.
        setDataChanged(false);
    }

    // The main window of the shipped program folder, shown. Opened again, it
    // is a window of the next session, with the settings the last one left.
    static std::unique_ptr<WindowUnderTest> open() {
        auto ui = std::make_unique<WindowUnderTest>(builtProgramFolder());
        ui->show();
        return ui;
    }
    // The first window of a user without settings: each test starts there.
    static std::unique_ptr<WindowUnderTest> openFresh() {
        startWithEmptySettings();
        return open();
    }
    // Ends a test: every scripted answer must have been asked for.
    static void closeAnswered(std::unique_ptr<WindowUnderTest>& ui) {
        ui->verifyAllAnswered();
        ui.reset();
    }
    void show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    // For keys typed into the table.
    void activate() {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    void trigger(const char* action) { child<QAction>(window, action).trigger(); }
    bool enabled(const char* action) { return child<QAction>(window, action).isEnabled(); }
    QTreeView& table() { return child<QTreeView>(window, "QAListView"); }
    qsizetype current() { return window.entryCommands().currentPosition(); }
    // The caption as the desktop shows it, the unsaved mark put in.
    QString shownTitle() const { return window.windowHandle()->title(); }
    ProjectModel& project() { return window.projectModel(); }
    const DocumentInfo& document() { return project().document(); }
    const QString& filePath() { return window.fileCommands().file().path; }
    qsizetype previewReloads() const { return previewOutdated.count(); }

    // The questions in table order, the current one in brackets: "b[a]c".
    QString rows() {
        QString shown;
        for (qsizetype row = 1; row <= project().entries().count(); ++row) {
            const QString& question = project().entries().item(row).question;
            shown += row == current() ? u'[' + question + u']' : question;
        }
        return shown;
    }

    // Entries set up as if just read, one letter a question, the one in
    // brackets current: not a change, and where the history begins.
    void setRows(const QString& letters) {
        Project project = this->project().project();
        qsizetype position = 1;
        for (QChar letter : letters) {
            if (letter == u'[')
                position = project.entries.count() + 1;
            else if (letter != u']')
                project.entries.append(entry(letter));
        }
        this->project().replaceProject(project, ProjectModel::Marking::Unmodified);
        window.entryCommands().setCurrentPosition(position);
    }

    bool dataChanged() { return window.projectHistory().DataChanged(); }
    // As after a save, or after a change that left nothing to undo.
    void setDataChanged(bool changed) {
        if (changed)
            window.projectHistory().markUnsaved();
        else
            window.projectHistory().setClean();
    }

    // The undo and redo items that can be chosen, as the menu shows them.
    QStringList historyItems() {
        QStringList items;
        for (const char* name : {"undo_QACommand", "redo_QACommand"}) {
            if (enabled(name))
                items << child<QAction>(window, name).text();
        }
        return items;
    }

    // An unexpected or unused answer fails the test that scripted it.
    // A dialog waited for that never opened fails here, in the test that
    // waited, not in whichever test runs next.
    void verifyAllAnswered() const {
        QCoreApplication::processEvents();
        QVERIFY2(dialogActsWaiting() == 0, "a dialog that was waited for did not open");
        QVERIFY2(dialogs.allAnswered(), qPrintable(dialogs.unexpected.join(u'|')));
    }

    ScriptedDialogs dialogs;
    MainForm window;
    QSignalSpy previewOutdated{&window, &MainForm::previewOutdated};
};
