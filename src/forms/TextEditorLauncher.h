#pragma once

#include <QObject>
#include <QString>

// Opens a file in the desktop's text editor: the default application for
// plain text, started the way the desktop starts it (in a terminal, over
// D-Bus, with the desktop's own settings). The search and the start run in a
// thread of their own, so the window goes on meanwhile. Where no editor can be
// found or started, emits noEditor() so that the caller can show the file
// itself.
class TextEditorLauncher : public QObject {
    Q_OBJECT

public:
    explicit TextEditorLauncher(QObject* parent = nullptr);

    void open(const QString& path);

signals:
    // The desktop has taken the file to its editor.
    void opened(const QString& path);
    void noEditor(const QString& path);
};
