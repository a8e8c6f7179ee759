#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>

// The designs installed below the design root.
class DesignList {
public:
    // The names in the design root, without hidden names (those that begin
    // with a dot), sorted by name case-insensitively, so that "the first
    // design" is the same on every machine. Fails when the root is missing.
    static Result<QStringList> folderNames(const QString& designRoot);
};
