#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QString>

class QFileDevice;
class QIODevice;

// Writes whole files and makes sure every byte arrived: a write that stops
// short without an error from the device (a file-size limit, a full disk) is
// a failure too; its message names the file.
class FileWriter {
public:
    // For files whose loss would lose work (projects): the bytes go to a
    // temporary file beside the old one, which is flushed to disk and renamed
    // over it only when complete. A failure at any point leaves the old file
    // as it was.
    static Status replaceAtomically(const QString& path, const QByteArray& bytes);

    // For files that can always be made again (pages): written in place,
    // without the cost of flushing them to disk.
    static Status writeWhole(const QString& path, const QByteArray& bytes);

    // Writes all bytes to an open device and checks that all of them arrived.
    static Status writeAll(QIODevice& device, const QByteArray& bytes);

private:
    static Status checkComplete(QFileDevice& file, qint64 size);
};
