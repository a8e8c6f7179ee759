#pragma once

#include "app/ProgramFolder.h"

#include <QString>
#include <optional>

// Turns the design values stored in a project into paths below the design
// root. Both come from project files, which may come from anywhere, so a value
// that would lead out of the design root ("..\\..\\home") is not a design.
class DesignLocation {
public:
    // design root + "/" + folder name, for a folder name of one component.
    static std::optional<QString> folder(const ProgramFolder& program, const QString& folderName);

    // The design file that DocumentCode names ("folder\\base.ddc", relative to
    // the design root, backslashes as separators).
    static std::optional<QString> designFile(const ProgramFolder& program,
                                             const QString& documentCode);

    // The message for a value that names no place inside the design root.
    static QString outsideMessage(const QString& value);
};
