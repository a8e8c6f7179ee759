#pragma once

#include "project/BwkProject.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Reads project files (.bwk). Reading never touches the program's state: the
// caller gets a complete project or an error, never half of one.
class BwkReader {
public:
    // The message the program shows for every unreadable project file.
    static QString damagedMessage() { return QStringLiteral("bwkファイルが壊れています。"); }

    struct Result {
        std::optional<BwkProject> project;
        // Where and why reading stopped, e.g. "5行目: 引用符で始まっていません".
        QString error;
    };

    static Result readFile(const QString& path);
    static Result parse(QStringView text);
    // The same as parse(Cp932Codec::decode(bytes)), decoding field by field
    // instead of the whole file at once.
    static Result parseBytes(QByteArrayView bytes);
};
