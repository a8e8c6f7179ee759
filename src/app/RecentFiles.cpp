#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString settingsKey() {
    return QStringLiteral("recentFiles");
}

} // namespace

QStringList RecentFiles::paths() {
    return QSettings().value(settingsKey()).toStringList();
}

void RecentFiles::add(const QString& path) {
    QStringList list = paths();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kLimit));
}

void RecentFiles::remove(const QString& path) {
    QStringList list = paths();
    list.removeAll(path);
    store(list);
}

void RecentFiles::clear() {
    store({});
}

void RecentFiles::store(const QStringList& paths) {
    QSettings().setValue(settingsKey(), paths);
}
