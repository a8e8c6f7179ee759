#pragma once

#include "design/DesignRoot.h"
#include "text/Result.h"

#include <QString>
#include <QStringList>

// Puts a design's resources beside a page: every plain file of the design
// folder goes into the target folder under its own name, except the design
// files (*.ddc) and the description file "procode", which are also removed
// from the target if it held any. Sub-folders and hidden files stay behind,
// so a design refers to its resources by bare file names.
//
// Whatever goes beside a page may be published, so a resource that is no
// regular file, leads out of the design root through a link, or has a name
// the program cannot reproduce refuses the whole copy, naming the file,
// before anything is copied.
class DesignCopier {
public:
    static Status copy(const DesignRoot& designs, const QString& designFolder,
                       const QString& targetFolder);

    // Whether a file of the design folder stays behind.
    static bool isDesignOnlyFile(const QString& fileName);

    // The names of the resources to copy, once every one has been checked
    // as copy() checks them.
    static Result<QStringList> resources(const DesignRoot& designs, const QString& folder);
};
