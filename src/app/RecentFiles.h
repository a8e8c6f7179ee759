#pragma once

#include <QStringList>

// The projects last opened or saved, most recent first, kept in the user's
// settings for the "最近使ったファイル" menu.
class RecentFiles {
public:
    static constexpr qsizetype kLimit = 8;

    static QStringList paths();
    // Puts path first, once; the oldest beyond the limit are forgotten.
    static void add(const QString& path);
    static void remove(const QString& path);
    static void clear();

private:
    static void store(const QStringList& paths);
};
