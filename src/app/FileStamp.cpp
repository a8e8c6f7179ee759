#include "app/FileStamp.h"

#include "text/TextFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <optional>
#include <sys/stat.h>

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
    const Result<QByteArray> bytes = TextFile::readRegularFileBytes(path);
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
