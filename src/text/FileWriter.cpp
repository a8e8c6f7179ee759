#include "text/FileWriter.h"

#include <QFile>
#include <QSaveFile>

Status FileWriter::writeAll(QIODevice& device, const QByteArray& bytes) {
    if (device.write(bytes) != bytes.size())
        return Failure{QStringLiteral("書き込みに失敗しました（%1）").arg(device.errorString())};
    return {};
}

Status FileWriter::checkComplete(QFileDevice& file, qint64 size) {
    if (file.flush() && file.size() == size)
        return {};
    return Failure{
        QStringLiteral("「%1」を最後まで書き込めません（ディスクの空きが足りない可能性があります）")
            .arg(file.fileName())};
}

Status FileWriter::replaceAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failure{
            QStringLiteral("「%1」を作成できません（%2）").arg(path, file.errorString())};
    Status written = writeAll(file, bytes);
    if (written)
        written = checkComplete(file, bytes.size());
    if (!written) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return Failure{
            QStringLiteral("「%1」を保存できません（%2）").arg(path, file.errorString())};
    return {};
}

Status FileWriter::writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failure{
            QStringLiteral("「%1」を作成できません（%2）").arg(path, file.errorString())};
    if (Status written = writeAll(file, bytes); !written)
        return written;
    return checkComplete(file, bytes.size());
}
