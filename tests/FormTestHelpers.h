#pragma once

#include "ScriptedDialogs.h"
#include "app/MApp.h"
#include "forms/MainForm.h"
#include "forms/PreviewReloader.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

// Stands in for the live preview and counts how often it was rebuilt.
class CountingPreview : public PreviewReloader {
public:
    int reloads = 0;
    void reload() override { ++reloads; }
};

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

// A main window with its own state, scripted answers and a counting preview.
struct WindowUnderTest {
    explicit WindowUnderTest(const QString& programFolder)
        : window(app, dialogs, ProgramFolder(programFolder)) {
        window.setPreviewReloader(&preview);
    }
    ~WindowUnderTest() {
        // Closing without an exit prompt: the test has checked what it wanted.
        app.DataChanged = false;
    }

    // An unexpected question or dialog fails the test that caused it.
    void verifyAllAnswered() const {
        QVERIFY2(dialogs.unexpected.isEmpty(), qPrintable(dialogs.unexpected.join(u'|')));
    }

    MApp app;
    ScriptedDialogs dialogs;
    CountingPreview preview;
    MainForm window;
};
