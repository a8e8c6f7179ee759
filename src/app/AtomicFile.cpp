#include "app/AtomicFile.h"

#include <QSaveFile>

QString AtomicFile::writeAll(QIODevice& device, const QByteArray& bytes) {
    if (device.write(bytes) != bytes.size())
        return QStringLiteral("書き込みに失敗しました（%1）").arg(device.errorString());
    return QString();
}

QString AtomicFile::write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("「%1」を作成できません（%2）").arg(path, file.errorString());
    QString error = writeAll(file, bytes);
    // A write that stops short without an error (a file-size limit, a full
    // disk) is not always reported by the device: check what arrived.
    if (error.isEmpty() && (!file.flush() || file.size() != bytes.size()))
        error = QStringLiteral(
                    "「%1」を最後まで書き込めません（ディスクの空きが足りない可能性があります）")
                    .arg(path);
    if (!error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return QStringLiteral("「%1」を保存できません（%2）").arg(path, file.errorString());
    return QString();
}
