#include "app/ExportFolders.h"

#include <QFileInfo>
#include <QList>
#include <QSettings>
#include <utility>

namespace {

using Pair = std::pair<QString, QString>;

QString arrayName() {
    return QStringLiteral("lastExports");
}
QString projectKey() {
    return QStringLiteral("project");
}
QString folderKey() {
    return QStringLiteral("folder");
}

// Most recently exported first.
QList<Pair> readAll(QSettings& settings) {
    QList<Pair> pairs;
    const int size = settings.beginReadArray(arrayName());
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        pairs.append(
            {settings.value(projectKey()).toString(), settings.value(folderKey()).toString()});
    }
    settings.endArray();
    return pairs;
}

void writeAll(QSettings& settings, const QList<Pair>& pairs) {
    settings.remove(arrayName());
    settings.beginWriteArray(arrayName(), int(pairs.size()));
    for (int i = 0; i < pairs.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(projectKey(), pairs[i].first);
        settings.setValue(folderKey(), pairs[i].second);
    }
    settings.endArray();
}

QString absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QString ExportFolders::lastFor(const QString& projectPath) {
    QSettings settings;
    const QString project = absolute(projectPath);
    for (const Pair& pair : readAll(settings)) {
        if (pair.first == project)
            return pair.second;
    }
    return {};
}

void ExportFolders::remember(const QString& projectPath, const QString& folder) {
    QSettings settings;
    const QString project = absolute(projectPath);
    QList<Pair> pairs = readAll(settings);
    pairs.removeIf([&project](const Pair& pair) { return pair.first == project; });
    pairs.prepend({project, absolute(folder)});
    writeAll(settings, pairs.mid(0, kLimit));
}
