#include "project/BwkReader.h"

#include "project/BwkHeader.h"
#include "text/Cp932Codec.h"
#include "text/LineReader.h"
#include "text/TextFile.h"

#include <vector>

namespace {

// The text of a field. Each field of a file read as bytes is decoded into a
// scratch buffer and then copied at its exact length: decoded in place, a
// field would keep room for one character per byte, twice what Japanese text
// needs.
class FieldText {
public:
    QString operator()(QStringView text) { return text.toString(); }

    QString operator()(QByteArrayView bytes) {
        if (m_scratch.size() < std::size_t(bytes.size()))
            m_scratch.resize(std::size_t(bytes.size()));
        const qsizetype length = Cp932Codec::decodeInto(bytes, m_scratch.data());
        return QString(reinterpret_cast<const QChar*>(m_scratch.data()), length);
    }

private:
    std::vector<char16_t> m_scratch;
};

// Reads the fields of a project file front to back, from decoded text or
// from the file's bytes, decoding field by field. Every read that cannot be
// satisfied throws, carrying the line where the file went wrong.
template <typename View>
class FieldReader {
public:
    struct Damage {
        QString message;
    };

    explicit FieldReader(View text)
        : m_lines(text) {}

    bool atEnd() const { return m_lines.atEnd(); }
    int firstUndecodableLine() const { return m_firstUndecodableLine; }

    QString headerField(const BwkHeaderField& field) {
        return field.form == BwkHeaderField::Form::Quoted ? quotedField(field.name)
                                                          : lineField(field.name);
    }

    QString lineField(QStringView name) {
        if (m_lines.atEnd())
            fail(QStringLiteral("%1がありません（ファイルが途中で終わっています）").arg(name));
        const int line = m_lines.lineNumber();
        return noted(m_toText(m_lines.readLine()), line);
    }

    QString quotedField(QStringView name) {
        const View text = m_lines.text();
        const qsizetype open = m_lines.position();
        const int line = m_lines.lineNumber();
        if (m_lines.atEnd())
            fail(QStringLiteral("%1がありません（ファイルが途中で終わっています）").arg(name));
        if (text[open] != u'"')
            fail(QStringLiteral("%1が引用符で始まっていません").arg(name));
        const qsizetype close = Lines::indexOf(text, u'"', open + 1);
        if (close < 0)
            fail(QStringLiteral("%1を閉じる引用符がありません").arg(name));
        m_lines.advanceTo(close + 1);
        if (!m_lines.atEnd() && Lines::lineEndLength(text, close + 1) == 0)
            fail(QStringLiteral("%1が引用符で終わっていません").arg(name));
        m_lines.readLine();
        return noted(m_toText(text.sliced(open + 1, close - open - 1)), line);
    }

    int iconField() {
        const int line = m_lines.lineNumber();
        const QString value = lineField(QStringLiteral("有効・無効の行"));
        bool ok = false;
        const short icon = value.toShort(&ok);
        if (!ok)
            fail(QStringLiteral("有効・無効の行「%1」が整数ではありません").arg(value), line);
        return icon;
    }

private:
    // Keeps the line of the first character that decoding replaced; the
    // field began on firstLine.
    QString noted(QString field, int firstLine) {
        if (m_firstUndecodableLine > 0)
            return field;
        const qsizetype replaced = field.indexOf(QChar::ReplacementCharacter);
        if (replaced >= 0) {
            LineReader lines(field);
            lines.advanceTo(replaced);
            m_firstUndecodableLine = firstLine + lines.lineNumber() - 1;
        }
        return field;
    }

    [[noreturn]] void fail(const QString& what) { fail(what, m_lines.lineNumber()); }
    [[noreturn]] static void fail(const QString& what, int line) {
        throw Damage{QStringLiteral("%1行目: %2").arg(line).arg(what)};
    }

    using Lines = BasicLineReader<View>;
    Lines m_lines;
    FieldText m_toText;
    int m_firstUndecodableLine = 0;
};

template <typename View>
Result<BwkReader::Opened> parseFields(View text) {
    FieldReader<View> fields(text);
    Project project;
    DocumentInfo& doc = project.document;
    try {
        for (const BwkHeaderField& field : kBwkHeader)
            doc.*field.member = fields.headerField(field);
        while (!fields.atEnd()) {
            const int icon = fields.iconField();
            QAEntry entry;
            entry.question = fields.lineField(QStringLiteral("質問"));
            entry.answer = fields.quotedField(QStringLiteral("答え"));
            entry.icon = icon;
            project.entries.append(std::move(entry));
        }
    } catch (const typename FieldReader<View>::Damage& damage) {
        return Failure{damage.message};
    }
    return BwkReader::Opened{std::move(project), fields.firstUndecodableLine()};
}

Result<Project> projectOf(Result<BwkReader::Opened> opened) {
    if (!opened)
        return opened.failure();
    return std::move(opened->project);
}

} // namespace

Result<BwkReader::Opened> BwkReader::openFile(const QString& path) {
    const Result<QByteArray> bytes = TextFile::readBytes(path);
    if (!bytes)
        return bytes.failure();
    return openBytes(*bytes);
}

Result<BwkReader::Opened> BwkReader::openBytes(QByteArrayView bytes) {
    return parseFields(bytes);
}

Result<Project> BwkReader::readFile(const QString& path) {
    return projectOf(openFile(path));
}

Result<Project> BwkReader::parse(QStringView text) {
    return projectOf(parseFields(text));
}

Result<Project> BwkReader::parseBytes(QByteArrayView bytes) {
    return projectOf(openBytes(bytes));
}
