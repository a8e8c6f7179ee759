#pragma once

#include "design/Procode.h"
#include "text/Result.h"

#include <QList>
#include <QString>

// The installed designs as the design selection reads them: every name in
// the design root with its "procode". The catalog is read afresh whenever it
// is needed; designs may be added or removed while the program runs.
class DesignCatalog {
public:
    struct Design {
        QString folder;
        Procode procode;

        QString displayName() const { return procode.displayName(); }
        QString designCode() const { return folder + u'\\' + procode.designFileName(); }
    };

    // Fails when the design root is missing or a name in it is not a folder
    // with a readable "procode". A folder that resolves outside the root is
    // left out.
    static Result<QList<Design>> read(const QString& designRoot);
};
