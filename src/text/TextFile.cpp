#include "text/TextFile.h"

#include "text/Cp932Codec.h"
#include "text/LargeBuffer.h"

#include <QFile>
#include <algorithm>

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
    QByteArray bytes = readAll(file);
    if (file.error() != QFileDevice::NoError)
        return Failure{QStringLiteral("ファイル「%1」を読み込めません（%2）")
                           .arg(path, file.errorString())};
    return bytes;
}
