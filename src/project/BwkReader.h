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

    // A project as read from its file. Bytes that are not code page 932
    // were read as U+FFFD; firstUndecodableLine is the first line of the
    // file (counted from 1) that held such bytes, 0 when none did.
    struct Opened {
        Project project;
        int firstUndecodableLine = 0;
    };
    // What the user is told about a file opened with undecodable bytes.
    static QString undecodableMessage(const QString& path, int line) {
        return QStringLiteral("「%1」の%2行目に、Shift_JISとして読めない文字があります。"
                              "読めない文字は「\uFFFD」に置き換えて開きました。")
            .arg(path)
            .arg(line);
    }

    // A failure says where and why reading stopped, e.g. "5行目:
    // 引用符で始まっていません". A file is read whatever it is, pipes too
    // (the command line reads /dev/stdin), up to TextFile's size limit.
    static Result<Opened> openFile(const QString& path);
    static Result<Opened> openBytes(QByteArrayView bytes);
    // The project alone.
    static Result<Project> readFile(const QString& path);
    static Result<Project> parse(QStringView text);
    // The same as parse(Cp932Codec::decode(bytes)), decoding field by field
    // instead of the whole file at once.
    static Result<Project> parseBytes(QByteArrayView bytes);
};
