#include "project/CsvReader.h"

#include "project/BwkWriter.h"
#include "project/CsvRecordReader.h"
#include "text/Cp932Codec.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

namespace {

enum class Column { Question, Answer, Enabled };

struct ColumnName {
    Column column;
    const char16_t* japanese;
    QLatin1StringView english;
};

const std::array<ColumnName, 3> kColumnNames{{
    {Column::Question, u"質問", QLatin1StringView("question")},
    {Column::Answer, u"回答", QLatin1StringView("answer")},
    {Column::Enabled, u"有効", QLatin1StringView("enabled")},
}};

struct EnabledWord {
    const char16_t* word;
    bool enabled;
};

const EnabledWord kEnabledWords[] = {
    {u"1", true},    {u"0", false},      {u"TRUE", true}, {u"FALSE", false},
    {u"はい", true}, {u"いいえ", false}, {u"yes", true},  {u"no", false},
};

// Why the file is not read; row 0 when no single cell is to blame.
struct Refusal {
    int row = 0;
    int column = 0;
    QString reason;
};

QString formatCount(qsizetype count) {
    return QLocale(QLocale::English).toString(count);
}

std::optional<Column> columnNamed(QStringView cell) {
    const QStringView name = cell.trimmed();
    for (const ColumnName& known : kColumnNames) {
        if (name == QStringView(known.japanese) ||
            name.compare(known.english, Qt::CaseInsensitive) == 0)
            return known.column;
    }
    return std::nullopt;
}

// A record with nothing in any cell, as spreadsheets write below a table.
// An entry with an empty question and answer still has its enabled cell, so
// it comes back as it was written.
bool isBlank(const QList<QString>& fields) {
    return std::all_of(fields.cbegin(), fields.cend(),
                       [](const QString& field) { return field.isEmpty(); });
}

// Turns the records of a file into entries, refusing the file at the first
// cell that cannot become part of an entry.
class EntryReader {
public:
    explicit EntryReader(qsizetype existingCount)
        : m_existingCount(existingCount) {}

    QAEntryTable read(QStringView text) {
        CsvRecordReader records(text);
        QList<QString> fields;
        for (;;) {
            const CsvRecordReader::Outcome outcome = records.next(fields);
            if (outcome == CsvRecordReader::Outcome::End)
                break;
            if (outcome == CsvRecordReader::Outcome::UnclosedQuote)
                throw Refusal{records.row(), records.column(),
                              QStringLiteral("引用符（\"）が閉じられていません。")};
            if (isBlank(fields))
                continue;
            if (m_columns.isEmpty() && readHeader(fields, records.row()))
                continue;
            addEntry(fields, records.row());
        }
        checkCeiling();
        return std::move(m_entries);
    }

private:
    // Takes the columns from the first record when it is a header, and
    // otherwise the default order, which the record is then read in.
    bool readHeader(const QList<QString>& fields, int row) {
        qsizetype named = fields.size();
        while (named > 0 && fields.at(named - 1).trimmed().isEmpty())
            --named;
        QList<Column> columns;
        for (qsizetype i = 0; i < named; ++i) {
            const std::optional<Column> column = columnNamed(fields.at(i));
            if (!column)
                break;
            columns.append(*column);
        }
        if (columns.size() != named || !columns.contains(Column::Question)) {
            m_columns = {Column::Question, Column::Answer, Column::Enabled};
            return false;
        }
        for (qsizetype i = 1; i < named; ++i) {
            if (columns.first(i).contains(columns.at(i)))
                throw Refusal{row, int(i) + 1,
                              QStringLiteral("見出し「%1」が2つあります。").arg(fields.at(i))};
        }
        m_columns = columns;
        m_hasHeader = true;
        return true;
    }

    void addEntry(QList<QString>& fields, int row) {
        QAEntry entry;
        entry.icon = QAEntry::kEnabledIcon;
        int questionColumn = 0;
        int answerColumn = 0;
        int enabledColumn = 0;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const int column = int(i) + 1;
            if (i >= m_columns.size()) {
                if (!fields.at(i).isEmpty())
                    throw Refusal{row, column, extraValueReason()};
                continue;
            }
            switch (m_columns.at(i)) {
            case Column::Question:
                entry.question = std::move(fields[i]);
                questionColumn = column;
                break;
            case Column::Answer:
                entry.answer = std::move(fields[i]);
                answerColumn = column;
                break;
            case Column::Enabled:
                enabledColumn = column;
                break;
            }
        }
        checkStorable(BwkWriter::checkLineField(entry.question, QStringLiteral("質問")), row,
                      questionColumn);
        checkStorable(BwkWriter::checkQuotedField(entry.answer, QStringLiteral("回答")), row,
                      answerColumn);
        if (enabledColumn > 0 && !isEnabled(fields.at(enabledColumn - 1), row, enabledColumn))
            entry.icon = QAEntry::kDisabledIcon;
        ++m_count;
        if (m_existingCount + m_count <= CsvReader::kEntryLimit)
            m_entries.append(std::move(entry));
    }

