#pragma once

#include "text/LineReader.h"
#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

class QFile;

// Text files of the program: code page 932 on disk, Unicode in memory.
class TextFile {
public:
    // The most any read takes in, far beyond a real project or design. A
    // device without end (/dev/zero) or a wrong file fails there instead of
    // filling the memory.
    static constexpr qint64 kSizeLimit = qint64(1) << 30;

    // The whole file, decoded. A failure names the file and the reason.
    static Result<QString> read(const QString& path);
    // The whole file as it is on disk, for readers that decode it piece by
    // piece; fails like read(), and past sizeLimit bytes. Pipes are read to
    // their end (the command line reads /dev/stdin).
    static Result<QByteArray> readBytes(const QString& path, qint64 sizeLimit = kSizeLimit);

    // Like readBytes(), for files the user or a downloaded design may have
    // swapped for anything: only a regular file of at most kSizeLimit bytes
    // is read. A pipe, a device or a folder fails at once, without waiting
    // for a writer or reading without end.
    static Result<QByteArray> readRegularFileBytes(const QString& path);
    static Result<QString> readRegularFile(const QString& path);
    // Opens file for reading at path under the rules of readRegularFile().
    static Status openRegularFile(QFile& file, const QString& path);

    // A file name as the system passed it (an argument of the command
    // line). Bytes that the file-name encoding does not give back fail,
    // with the name shown in escapes: decoded, it would name another file.
    static Result<QString> decodeFileName(const QByteArray& name);

private:
    static Result<QByteArray> readFrom(QFile& file, qint64 sizeLimit);
    static QByteArray readAll(QFile& file, qint64 sizeLimit);
};
