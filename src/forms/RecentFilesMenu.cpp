#include "forms/RecentFilesMenu.h"

#include "app/RecentFiles.h"
#include "forms/Named.h"

#include <QDir>
#include <QFileInfo>

namespace {

// "&1 faq.bwk (~/shop)": the name to recognise, the folder to tell two of
// the same name apart. An ampersand in a name shows as itself.
QString itemText(qsizetype number, const QString& path) {
    const QFileInfo file(path);
    QString folder = file.absolutePath();
    if (const QString home = QDir::homePath(); folder.startsWith(home + u'/') || folder == home)
        folder.replace(0, home.size(), QStringLiteral("~"));
    QString name = file.fileName();
    return QStringLiteral("&%1 %2 (%3)")
        .arg(number)
        .arg(name.replace(u'&', QStringLiteral("&&")), folder.replace(u'&', QStringLiteral("&&")));
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QWidget* parent)
    : QMenu(QStringLiteral("最近使ったファイル"), parent) {
    connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::rebuild);
    refresh();
}

void RecentFilesMenu::refresh() {
    setEnabled(!RecentFiles::paths().isEmpty());
}

void RecentFilesMenu::rebuild() {
    clear();
    const QStringList paths = RecentFiles::paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        QAction* item = addAction(itemText(i + 1, path));
        item->setStatusTip(path);
        connect(item, &QAction::triggered, this, [this, path] { emit fileChosen(path); });
    }
    addSeparator();
    QAction* clearList = named(addAction(QStringLiteral("一覧を消去")), u"ClearRecentFiles");
    connect(clearList, &QAction::triggered, this, [this] {
        RecentFiles::clear();
        refresh();
    });
}
