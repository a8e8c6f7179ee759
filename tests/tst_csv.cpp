#include "TestDesigns.h"
#include "project/CsvReader.h"
#include "project/CsvWriter.h"
#include "text/Cp932Codec.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kFixtures = QStringLiteral(BRINDLEWICK_SOURCE_DIR "/tests/csv/");

// The entries every spreadsheet-made fixture holds (tests/csv/README.md).
QAEntryTable shopEntries() {
    QAEntryTable entries;
    entries.append({u"営業時間を教えてください"_s,
                    u"平日は10時から19時まで、\r\n土日祝は11時から18時までです。"_s, 1});
    entries.append({u"\"煎茶\"と「ほうじ茶」、どちらがおすすめ？"_s,
                    u"どちらも人気です。\r\n\r\n季節の限定品もあります。"_s, 1});
    entries.append({u"クーポンコードは？"_s, u"0012"_s, 2});
    entries.append({u"送料はいくらですか"_s, u"3,000円〜5,000円です。"_s, 1});
    entries.append({u"準備中の質問"_s, QString(), 2});
    entries.append({u" 茶葉の保存方法は？"_s, u"冷暗所で保存してください。 "_s, 1});
    return entries;
}

// The entries as they come back from code page 932: 〜 becomes ～.
QAEntryTable readBack(const QAEntryTable& entries) {
    QAEntryTable back;
    for (const QAEntry& entry : entries)
        back.append({Cp932Codec::asReadBack(entry.question), Cp932Codec::asReadBack(entry.answer),
                     entry.icon});
    return back;
}

// One line per entry, "icon|question|answer", or the refusal, for
// comparisons that show what differs.
QStringList linesOf(const Result<QAEntryTable>& read) {
    if (!read)
        return {u"refused: "_s + read.error()};
    QStringList lines;
    for (const QAEntry& entry : *read)
        lines << u"%1|%2|%3"_s.arg(entry.icon).arg(entry.question, entry.answer);
    return lines;
}

// A file of count records "qN,aN" after the header.
QByteArray generatedFile(int count) {
    QByteArray bytes = "question,answer\n";
    for (int i = 1; i <= count; ++i)
        bytes += "q" + QByteArray::number(i) + ",a\n";
    return bytes;
}

} // namespace

