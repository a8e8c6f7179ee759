#include "forms/TextEditorLauncher.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

TextEditorLauncher::TextEditorLauncher(QObject* parent)
    : QObject(parent) {}

void TextEditorLauncher::open(const QString& path) {
    // The query runs on its own; the window goes on meanwhile.
    auto* query = new QProcess(this);
    connect(query, &QProcess::finished, this, [this, query, path](int exitCode) {
        const QString desktopId = QString::fromLocal8Bit(query->readAllStandardOutput()).trimmed();
        query->deleteLater();
        if (exitCode != 0 || desktopId.isEmpty())
            emit noEditor(path);
        else
            launchDefaultFor(path, desktopId);
    });
    connect(query, &QProcess::errorOccurred, this,
            [this, query, path](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                query->deleteLater();
                emit noEditor(path);
            });
    query->start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                              QStringLiteral("text/plain")});
}

void TextEditorLauncher::launchDefaultFor(const QString& path, const QString& desktopId) {
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    const QStringList command = commandFor(execOfDesktopEntry(entry), path);
    if (command.isEmpty() || !QProcess::startDetached(command.first(), command.mid(1)))
        emit noEditor(path);
}

QString TextEditorLauncher::execOfDesktopEntry(const QString& desktopFile) {
    QFile file(desktopFile);
    if (desktopFile.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(u'['))
            inMainGroup = line == u"[Desktop Entry]";
        else if (inMainGroup && line.startsWith(QStringLiteral("Exec=")))
            return line.mid(5);
    }
    return {};
}

QStringList TextEditorLauncher::commandFor(const QString& exec, const QString& path) {
    QStringList command;
    bool fileGiven = false;
    for (const QString& argument : QProcess::splitCommand(exec)) {
        if (argument == u"%f" || argument == u"%F" || argument == u"%u" || argument == u"%U") {
            command << path;
            fileGiven = true;
        } else if (argument.size() == 2 && argument.startsWith(u'%')) {
            continue;
        } else {
            command << QString(argument).replace(QStringLiteral("%%"), QStringLiteral("%"));
        }
    }
    if (!command.isEmpty() && !fileGiven)
        command << path;
    return command;
}
