#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Replaces a file's contents all at once: the bytes go to a temporary file
// beside it, which is renamed over the file only when every byte is on disk.
// A failure at any point (full disk, file-size limit, lost device) leaves the
// previous file as it was.
class AtomicFile {
public:
    // Returns an empty text on success, otherwise the reason.
    static QString write(const QString& path, const QByteArray& bytes);

    // Writes all bytes to an open device and checks that all of them arrived.
    static QString writeAll(QIODevice& device, const QByteArray& bytes);
};