    QString extraValueReason() const {
        if (m_hasHeader)
            return QStringLiteral("見出しのない列に値があります。\n"
                                  "見出しを付けるか、値を削除してから読み込んでください。");
        return QStringLiteral("質問・回答・有効の3列より右に値があります。\n"
                              "余分な値を削除してから読み込んでください。");
    }

    // The message of the project file's check says what to type instead.
    static void checkStorable(const Status& storable, int row, int column) {
        if (!storable)
            throw Refusal{row, column, storable.error()};
    }

    static bool isEnabled(const QString& cell, int row, int column) {
        const QStringView value = QStringView(cell).trimmed();
        if (value.isEmpty())
            return true;
        for (const EnabledWord& known : kEnabledWords) {
            if (value.compare(QStringView(known.word), Qt::CaseInsensitive) == 0)
                return known.enabled;
        }
        throw Refusal{row, column,
                      QStringLiteral("有効の値「%1」を読み取れません。\n1か0、TRUEかFALSE、"
                                     "はいかいいえ、yesかnoのどれかで書いてください。")
                          .arg(cell)};
    }

    void checkCeiling() const {
        const qsizetype total = m_existingCount + m_count;
        if (total <= CsvReader::kEntryLimit)
            return;
        const QString count =
            m_existingCount == 0
                ? QStringLiteral("このファイルには%1件あります。").arg(formatCount(m_count))
                : QStringLiteral("プロジェクトの%1件と合わせて%2件になります。")
                      .arg(formatCount(m_existingCount), formatCount(total));
        throw Refusal{0, 0,
                      QStringLiteral("項目は%1件までです。%2\n"
                                     "ファイルを分けるか、項目を減らしてから読み込んでください。")
                          .arg(formatCount(CsvReader::kEntryLimit), count)};
    }

    qsizetype m_existingCount;
    qsizetype m_count = 0;
    QList<Column> m_columns;
    bool m_hasHeader = false;
    QAEntryTable m_entries;
};

QString messageOf(const Refusal& refusal, const QString& fileName) {
    if (refusal.row == 0)
        return refusal.reason;
    const QString file = fileName.isEmpty() ? QString() : QStringLiteral("「%1」の").arg(fileName);
    return QStringLiteral("%1%2行目、%3列を読み込めません。%4")
        .arg(file)
        .arg(refusal.row)
        .arg(CsvReader::columnName(refusal.column), refusal.reason);
}

Result<QAEntryTable> readNamed(QByteArrayView bytes, qsizetype existingCount,
                               const QString& fileName) {
    try {
        return EntryReader(existingCount).read(CsvReader::decode(bytes));
    } catch (const Refusal& refusal) {
        return Failure{messageOf(refusal, fileName)};
    }
}

} // namespace

Result<QAEntryTable> CsvReader::read(QByteArrayView bytes, qsizetype existingCount) {
    return readNamed(bytes, existingCount, QString());
}

Result<QAEntryTable> CsvReader::readFile(const QString& path, qsizetype existingCount) {
    const Result<QByteArray> bytes = TextFile::readBytes(path);
    if (!bytes)
        return bytes.failure();
    return readNamed(*bytes, existingCount, QFileInfo(path).fileName());
}

QString CsvReader::decode(QByteArrayView bytes) {
    const QByteArrayView byteOrderMark("\xEF\xBB\xBF");
    // After the mark the bytes are UTF-8 whatever they hold: what cannot be
    // read becomes U+FFFD, which the check of every cell then refuses.
    if (bytes.startsWith(byteOrderMark))
        return QString::fromUtf8(bytes.sliced(byteOrderMark.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Cp932Codec::decode(bytes);
}

QString CsvReader::columnName(int column) {
    QString name;
    for (int rest = column; rest > 0; rest = (rest - 1) / 26)
        name.prepend(QChar(u'A' + (rest - 1) % 26));
    return name;
}
