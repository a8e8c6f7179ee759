#include "project/BwkWriter.h"

#include "project/BwkHeader.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <algorithm>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

class Refusal {
public:
    QString message;
};

// Names a field in a refusal. The text is made only when a refusal needs it:
// making the name of every entry's fields up front cost more than writing
// the fields.
class FieldName {
public:
    // A field of the document information, or of the entry at a 1-based
    // position.
    explicit FieldName(const char16_t* field, qsizetype position = 0)
        : m_field(field)
        , m_position(position) {}

    QString text() const {
        if (m_position == 0)
            return QString::fromUtf16(m_field);
        return QStringLiteral("%1番目の項目の%2").arg(m_position).arg(QStringView(m_field));
    }

private:
    const char16_t* m_field;
    qsizetype m_position;
};

// Encodes each value once; only a value that cannot be stored is looked at
// again, to say why.
class FieldWriter {
public:
    explicit FieldWriter(QByteArray& out)
        : m_out(out) {}

    void headerField(const DocumentInfo& document, const BwkHeaderField& field) {
        const QString& value = document.*field.member;
        if (field.form == BwkHeaderField::Form::Quoted)
            quotedField(value, FieldName(field.name));
        else
            lineField(value, FieldName(field.name));
    }

    void lineField(const QString& value, const FieldName& name) {
        if (value.contains(u'\r') || value.contains(u'\n') || !Cp932Codec::encode(value, m_out))
            throw Refusal{BwkWriter::checkLineField(value, name.text()).error()};
        m_out.append(kLineEnd);
    }

    void quotedField(const QString& value, const FieldName& name) {
        m_out.append('"');
        if (value.contains(u'"') || !Cp932Codec::encode(value, m_out))
            throw Refusal{BwkWriter::checkQuotedField(value, name.text()).error()};
        m_out.append('"');
        m_out.append(kLineEnd);
    }

private:
    QByteArray& m_out;
};

// What a page shows just as the character at index, for a field that
// cannot hold the character itself; empty when nothing can stand in.
QString standInAt(QStringView value, qsizetype index) {
    const QChar character = value[index];
    if (character == u'"')
        return QStringLiteral("&quot;");
    if (character == u'\r' || character == u'\n')
        return {};
    return Cp932Codec::htmlReferenceAt(value, index);
}

// Why the field cannot hold the character at index, and on a line of its
// own what to type instead.
QString refusalAt(QStringView value, qsizetype index, const QString& name) {
    const QChar character = value[index];
    if (character == u'\r' || character == u'\n')
        return QStringLiteral(
                   "%1に改行を含めることはできません。\n改行を削除して1行にしてください。")
            .arg(name);
    if (character == u'"')
        return QStringLiteral("%1に半角の二重引用符（\"）を含めることはできません。\n"
                              "代わりに ” か &quot; と入力してください（&quot; はページで \" "
                              "と表示されます）。")
            .arg(name);
    const QString refusal = QStringLiteral("%1の文字%2はbwkファイルに保存できません。")
                                .arg(name, Cp932Codec::describeCharacterAt(value, index));
    const QString standIn = standInAt(value, index);
    if (standIn.isEmpty())
        return refusal + QStringLiteral("\nこの文字を削除してください。");
    return refusal +
           QStringLiteral(
               "\n代わりに %1 と入力してください（ページではこの文字として表示されます）。")
               .arg(standIn);
}

} // namespace

std::optional<qsizetype> BwkWriter::findUnstorable(QStringView value, FieldForm form) {
    // Only the text before the first line break or quote that the field
    // refuses needs encoding to find the first character it cannot hold.
    const auto* const refused = std::find_if(value.begin(), value.end(), [form](QChar character) {
        return form == FieldForm::Line ? character == u'\r' || character == u'\n'
                                       : character == u'"';
    });
    const qsizetype before = refused - value.begin();
    if (const auto unencodable = Cp932Codec::findUnencodable(value.first(before)))
        return unencodable;
    if (before < value.size())
        return before;
    return std::nullopt;
}

std::optional<QString> BwkWriter::withStandIns(QStringView value, FieldForm form) {
    QString result;
    qsizetype from = 0;
    while (const std::optional<qsizetype> found = findUnstorable(value.sliced(from), form)) {
        const qsizetype index = from + *found;
        const QString standIn = standInAt(value, index);
        if (standIn.isEmpty())
            return std::nullopt;
        result += value.sliced(from, index - from);
        result += standIn;
        from = index + Cp932Codec::characterLengthAt(value, index);
    }
    result += value.sliced(from);
    return result;
}

Status BwkWriter::checkField(const QString& value, FieldForm form, const QString& name) {
    if (const std::optional<qsizetype> index = findUnstorable(value, form))
        return Failure{refusalAt(value, *index, name)};
    return {};
}

Status BwkWriter::checkLineField(const QString& value, const QString& name) {
    return checkField(value, FieldForm::Line, name);
}

Status BwkWriter::checkQuotedField(const QString& value, const QString& name) {
    return checkField(value, FieldForm::Quoted, name);
}

Status BwkWriter::checkEntry(const QAEntry& entry) {
    if (Status checked = checkLineField(entry.question, QStringLiteral("質問")); !checked)
        return checked;
    return checkQuotedField(entry.answer, QStringLiteral("答え"));
}

Result<QByteArray> BwkWriter::encode(const DocumentInfo& document, const QAEntryTable& entries) {
    // Room for the whole file at once: growing a multi-megabyte array step by
    // step copies it each time. Two bytes per character at most, plus the
    // quotes, line ends and icon line of each entry.
    QByteArray out;
    qsizetype estimate = 64;
    for (const BwkHeaderField& field : kBwkHeader)
        estimate += 4 + 2 * (document.*field.member).size();
    for (const QAEntry& entry : entries)
        estimate += 16 + 2 * (entry.question.size() + entry.answer.size());
    out.reserve(estimate);

    FieldWriter fields(out);
    try {
        for (const BwkHeaderField& field : kBwkHeader)
            fields.headerField(document, field);
        qsizetype position = 0;
        for (const QAEntry& entry : entries) {
            ++position;
            out.append(entry.isEnabled() ? '1' : '2');
            out.append(kLineEnd);
            fields.lineField(entry.question, FieldName(u"質問", position));
            fields.quotedField(entry.answer, FieldName(u"答え", position));
        }
    } catch (const Refusal& refusal) {
        return Failure{refusal.message};
    }
    return out;
}

Status BwkWriter::writeFile(const QString& path, const DocumentInfo& document,
                            const QAEntryTable& entries) {
    const Result<QByteArray> encoded = encode(document, entries);
    if (!encoded)
        return encoded.failure();
    return FileWriter::replaceAtomically(path, *encoded);
}
