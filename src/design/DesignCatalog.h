#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The installed designs as the design selection reads them: every name in
// the design root with the first three lines of its "procode". The catalog
// is read afresh whenever it is needed; designs may be added or removed while
// the program runs.
class DesignCatalog {
public:
    struct Design {
        QString folder;
        // Up to three lines: display name, design file base name, description.
        QStringList procodeLines;

        QString displayName() const { return procodeLines.value(0); }
        QString designCode() const {
            return folder + u'\\' + procodeLines.value(1) + QStringLiteral(".ddc");
        }
    };

    // Nothing when the design root is missing or a name in it is not a folder
    // with a readable "procode".
    static std::optional<QList<Design>> read(const QString& designRoot);
};
