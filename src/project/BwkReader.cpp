#include "project/BwkReader.h"

#include "app/TextFile.h"

namespace {

// Reads the fields of a project file front to back. Every read that cannot
// be satisfied throws, carrying the line where the file went wrong.
class FieldReader {
public:
    struct Damage {
        QString message;
    };

    explicit FieldReader(QStringView text)
        : m_lines(text) {}

    bool atEnd() const { return m_lines.atEnd(); }

    QString lineField(const QString& name) {
        if (m_lines.atEnd())
            fail(QStringLiteral("%1がありません（ファイルが途中で終わっています）").arg(name));
        return m_lines.readLine().toString();
    }

    QString quotedField(const QString& name) {
        const QStringView text = m_lines.text();
        const qsizetype open = m_lines.position();
        if (m_lines.atEnd())
            fail(QStringLiteral("%1がありません（ファイルが途中で終わっています）").arg(name));
        if (text[open] != u'"')
            fail(QStringLiteral("%1が引用符で始まっていません").arg(name));
        const qsizetype close = text.indexOf(u'"', open + 1);
        if (close < 0)
            fail(QStringLiteral("%1を閉じる引用符がありません").arg(name));
        m_lines.advanceTo(close + 1);
        if (!m_lines.atEnd() && LineReader::lineEndLength(text, close + 1) == 0)
            fail(QStringLiteral("%1が引用符で終わっていません").arg(name));
        m_lines.readLine();
        return text.sliced(open + 1, close - open - 1).toString();
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
    [[noreturn]] void fail(const QString& what) { fail(what, m_lines.lineNumber()); }
    [[noreturn]] static void fail(const QString& what, int line) {
        throw Damage{QStringLiteral("%1行目: %2").arg(line).arg(what)};
    }

    LineReader m_lines;
};

} // namespace

BwkReader::Result BwkReader::readFile(const QString& path) {
    QString error;
    const std::optional<QString> text = TextFile::read(path, &error);
    if (!text)
        return {std::nullopt, error};
    return parse(*text);
}

BwkReader::Result BwkReader::parse(QStringView text) {
    FieldReader fields(text);
    BwkProject project;
    DocumentInfo& doc = project.document;
    try {
        doc.DocumentTitle = fields.lineField(QStringLiteral("タイトル"));
        doc.DocumentHomepage = fields.lineField(QStringLiteral("ホームページ"));
        doc.DocumentMail = fields.lineField(QStringLiteral("メールアドレス"));
        doc.DocumentCreater = fields.lineField(QStringLiteral("作成者"));
        doc.DocumentCode = fields.lineField(QStringLiteral("デザインファイル"));
        doc.DocumentCodeFolder = fields.lineField(QStringLiteral("デザインフォルダ"));
        doc.DocumentDataview = fields.quotedField(QStringLiteral("説明"));
        while (!fields.atEnd()) {
            const int icon = fields.iconField();
            QAEntry entry;
            entry.question = fields.lineField(QStringLiteral("質問"));
            entry.answer = fields.quotedField(QStringLiteral("答え"));
            entry.icon = icon;
            project.entries.append(std::move(entry));
        }
    } catch (const FieldReader::Damage& damage) {
        return {std::nullopt, damage.message};
    }
    return {std::move(project), QString()};
}
