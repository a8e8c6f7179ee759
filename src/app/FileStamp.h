#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QString>

// A project file as the program last read or wrote it: its size, its
// modification time and a hash of its bytes. A save compares it with the
// file on disk to notice another program's change; size and time alone
// would miss a change made within the same moment, and the hash alone
// would read the whole file before every save.
class FileStamp {
public:
    // Nothing known: every file matches.
    FileStamp() = default;

    // The file at path as it is now, holding bytes (just read or written).
    static FileStamp of(const QString& path, QByteArrayView bytes);

    bool isKnown() const { return !m_hash.isEmpty(); }

    // Whether the file at path still holds what was stamped. A file that has
    // gone holds nothing that a save could overwrite, so it matches.
    bool matches(const QString& path) const;

    // Kept with a recovery copy, so that a restored project knows its file.
    QJsonObject toJson() const;
    static FileStamp fromJson(const QJsonObject& json);

    bool operator==(const FileStamp&) const = default;

private:
    static QByteArray hashOf(QByteArrayView bytes);

    qint64 m_size = -1;
    qint64 m_modifiedNs = 0;
    QByteArray m_hash;
};
