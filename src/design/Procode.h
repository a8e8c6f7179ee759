#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The description file of a design, "procode": display name, base name of
// the design file (without ".ddc") and a one-line description. Lines after
// the third are ignored; nothing is trimmed.
struct Procode {
    static QString fileName() { return QStringLiteral("procode"); }

    QString displayName;
    QString designBaseName;
    // Empty when the file has only two lines; see hasDescription.
    QString description;
    bool hasDescription = false;

    QString designFileName() const { return designBaseName + QStringLiteral(".ddc"); }

    // The design's procode, if it can be read and has at least two lines.
    static std::optional<Procode> read(const QString& designFolder, QString* error);
    static std::optional<Procode> parse(QStringView text);
};
