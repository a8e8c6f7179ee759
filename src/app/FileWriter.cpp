#include "app/FileWriter.h"

#include <QFile>
#include <QSaveFile>

QString FileWriter::writeAll(QIODevice& device, const QByteArray& bytes) {
    if (device.write(bytes) != bytes.size())
        return QStringLiteral("書き込みに失敗しました（%1）").arg(device.errorString());
    return QString();
}

QString FileWriter::checkComplete(QFileDevice& file, qint64 size) {
    if (file.flush() && file.size() == size)
        return QString();
    return QStringLiteral(
               "「%1」を最後まで書き込めません（ディスクの空きが足りない可能性があります）")
        .arg(file.fileName());
}

QString FileWriter::replaceAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("「%1」を作成できません（%2）").arg(path, file.errorString());
    QString error = writeAll(file, bytes);
    if (error.isEmpty())
        error = checkComplete(file, bytes.size());
    if (!error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return QStringLiteral("「%1」を保存できません（%2）").arg(path, file.errorString());
    return QString();
}

QString FileWriter::writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("「%1」を作成できません（%2）").arg(path, file.errorString());
    QString error = writeAll(file, bytes);
    return error.isEmpty() ? checkComplete(file, bytes.size()) : error;
}
