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
    // The whole file, decoded. A failure names the file and the reason.
    static Result<QString> read(const QString& path);
    // The whole file as it is on disk, for readers that decode it piece by
    // piece; fails like read().
    static Result<QByteArray> readBytes(const QString& path);

    // Like read(), for files that come with downloaded designs: only a
    // regular file is read. A pipe, a device or a folder fails at once,
    // without waiting for a writer or reading without end.
    static Result<QString> readRegularFile(const QString& path);

private:
    static Result<QByteArray> readFrom(QFile& file);
    static QByteArray readAll(QFile& file);
};
