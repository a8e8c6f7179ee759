#pragma once

#include <QObject>
#include <QString>

class QProcess;

// Opens a file in the desktop's text editor (the default application for
// plain text in the desktop's MIME settings) without waiting for it. Where no
// editor can be found or started, emits noEditor() so that the caller can
// show the file itself.
class TextEditorLauncher : public QObject {
    Q_OBJECT

public:
    explicit TextEditorLauncher(QObject* parent = nullptr);

    void open(const QString& path);

    // The command line of a desktop entry's Exec key for one file: field
    // codes for files and URLs become the path, other field codes go.
    static QStringList commandFor(const QString& exec, const QString& path);
    // The Exec key of a desktop entry file's [Desktop Entry] group.
    static QString execOfDesktopEntry(const QString& desktopFile);

signals:
    void noEditor(const QString& path);

private:
    void launchDefaultFor(const QString& path, const QString& desktopId);
};
