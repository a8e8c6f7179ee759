#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The description file of a design, "procode": display name, base name of
// the design file (without ".ddc") and a one-line description. Lines after
// the third are ignored; nothing is trimmed.
class Procode {
public:
    static QString fileName() { return QStringLiteral("procode"); }

    // A procode as it stands, with however many of the three lines it has.
    // DesignRoot reads it, only as a regular file inside the design root.
    static Procode parse(QStringView text);

    // The lines read, at most three.
    qsizetype lineCount() const { return m_lines.size(); }
    // A design can be used once it names its design file.
    bool namesDesignFile() const { return m_lines.size() >= 2; }
    // A failure unless the procode names its design file; the message names
    // the file.
    Status checkNamesDesignFile(const QString& designFolder) const;

    QString displayName() const { return m_lines.value(0); }
    QString designBaseName() const { return m_lines.value(1); }
    QString designFileName() const { return designBaseName() + QStringLiteral(".ddc"); }
    // Empty when the file has only two lines; see hasDescription.
    QString description() const { return m_lines.value(2); }
    bool hasDescription() const { return m_lines.size() >= 3; }

private:
    QStringList m_lines;
};
