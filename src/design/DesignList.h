#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The designs installed below the design root.
class DesignList {
public:
    // The names in the design root, without hidden names (those that begin
    // with a dot), sorted by name case-insensitively, so that "the first
    // design" is the same on every machine. Nothing when the root is missing.
    static std::optional<QStringList> folderNames(const QString& designRoot);
};
