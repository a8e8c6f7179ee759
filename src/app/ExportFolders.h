#pragma once

#include <QString>

// The folder each project was last exported into, by the project file's
// path: the project file itself has no place for it. Kept in the user's
// settings for the most recently exported projects.
class ExportFolders {
public:
    static constexpr int kLimit = 100;

    // Empty when no export of that project is known.
    static QString lastFor(const QString& projectPath);
    static void remember(const QString& projectPath, const QString& folder);
};
