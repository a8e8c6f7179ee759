#pragma once

#include "design/ProgramFolder.h"
#include "text/Result.h"

#include <QString>

// Turns the design values stored in a project into paths below the design
// root, and keeps every read and copy of a design inside that root.
//
// Designs are folders that people download from others, and project files
// may come from anywhere: a stored value that leads out of the root
// ("..\\..\\home"), or a link in a design folder that points at a private
// file elsewhere, must never make the program read or publish that file. The
// root itself may be a link; it is resolved once, when the object is made.
class DesignLocation {
public:
    explicit DesignLocation(const ProgramFolder& program)
        : DesignLocation(program.designRoot()) {}
    explicit DesignLocation(const QString& designRoot);

    const QString& root() const { return m_root; }

    // root + "/" + folder name, for a folder name of one component whose
    // folder, once links are resolved, lies inside the root.
    Result<QString> folder(const QString& folderName) const;

    // The design file that DocumentCode names ("folder\\base.ddc", relative to
    // the design root, backslashes as separators).
    Result<QString> designFile(const QString& documentCode) const;

    // The decoded text of a file of a design (its design file or procode):
    // a regular file inside the root once links are resolved.
    Result<QString> readDesignText(const QString& path) const;

    // Whether path, with every link resolved, lies inside the root. A path
    // that does not exist has nothing to resolve and counts as inside.
    bool resolvesInside(const QString& path) const;

    // Whether the existing folder, links resolved, is the root or lies
    // below it: nothing the program makes may go there.
    bool holds(const QString& existingFolder) const;

    static Result<QString> designFile(const ProgramFolder& program, const QString& documentCode) {
        return DesignLocation(program).designFile(documentCode);
    }

private:
    bool isBelowRoot(const QString& resolved) const;

    // The failure for a value that names no place inside the design root.
    static Failure outside(const QString& value);

    QString m_root;
    QString m_resolvedRoot;
};
