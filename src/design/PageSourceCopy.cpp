#include "design/PageSourceCopy.h"

#include "text/Cp932Codec.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A meta tag's charset value that names code page 932 under one of the names
// browsers know it by; the value is the first capture.
const QRegularExpression& shiftJisDeclaration() {
    static const QRegularExpression declaration(
        QStringLiteral(R"(<meta\b[^>]*?\bcharset\s*=\s*["']?\s*)"
                       R"((shift[_-]jis|x-sjis|sjis|windows-31j|ms932|ms_kanji|csshiftjis)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return declaration;
}

// The declaration the copy was given in its place.
const QRegularExpression& utf8Declaration() {
    static const QRegularExpression declaration(
        QStringLiteral(R"(<meta\b[^>]*?\bcharset\s*=\s*["']?\s*(utf-8)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return declaration;
}

} // namespace

QString PageSourceCopy::pathFor(const QString& pagePath) {
    const QFileInfo page(pagePath);
    QDir besideFolder = page.absoluteDir();
    besideFolder.cdUp();
    return besideFolder.filePath(page.completeBaseName() + QStringLiteral("（UTF-8のコピー）.") +
                                 page.suffix());
}

Result<QString> PageSourceCopy::write(const QString& pagePath) {
    const Result<QByteArray> page = TextFile::readRegularFileBytes(pagePath);
    if (!page)
        return page.failure();
    const QString copyPath = pathFor(pagePath);
    const Status written =
        FileWriter::replaceAtomically(copyPath, copyText(Cp932Codec::decode(*page)).toUtf8());
    if (!written)
        return written.failure();
    return copyPath;
}

Result<bool> PageSourceCopy::writeBack(const QString& pagePath) {
    const QString copyPath = pathFor(pagePath);
    const QFileInfo copyInfo(copyPath);
    const QFileInfo pageInfo(pagePath);
    if (!copyInfo.exists() || !pageInfo.exists() ||
        copyInfo.lastModified() <= pageInfo.lastModified())
        return false;
    const Result<QByteArray> page = TextFile::readRegularFileBytes(pagePath);
    if (!page)
        return page.failure();
    const Result<QByteArray> copy = TextFile::readRegularFileBytes(copyPath);
    if (!copy)
        return copy.failure();
    const QString pageText = Cp932Codec::decode(*page);
    QString edited = QString::fromUtf8(*copy);
    if (edited == copyText(pageText))
        return false;
    const QRegularExpressionMatch declared = shiftJisDeclaration().match(pageText);
    const QRegularExpressionMatch utf8 = utf8Declaration().match(edited);
    if (declared.hasMatch() && utf8.hasMatch())
        edited.replace(utf8.capturedStart(1), utf8.capturedLength(1), declared.captured(1));
    QByteArray bytes;
    Cp932Codec::encodeForHtml(edited, bytes);
    const Status written = FileWriter::replaceAtomically(pagePath, bytes);
    if (!written)
        return written.failure();
    return true;
}

QString PageSourceCopy::copyText(QString pageText) {
    // Browsers go by the first declaration; so does the copy.
    const QRegularExpressionMatch match = shiftJisDeclaration().match(pageText);
    if (match.hasMatch())
        pageText.replace(match.capturedStart(1), match.capturedLength(1), QStringLiteral("UTF-8"));
    return pageText;
}
