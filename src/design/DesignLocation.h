#pragma once

#include "design/ProgramFolder.h"
#include "text/Result.h"

#include <QString>

// Turns the design values stored in a project into paths below the design
// root, or fail. Both come from project files, which may come from anywhere, so a value
// that would lead out of the design root ("..\\..\\home") is not a design.
class DesignLocation {
public:
    // design root + "/" + folder name, for a folder name of one component.
    static Result<QString> folder(const ProgramFolder& program, const QString& folderName);

    // The design file that DocumentCode names ("folder\\base.ddc", relative to
    // the design root, backslashes as separators).
    static Result<QString> designFile(const ProgramFolder& program, const QString& documentCode);

private:
    // The failure for a value that names no place inside the design root.
    static Failure outside(const QString& value);
};
