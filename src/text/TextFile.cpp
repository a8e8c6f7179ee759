#include "text/TextFile.h"

#include "text/Cp932Codec.h"
#include "text/LargeBuffer.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Failure tooLarge(const QString& path, qint64 sizeLimit) {
    return Failure{QStringLiteral("ファイル「%1」は大きすぎて読み込めません（上限は%2バイトです）")
                       .arg(path)
                       .arg(sizeLimit)};
}

Failure cannotOpen(const QString& path, const QString& reason) {
    return Failure{QStringLiteral("ファイル「%1」を開けません（%2）").arg(path, reason)};
}

// The bytes as text, every byte that is not printable ASCII written \xHH,
// so that the user sees exactly what the system passed.
QString escaped(const QByteArray& bytes) {
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7F)
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
    }
    return text;
}

} // namespace

QByteArray TextFile::readAll(QFile& file, qint64 sizeLimit) {
    // One read into a buffer of the file's size, which may use huge pages;
    // whatever the size did not promise (a file still growing, a pipe) is
    // read after it, piece by piece, up to one byte past the limit.
    QByteArray bytes;
    if (!file.isSequential() && file.size() > 0) {
        bytes.resize(file.size());
        LargeBuffer::preferHugePages(bytes.data(), bytes.size());
        const qint64 read = file.read(bytes.data(), bytes.size());
        bytes.truncate(std::max<qint64>(read, 0));
        if (read < 0)
            return bytes;
    }
    QByteArray piece(qsizetype(1) << 16, Qt::Uninitialized);
    while (bytes.size() <= sizeLimit) {
        const qint64 wanted = std::min<qint64>(piece.size(), sizeLimit + 1 - bytes.size());
        const qint64 read = file.read(piece.data(), wanted);
        if (read <= 0)
            break;
        // Grown by doubling as usual, but never beyond what the limit lets
        // be kept.
        if (bytes.size() + read > bytes.capacity())
            bytes.reserve(std::min<qint64>(2 * (bytes.size() + read), sizeLimit + 1));
        bytes.append(piece.constData(), read);
    }
    return bytes;
}

Result<QString> TextFile::read(const QString& path) {
    Result<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return bytes.failure();
    return Cp932Codec::decode(*bytes);
}

Result<QByteArray> TextFile::readBytes(const QString& path, qint64 sizeLimit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen(path, file.errorString());
    return readFrom(file, sizeLimit);
}

Result<QByteArray> TextFile::readFrom(QFile& file, qint64 sizeLimit) {
    if (!file.isSequential() && file.size() > sizeLimit)
        return tooLarge(file.fileName(), sizeLimit);
    QByteArray bytes = readAll(file, sizeLimit);
    if (file.error() != QFileDevice::NoError)
        return Failure{QStringLiteral("ファイル「%1」を読み込めません（%2）")
                           .arg(file.fileName(), file.errorString())};
    if (bytes.size() > sizeLimit)
        return tooLarge(file.fileName(), sizeLimit);
    return bytes;
}

Status TextFile::openRegularFile(QFile& file, const QString& path) {
    // Opening without blocking returns at once for a pipe with no writer;
    // the type and size are then checked on what was opened, not on the
    // name, which may have been replaced in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen(path, QString::fromLocal8Bit(std::strerror(errno)));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Failure{QStringLiteral("「%1」は通常のファイルではありません").arg(path)};
    }
    if (status.st_size > kSizeLimit) {
        ::close(fd);
        return tooLarge(path, kSizeLimit);
    }
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return cannotOpen(path, file.errorString());
    }
    return {};
}

Result<QByteArray> TextFile::readRegularFileBytes(const QString& path) {
    QFile file;
    if (Status opened = openRegularFile(file, path); !opened)
        return opened.failure();
    return readFrom(file, kSizeLimit);
}

Result<QString> TextFile::readRegularFile(const QString& path) {
    Result<QByteArray> bytes = readRegularFileBytes(path);
    if (!bytes)
        return bytes.failure();
    return Cp932Codec::decode(*bytes);
}

Result<QString> TextFile::decodeFileName(const QByteArray& name) {
    QString decoded = QFile::decodeName(name);
    if (QFile::encodeName(decoded) != name)
        return Failure{QStringLiteral("ファイル名を読み取れません: %1").arg(escaped(name))};
    return decoded;
}
