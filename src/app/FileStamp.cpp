#include "app/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct DiskState {
    qint64 size;
    qint64 modifiedNs;
};

std::optional<DiskState> diskStateOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return DiskState{qint64(info.st_size),
                     qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

// The bytes of a regular file, read without waiting on a pipe that took the
// file's place; nothing when the file cannot be read as one.
std::optional<QByteArray> regularFileBytes(const QString& path, qint64 size) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size != size ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace

FileStamp FileStamp::of(const QString& path, QByteArrayView bytes) {
    FileStamp stamp;
    stamp.m_hash = hashOf(bytes);
    if (const std::optional<DiskState> state = diskStateOf(path)) {
        stamp.m_size = state->size;
        stamp.m_modifiedNs = state->modifiedNs;
    }
    return stamp;
}

bool FileStamp::matches(const QString& path) const {
    if (!isKnown())
        return true;
    const std::optional<DiskState> state = diskStateOf(path);
    if (!state)
        return true;
    if (state->size == m_size && state->modifiedNs == m_modifiedNs)
        return true;
    // Touched, copied back or rewritten with the same bytes: not a change.
    const std::optional<QByteArray> bytes = regularFileBytes(path, state->size);
    return bytes && hashOf(*bytes) == m_hash;
}

QJsonObject FileStamp::toJson() const {
    return {{QStringLiteral("size"), m_size},
            {QStringLiteral("modifiedNs"), QString::number(m_modifiedNs)},
            {QStringLiteral("sha1"), QString::fromLatin1(m_hash.toHex())}};
}

FileStamp FileStamp::fromJson(const QJsonObject& json) {
    FileStamp stamp;
    stamp.m_size = json.value(QStringLiteral("size")).toInteger(-1);
    stamp.m_modifiedNs = json.value(QStringLiteral("modifiedNs")).toString().toLongLong();
    stamp.m_hash = QByteArray::fromHex(json.value(QStringLiteral("sha1")).toString().toLatin1());
    return stamp;
}

QByteArray FileStamp::hashOf(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}