class CsvTest : public QObject {
    Q_OBJECT

private slots:
    void readsWhatSpreadsheetsWrite_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("codePage932");
        QTest::newRow("our UTF-8 export") << u"exported-utf8.csv"_s << false;
        QTest::newRow("our code page 932 export") << u"exported-cp932.csv"_s << true;
        QTest::newRow("Calc, UTF-8 without BOM, LF") << u"calc-utf8.csv"_s << false;
        QTest::newRow("Calc, code page 932") << u"calc-cp932.csv"_s << true;
        QTest::newRow("Calc, no header") << u"calc-no-header.csv"_s << false;
        QTest::newRow("Calc, TRUE and FALSE") << u"calc-true-false.csv"_s << false;
        QTest::newRow("Calc, English header in another order")
            << u"calc-english-header.csv"_s << false;
        QTest::newRow("Excel layout, UTF-8 with BOM") << u"excel-utf8-bom.csv"_s << false;
        QTest::newRow("Excel layout, code page 932") << u"excel-cp932.csv"_s << true;
    }

    void readsWhatSpreadsheetsWrite() {
        QFETCH(QString, file);
        QFETCH(bool, codePage932);
        const QAEntryTable expected = codePage932 ? readBack(shopEntries()) : shopEntries();
        QCOMPARE(linesOf(CsvReader::readFile(kFixtures + file)), linesOf(expected));
        // Our own exports, byte for byte.
        if (file.startsWith(u"exported-"_s)) {
            const auto encoding =
                codePage932 ? CsvWriter::Encoding::Cp932 : CsvWriter::Encoding::Utf8;
            QCOMPARE(CsvWriter::write(shopEntries(), encoding).value(),
                     readFileBytes(kFixtures + file));
        }
    }

    void readsRecordShapes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        // clang-format off
        QTest::newRow("CR between records, no final line break") << QByteArray("q1,a1\rq2,a2") << QStringList{u"1|q1|a1"_s, u"1|q2|a2"_s};
        QTest::newRow("blank records skipped, an empty entry kept") << QByteArray("\r\n\nq1,a1\r\n\r\n,,\n,,0\nq2\n") << QStringList{u"1|q1|a1"_s, u"2||"_s, u"1|q2|"_s};
        QTest::newRow("every line break in a field becomes CR LF") << QByteArray("q,\"1\r2\n3\r\n4\"") << QStringList{u"1|q|1\r\n2\r\n3\r\n4"_s};
        QTest::newRow("doubled quotes and text after the closing quote") << QByteArray("\"a \"\"b\"\"\" c,\"x\"y") << QStringList{u"1|a \"b\" c|xy"_s};
        QTest::newRow("a quote inside an unquoted field is text") << QByteArray("5\" pot,x") << QStringList{u"1|5\" pot|x"_s};
        QTest::newRow("enabled words in any case") << QByteArray("a,,true\nb,,False\nc,,はい\nd,,いいえ\ne,,YES\nf,,no\ng,, 1 \nh,,0\ni,,") << QStringList{u"1|a|"_s, u"2|b|"_s, u"1|c|"_s, u"2|d|"_s, u"1|e|"_s, u"2|f|"_s, u"1|g|"_s, u"2|h|"_s, u"1|i|"_s};
        QTest::newRow("header of the question alone") << QByteArray(" Question \nq1\nq2,,\n") << QStringList{u"1|q1|"_s, u"1|q2|"_s};
        QTest::newRow("header without the question is an entry") << QByteArray("回答,有効\nq,a") << QStringList{u"1|回答|有効"_s, u"1|q|a"_s};
        QTest::newRow("an answer without a question") << QByteArray(",a") << QStringList{u"1||a"_s};
        QTest::newRow("code page 932 without a header") << QByteArray("\x8e\xbf\x96\xe2,\x89\xf1\x93\x9a,0") << QStringList{u"2|質問|回答"_s};
        // clang-format on
    }

    void readsRecordShapes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QCOMPARE(linesOf(CsvReader::read(bytes)), entries);
    }

    void refusalsNameTheRowAndColumn_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("unclosed quote") << u"broken-unclosed-quote.csv"_s << QByteArray() << u"「broken-unclosed-quote.csv」の5行目、B列を読み込めません。引用符（\"）が閉じられていません。"_s;
        QTest::newRow("value beyond the columns") << u"broken-extra-column.csv"_s << QByteArray() << u"「broken-extra-column.csv」の3行目、D列を読み込めません。見出しのない列に値があります。"_s;
        QTest::newRow("emoji") << u"broken-emoji.csv"_s << QByteArray() << u"「broken-emoji.csv」の4行目、B列を読み込めません。回答の文字「😀」(U+1F600)はbwkファイルに保存できません。"_s;
        QTest::newRow("missing file") << u"missing.csv"_s << QByteArray() << u"ファイル「%1missing.csv」を開けません"_s.arg(kFixtures);
        QTest::newRow("value beyond a short header") << QString() << QByteArray("question\nq,a") << u"2行目、B列を読み込めません。見出しのない列"_s;
        QTest::newRow("value beyond the three columns") << QString() << QByteArray("q,a,1,,x") << u"1行目、E列を読み込めません。質問・回答・有効の3列より右に値があります。"_s;
        QTest::newRow("unknown enabled value") << QString() << QByteArray("enabled,question\n1,q\nたぶん,q") << u"3行目、A列を読み込めません。有効の値「たぶん」を読み取れません。"_s;
        QTest::newRow("line break in a question") << QString() << QByteArray("answer,enabled,question\na,,\"q\nq\"") << u"2行目、C列を読み込めません。質問に改行を含めることはできません。"_s;
        QTest::newRow("quote in an answer") << QString() << QByteArray("q,\"say \"\"hi\"\"\"") << u"1行目、B列を読み込めません。回答に半角の二重引用符"_s;
        QTest::newRow("header named twice") << QString() << QByteArray("質問,Question") << u"1行目、B列を読み込めません。見出し「Question」が2つあります。"_s;
        QTest::newRow("undecodable code page 932") << QString() << QByteArray("q,\x81") << u"1行目、B列を読み込めません。回答の文字「\uFFFD」"_s;
        // clang-format on
    }

    void refusalsNameTheRowAndColumn() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const Result<QAEntryTable> read =
            file.isEmpty() ? CsvReader::read(bytes) : CsvReader::readFile(kFixtures + file);
        QVERIFY(!read);
        QVERIFY2(read.error().startsWith(message), qPrintable(read.error()));
    }

    void refusesMoreThanTheEntryLimit() {
        QCOMPARE(CsvReader::read(generatedFile(32767)).value().count(), 32767);
        QCOMPARE(CsvReader::read(generatedFile(32768)).error().section(u'\n', 0, 0),
                 u"項目は32,767件までです。このファイルには32,768件あります。"_s);
        QCOMPARE(CsvReader::read(generatedFile(32000), 768).error().section(u'\n', 0, 0),
                 u"項目は32,767件までです。プロジェクトの768件と合わせて32,768件になります。"_s);
    }

    void roundTripKeepsTrickyText_data() {
        QTest::addColumn<CsvWriter::Encoding>("encoding");
        QTest::newRow("UTF-8") << CsvWriter::Encoding::Utf8;
        QTest::newRow("code page 932") << CsvWriter::Encoding::Cp932;
    }

    void roundTripKeepsTrickyText() {
        QFETCH(CsvWriter::Encoding, encoding);
        QAEntryTable entries = shopEntries();
        entries.append({u"質問"_s, u"有効"_s, 1});
        entries.append({u"a,b"_s, u"007"_s, 2});
        entries.append({u"\"\""_s, u"\t字下げ\r\n  二行目\r\n"_s, 1});
        entries.append({u"〜−—‖¢£¬"_s, u"TRUE"_s, 2});
        const Result<QByteArray> written = CsvWriter::write(entries, encoding);
        QVERIFY2(written, qPrintable(written.error()));
        const bool cp932 = encoding == CsvWriter::Encoding::Cp932;
        QCOMPARE(linesOf(CsvReader::read(*written)), linesOf(cp932 ? readBack(entries) : entries));
    }

    // A project opened with undecodable bytes holds U+FFFD, which code page
    // 932 cannot store; UTF-8 can.
    void codePage932ExportNamesWhatItCannotStore() {
        QAEntryTable entries = shopEntries();
        entries.append({u"q"_s, u"壊れた\uFFFD文字"_s, 1});
        const Result<QByteArray> written = CsvWriter::write(entries, CsvWriter::Encoding::Cp932);
        QVERIFY(!written);
        QVERIFY2(written.error().startsWith(u"7番目の項目の回答の文字「\uFFFD」(U+FFFD)"_s),
                 qPrintable(written.error()));
        QVERIFY(CsvWriter::write(entries, CsvWriter::Encoding::Utf8));
    }
};

QTEST_GUILESS_MAIN(CsvTest)
#include "tst_csv.moc"
