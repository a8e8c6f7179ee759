#pragma once

#include "design/Procode.h"
#include "design/ProgramFolder.h"
#include "text/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

// The design root: the folder doc_code below the program folder, with one
// folder per installed design. Everything that lists the designs, finds one,
// or turns a design value stored in a project into a path goes through it,
// so every reader of a design applies the same checks.
//
// Designs are folders that people download from others, and project files
// may come from anywhere: a stored value that leads out of the root
// ("..\\..\\home"), or a link in a design folder that points at a private
// file elsewhere, must never make the program read or publish that file. The
// root itself may be a link; it is resolved once, when the object is made.
// The listing is read afresh on every call: designs may be added or removed
// while the program runs.
class DesignRoot {
public:
    // An installed design: its folder's name and path and its procode.
    struct Design {
        QString folder;
        QString path;
        Procode procode;

        QString displayName() const { return procode.displayName(); }
        // The design file as DocumentCode stores it.
        QString designCode() const { return folder + u'\\' + procode.designFileName(); }
    };

    explicit DesignRoot(const ProgramFolder& program)
        : DesignRoot(program.designRoot()) {}
    explicit DesignRoot(QString path);

    const QString& path() const { return m_path; }

    // The names in the root, folders and plain files alike, without hidden
    // names (those that begin with a dot), sorted by name case-insensitively,
    // so that "the first design" is the same on every machine. Fails when
    // the root is missing.
    Result<QStringList> names() const;

    // Every name of the root with its procode, in the order of names(). A
    // name that leads out of the root is left out; fails when the root is
    // missing or a name in it is not a folder with a readable procode.
    Result<QList<Design>> designs() const;

    // The design in the folder of that name, with its procode as it stands;
    // fails when the name leads out of the root or the procode is
    // unreadable.
    Result<Design> find(const QString& folderName) const;

    // root + "/" + folder name, for a folder name of one component whose
    // folder, once links are resolved, lies below the root.
    Result<QString> folder(const QString& folderName) const;

    // The design file that DocumentCode names ("folder\\base.ddc", relative to
    // the root, backslashes as separators).
    Result<QString> designFile(const QString& documentCode) const;

    // The decoded text of a file of a design (its design file or procode):
    // a regular file below the root once links are resolved.
    Result<QString> readDesignText(const QString& path) const;

    // Whether path, with every link resolved, is the root or lies inside it:
    // nothing the program makes may go there, and nothing of a design may be
    // read or copied from anywhere else. A path that does not exist has
    // nothing to resolve and counts as inside.
    bool contains(const QString& path) const;

private:
    Result<Design> designIn(const QString& folderName, const QString& folder) const;
    bool leadsBelow(const QString& path) const;

    // The failure for a value that names no place inside the root.
    static Failure outside(const QString& value);

    QString m_path;
    QString m_resolvedPath;
};
