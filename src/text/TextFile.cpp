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

QByteArray TextFile::readAll(QFile& file) {
    // One read into a buffer of the file's size, which may use huge pages;
    // whatever the size did not promise (a file still growing, a pipe) is
    // read after it.
    QByteArray bytes;
    if (!file.isSequential() && file.size() > 0) {
        bytes.resize(file.size());
        LargeBuffer::preferHugePages(bytes.data(), bytes.size());
        const qint64 read = file.read(bytes.data(), bytes.size());
        bytes.truncate(std::max<qint64>(read, 0));
        if (read < 0)
            return bytes;
    }
    bytes += file.readAll();
    return bytes;
}

Result<QString> TextFile::read(const QString& path) {
    Result<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return Failure{bytes.error()};
    return Cp932Codec::decode(*bytes);
}

Result<QByteArray> TextFile::readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{
            QStringLiteral("ファイル「%1」を開けません（%2）").arg(path, file.errorString())};
    return readFrom(file);
}

Result<QByteArray> TextFile::readFrom(QFile& file) {
    QByteArray bytes = readAll(file);
    if (file.error() != QFileDevice::NoError)
        return Failure{QStringLiteral("ファイル「%1」を読み込めません（%2）")
                           .arg(file.fileName(), file.errorString())};
    return bytes;
}

Result<QString> TextFile::readRegularFile(const QString& path) {
    // Opening without blocking returns at once for a pipe with no writer;
    // the type is then checked on what was opened, not on the name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Failure{QStringLiteral("ファイル「%1」を開けません（%2）")
                           .arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Failure{QStringLiteral("「%1」は通常のファイルではありません").arg(path)};
    }
    QFile file;
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure{
            QStringLiteral("ファイル「%1」を開けません（%2）").arg(path, file.errorString())};
    }
    Result<QByteArray> bytes = readFrom(file);
    if (!bytes)
        return Failure{bytes.error()};
    return Cp932Codec::decode(*bytes);
}
