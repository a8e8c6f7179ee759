#pragma once

#include "text/Result.h"

#include <QString>

// Puts a design's resources beside a page: every plain file of the design
// folder goes into the target folder under its own name, except the design
// files (*.ddc) and the description file "procode", which are also removed
// from the target if it held any. Sub-folders and hidden files stay behind,
// so a design refers to its resources by bare file names.
class DesignCopier {
public:
    static Status copy(const QString& designFolder, const QString& targetFolder);

    // Whether a file of the design folder stays behind.
    static bool isDesignOnlyFile(const QString& fileName);
};
