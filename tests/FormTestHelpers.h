#pragma once

#include "ScriptedDialogs.h"
#include "app/MApp.h"
#include "app/ProjectModel.h"
#include "forms/DataProcForm.h"
#include "forms/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
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

// Acts in the next modal dialog of type Dialog as soon as it shows; the
// command that opens it is run right after this call.
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "the dialog did not open");
        act(*dialog);
    });
}

// The tests' own settings, emptied: never the user's.
inline void startWithEmptySettings() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
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
// the open preview was to be rebuilt, without starting a browser engine.
struct WindowUnderTest {
    explicit WindowUnderTest(const QString& programFolder)
        : window(app, dialogs, ProgramFolder(programFolder)) {}
    ~WindowUnderTest() {
        // Closing without an exit prompt: the test has checked what it wanted.
        app.DataChanged = false;
    }

    void trigger(const char* action) { child<QAction>(window, action).trigger(); }
    bool enabled(const char* action) { return child<QAction>(window, action).isEnabled(); }
    // The caption as the desktop shows it, the unsaved mark put in.
    QString shownTitle() const { return window.windowHandle()->title(); }
    ProjectModel& project() { return window.projectModel(); }
    // For setting up a test: the table does not show the document.
    DocumentInfo& document() { return app.project.document; }
    qsizetype previewReloads() const { return previewOutdated.count(); }

    // An unexpected or unused answer fails the test that scripted it.
    void verifyAllAnswered() const {
        QVERIFY2(dialogs.allAnswered(), qPrintable(dialogs.unexpected.join(u'|')));
    }

    MApp app;
    ScriptedDialogs dialogs;
    MainForm window;
    QSignalSpy previewOutdated{&window, &MainForm::previewOutdated};
};
