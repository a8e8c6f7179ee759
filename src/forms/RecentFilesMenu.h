#pragma once

#include <QMenu>

// The "最近使ったファイル" menu: the recent files, numbered, most recent
// first, then an item that empties the list. It is rebuilt from the list
// each time it opens, and disabled while the list is empty.
class RecentFilesMenu : public QMenu {
    Q_OBJECT

public:
    explicit RecentFilesMenu(QWidget* parent = nullptr);

    // Enables or disables the menu as the list is now.
    void refresh();

signals:
    void fileChosen(const QString& path);

private:
    void rebuild();
};
