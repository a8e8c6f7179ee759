#pragma once

#include "project/Project.h"
#include "text/Result.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Reads project files (.bwk). Reading never touches the program's state: the
// caller gets a complete project or an error, never half of one.
class BwkReader {
public:
    // The message the program shows for every unreadable project file.
    static QString damagedMessage() { return QStringLiteral("bwkファイルが壊れています。"); }

    // A failure says where and why reading stopped, e.g. "5行目:
    // 引用符で始まっていません".
    static Result<Project> readFile(const QString& path);
    static Result<Project> parse(QStringView text);
    // The same as parse(Cp932Codec::decode(bytes)), decoding field by field
    // instead of the whole file at once.
    static Result<Project> parseBytes(QByteArrayView bytes);
};
