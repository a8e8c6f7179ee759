#include "project/BwkWriter.h"

#include "app/AtomicFile.h"
#include "app/Cp932Codec.h"

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

class Refusal {
public:
    QString message;
};

class FieldWriter {
public:
    explicit FieldWriter(QByteArray& out)
        : m_out(out) {}

    void lineField(const QString& value, const QString& name) {
        if (QString refusal = BwkWriter::lineFieldRefusal(value, name); !refusal.isEmpty())
            throw Refusal{refusal};
        Cp932Codec::encode(value, m_out);
        m_out.append(kLineEnd);
    }

    void quotedField(const QString& value, const QString& name) {
        if (QString refusal = BwkWriter::quotedFieldRefusal(value, name); !refusal.isEmpty())
            throw Refusal{refusal};
        m_out.append('"');
        Cp932Codec::encode(value, m_out);
        m_out.append('"');
        m_out.append(kLineEnd);
    }

private:
    QByteArray& m_out;
};

QString unencodableRefusal(const QString& value, const QString& name) {
    if (const auto bad = Cp932Codec::findUnencodable(value))
        return QStringLiteral("%1の文字%2はbwkファイルに保存できません。")
            .arg(name, Cp932Codec::describeCharacterAt(value, *bad));
    return QString();
}

QString entryName(qsizetype position, const char16_t* field) {
    return QStringLiteral("%1番目の項目の%2").arg(position).arg(QStringView(field));
}

} // namespace

QString BwkWriter::lineFieldRefusal(const QString& value, const QString& name) {
    if (value.contains(u'\r') || value.contains(u'\n'))
        return QStringLiteral("%1に改行を含めることはできません。").arg(name);
    return unencodableRefusal(value, name);
}

QString BwkWriter::quotedFieldRefusal(const QString& value, const QString& name) {
    if (value.contains(u'"'))
        return QStringLiteral("%1に半角の二重引用符（\"）を含めることはできません。").arg(name);
    return unencodableRefusal(value, name);
}

BwkWriter::Encoded BwkWriter::encode(const DocumentInfo& document, const QAEntryTable& entries) {
    QByteArray out;
    qsizetype estimate = 64;
    for (const QAEntry& entry : entries)
        estimate += 8 + 2 * (entry.question.size() + entry.answer.size());
    out.reserve(estimate);

    FieldWriter fields(out);
    try {
        fields.lineField(document.DocumentTitle, QStringLiteral("タイトル"));
        fields.lineField(document.DocumentHomepage, QStringLiteral("ホームページ"));
        fields.lineField(document.DocumentMail, QStringLiteral("メールアドレス"));
        fields.lineField(document.DocumentCreater, QStringLiteral("作成者"));
        fields.lineField(document.DocumentCode, QStringLiteral("デザインファイル"));
        fields.lineField(document.DocumentCodeFolder, QStringLiteral("デザインフォルダ"));
        fields.quotedField(document.DocumentDataview, QStringLiteral("説明"));
        qsizetype position = 0;
        for (const QAEntry& entry : entries) {
            ++position;
            out.append(entry.isEnabled() ? '1' : '2');
            out.append(kLineEnd);
            fields.lineField(entry.question, entryName(position, u"質問"));
            fields.quotedField(entry.answer, entryName(position, u"答え"));
        }
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.message};
    }
    return {std::move(out), QString()};
}

QString BwkWriter::writeFile(const QString& path, const DocumentInfo& document,
                             const QAEntryTable& entries) {
    const Encoded encoded = encode(document, entries);
    if (!encoded.bytes)
        return encoded.error;
    return AtomicFile::write(path, *encoded.bytes);
}
