#include "project/CsvWriter.h"

#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <QStringEncoder>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool needsQuotes(QStringView field) {
    if (field.isEmpty())
        return false;
    if (isBlank(field.front()) || isBlank(field.back()))
        return true;
    return std::ranges::any_of(
        field, [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; });
}

// Appends the field quoted, with its quotes doubled and each CR LF written
// as LF.
void appendQuoted(QString& out, QStringView field) {
    out.append(u'"');
    qsizetype start = 0;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c == u'"') {
            out.append(field.sliced(start, i + 1 - start));
            out.append(u'"');
            start = i + 1;
        } else if (c == u'\r' && i + 1 < field.size() && field[i + 1] == u'\n') {
            out.append(field.sliced(start, i - start));
            start = i + 1;
        }
    }
    out.append(field.sliced(start));
    out.append(u'"');
}

void appendField(QString& out, QStringView field) {
    if (needsQuotes(field))
        appendQuoted(out, field);
    else
        out.append(field);
}

// Why the entries cannot be written in code page 932: the first entry that
// holds a character the code page lacks.
Failure unencodable(const QAEntryTable& entries) {
    qsizetype position = 0;
    for (const QAEntry& entry : entries) {
        ++position;
        for (const auto& [text, name] :
             {std::pair{&entry.question, u"質問"}, std::pair{&entry.answer, u"回答"}}) {
            if (const auto bad = Cp932Codec::findUnencodable(*text))
                return Failure{
                    QStringLiteral("%1番目の項目の%2の文字%3はShift_JIS（コードページ932）で"
                                   "書き出せません。\nUTF-8で書き出してください。")
                        .arg(position)
                        .arg(QStringView(name), Cp932Codec::describeCharacterAt(*text, *bad))};
        }
    }
    return Failure{QStringLiteral("Shift_JIS（コードページ932）で書き出せない文字があります。")};
}

} // namespace

QString CsvWriter::text(const QAEntryTable& entries) {
    qsizetype size = 16;
    for (const QAEntry& entry : entries)
        size += 8 + entry.question.size() + entry.answer.size();
    QString out;
    out.reserve(size);
    out.append(u"質問,回答,有効\r\n");
    for (const QAEntry& entry : entries) {
        appendField(out, entry.question);
        out.append(u',');
        appendField(out, entry.answer);
        out.append(entry.isEnabled() ? u",1\r\n" : u",0\r\n");
    }
    return out;
}

Result<QByteArray> CsvWriter::write(const QAEntryTable& entries, Encoding encoding) {
    const QString csv = text(entries);
    QByteArray out;
    if (encoding == Encoding::Utf8) {
        // Encoded straight behind the byte order mark, without a copy.
        QStringEncoder utf8(QStringEncoder::Utf8);
        out.resize(3 + utf8.requiredSpace(csv.size()));
        std::memcpy(out.data(), "\xEF\xBB\xBF", 3);
        out.truncate(utf8.appendToBuffer(out.data() + 3, csv) - out.constData());
        return out;
    }
    if (!Cp932Codec::encode(csv, out))
        return unencodable(entries);
    return out;
}

Status CsvWriter::writeFile(const QAEntryTable& entries, const QString& path, Encoding encoding) {
    const Result<QByteArray> bytes = write(entries, encoding);
    if (!bytes)
        return bytes.failure();
    return FileWriter::replaceAtomically(path, *bytes);
}
