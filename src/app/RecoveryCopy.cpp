#include "app/RecoveryCopy.h"

#include "project/BwkReader.h"
#include "project/BwkWriter.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr QByteArrayView kFormatLine = "Brindlewick recovery 1\n";

QString pathKey() {
    return QStringLiteral("path");
}
QString stampKey() {
    return QStringLiteral("stamp");
}
QString timeKey() {
    return QStringLiteral("madeAt");
}

Failure unreadable() {
    return Failure{QStringLiteral("復元用のファイルを読み取れません。")};
}

} // namespace

Result<QByteArray> RecoveryCopy::encode() const {
    Result<QByteArray> file = BwkWriter::encode(project.document, project.entries);
    if (!file)
        return file.failure();
    const QJsonObject about{{pathKey(), projectPath},
                            {stampKey(), stamp.toJson()},
                            {timeKey(), madeAt.toString(Qt::ISODateWithMs)}};
    QByteArray bytes(kFormatLine.data(), kFormatLine.size());
    bytes += QJsonDocument(about).toJson(QJsonDocument::Compact);
    bytes += '\n';
    bytes += *file;
    return bytes;
}

Result<RecoveryCopy> RecoveryCopy::decode(const QByteArray& bytes) {
    if (!bytes.startsWith(kFormatLine))
        return unreadable();
    const qsizetype aboutStart = kFormatLine.size();
    const qsizetype aboutEnd = bytes.indexOf('\n', aboutStart);
    if (aboutEnd < 0)
        return unreadable();
    const QJsonObject about =
        QJsonDocument::fromJson(bytes.sliced(aboutStart, aboutEnd - aboutStart)).object();
    Result<Project> project = BwkReader::parseBytes(QByteArrayView(bytes).sliced(aboutEnd + 1));
    if (about.isEmpty() || !project)
        return unreadable();
    return RecoveryCopy{
        std::move(*project), about.value(pathKey()).toString(),
        FileStamp::fromJson(about.value(stampKey()).toObject()),
        QDateTime::fromString(about.value(timeKey()).toString(), Qt::ISODateWithMs)};
}
