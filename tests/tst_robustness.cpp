// Hostile and broken input: files of hundreds of megabytes, designs that are
// one enormous line or nothing but brackets, NUL bytes and bytes that are no
// code page 932 at all. Each must end with the right result or a clear error.
// How the time grows with the size is measured by the benchmarks
// (bench/HostileInputBenchmarks.cpp); here every input is made once, in
// memory or in a temporary folder.

#include "EngineTestHelpers.h"
#include "TestDesigns.h"
#include "design/Procode.h"
#include "design/WrepClass.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "project/ClipboardEntry.h"
#include "text/Cp932Codec.h"
#include "text/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray
    kHeader("Title\r\nhttp://h/\r\nm@h\r\nAnn\r\nstandard\\faq.ddc\r\nstandard\r\n\"d\"\r\n");

QByteArray entryBytes(const QByteArray& question, const QByteArray& answer, char icon = '1') {
    return QByteArray(1, icon) + "\r\n" + question + "\r\n\"" + answer + "\"\r\n";
}

QString repeated(QStringView piece, qsizetype times) {
    return piece.toString().repeated(times);
}

} // namespace

class RobustnessTest : public QObject {
    Q_OBJECT

private slots:
    void hundredMegabyteProjectFile() {
        // A hundred entries of a megabyte each: kana, ASCII and line breaks.
        const QByteArray answer = QByteArray("\x82\xA0\x82\xA2 FAQ\r\n").repeated(100'000);
        QByteArray bytes = kHeader;
        bytes.reserve(kHeader.size() + 100 * (answer.size() + 32));
        for (int i = 1; i <= 100; ++i)
            bytes += entryBytes("Q" + QByteArray::number(i), answer, i % 10 ? '1' : '2');
        QVERIFY(bytes.size() > 100'000'000);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"huge.bwk"_s);
        writeFileBytes(path, bytes);
        bytes.clear();
        const Result<Project> read = BwkReader::readFile(path);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->entries.count(), 100);
        const QAEntry& last = read->entries.item(100);
        QCOMPARE(last.question, u"Q100"_s);
        QCOMPARE(last.answer.size(), qsizetype(800'000));
        QVERIFY(last.answer.startsWith(u"あい FAQ\r\nあい"_s));
        QVERIFY(!last.isEnabled());
    }

    void bytesAndTextReadAlike_data() {
        // Files are read as bytes and decoded field by field; the result must
        // be that of decoding the whole file first, damage included; the
        // first line with undecodable bytes is known (the header has 7).
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("undecodableLine");
        const QByteArray entry = entryBytes("Q", "A\r\nB");
        // clang-format off
        QTest::newRow("whole") << kHeader + entry + entryBytes("\x82\xA0", "\x83\x5B]", '2') << 0;
        QTest::newRow("lead byte before the line end") << kHeader + entryBytes("Q\x81", "\x80") << 9;
        QTest::newRow("lead byte before the closing quote") << kHeader + entryBytes("Q", "A\x9F") << 10;
        QTest::newRow("third line of an answer") << kHeader + entryBytes("Q", "A\r\nB\rC\x80") << 12;
        QTest::newRow("lead byte at the end of the file") << kHeader + "1\r\nQ\x81" << 0;
        QTest::newRow("lone CR and LF") << kHeader + "1\rQ\n\r\"A\rB\"\r" << 0;
        QTest::newRow("CR LF split by the closing quote") << kHeader + "1\r\nQ\r\n\"A\r\"\n" << 0;
        QTest::newRow("icon not a number") << kHeader + entryBytes("Q", "A", '\x81') << 0;
        QTest::newRow("unclosed answer") << kHeader + "1\r\nQ\r\n\"A\x82\xA0\r\n" << 0;
        QTest::newRow("NUL bytes") << kHeader + entryBytes(QByteArray(2, '\0'), QByteArray(3, '\0')) << 0;
        // clang-format on
    }

    void bytesAndTextReadAlike() {
        QFETCH(QByteArray, file);
        QFETCH(int, undecodableLine);
        const Result<Project> text = BwkReader::parse(Cp932Codec::decode(file));
        const Result<BwkReader::Opened> bytes = BwkReader::openBytes(file);
        QCOMPARE(bytes.error(), text.error());
        QVERIFY(!text || bytes->project == *text);
        QCOMPARE(bytes ? bytes->firstUndecodableLine : 0, undecodableLine);
    }

    void hundredMegabyteDescriptionNeverClosed() {
        const QByteArray bytes = kHeader.left(kHeader.lastIndexOf("\"d\"")) + "\"" +
                                 QByteArray("line of text\r\n").repeated(7'200'000);
        QVERIFY(bytes.size() > 100'000'000);
        const QString error = BwkReader::parse(Cp932Codec::decode(bytes)).error();
        QVERIFY2(error.startsWith(u"7行目:"_s), qPrintable(error));
        QVERIFY2(error.contains(u"閉じる引用符"_s), qPrintable(error));
    }

    void designOfOneFiftyMegabyteLine() {
        const qsizetype length = 50'000'000;
        const QString design =
            u"[document.title]"_s + QString(length, u'x') + u"[document.title]"_s;
        const QString page = run(design);
        QCOMPARE(page.size(), length + 2 * 6 + 2);
        QVERIFY(page.startsWith(u"Samplexxx"_s));
        QVERIFY(page.endsWith(u"xxxSample\r\n"_s));
    }

    void millionsOfBrackets_data() {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("page");
        const qsizetype million = 1'000'000;
        // clang-format off
        QTest::newRow("double opens") << repeated(u"[[", million / 2) + u"end"_s << u"end\r\n"_s;
        QTest::newRow("keys never closed") << repeated(u"[a", million) << QString();
        QTest::newRow("loops never closed") << repeated(u"[loop::]", million) << QString();
        QTest::newRow("stray closes") << repeated(u"]", million) + u"!"_s << u"!\r\n"_s;
        QTest::newRow("stray loop ends") << u"[loop::]a[::loop]"_s + repeated(u"[::loop]", million) << u"aaa\r\n"_s;
        QTest::newRow("one loop, a million keys") << u"[loop::]"_s + repeated(u"[count.selected]", million) + u"[::loop]"_s << repeated(u"1", million) + repeated(u"2", million) + repeated(u"3", million) + u"\r\n"_s;
        // clang-format on
    }

    void millionsOfBrackets() {
        QFETCH(QString, design);
        QFETCH(QString, page);
        QCOMPARE(run(design), page);
    }

    void tenMegabyteKeysAndValues() {
        const qsizetype size = 10'000'000;
        const QString filler(size, u'x');
        QCOMPARE(run(u'<' + (u'[' + filler + u']') + u'>'), u"<>\r\n"_s);
        QCOMPARE(run(u"<[document.title"_s + filler + u"]>"_s), u"<>\r\n"_s);
        QCOMPARE(run(u"[loop::]["_s + filler + u"][question.][::loop]"_s), u"How?Why?\r\n"_s);

        Project project = sampleProject();
        project.document.DocumentTitle = filler;
        project.entries.item(3).answer = filler;
        const QString page = run(project, u"[document.title][loop::][answer.][::loop]"_s);
        QCOMPARE(page.size(), 2 * size + qsizetype(std::size(u"Like this.") - 1) + 2);
    }

    void twoHundredThousandEntries() {
        const int count = 200'000;
        Project project;
        project.document.DocumentTitle = u"大きな FAQ"_s;
        project.entries.reserve(count);
        for (int i = 1; i <= count; ++i)
            project.entries.append(
                QAEntry{u"質問%1"_s.arg(i), u"答え%1\r\n二行目"_s.arg(i),
                        i % 10 ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon});

        QTemporaryDir dir;
        const QString path = dir.filePath(u"many.bwk"_s);
        QVERIFY(BwkWriter::writeFile(path, project.document, project.entries).ok());
        const Result<Project> read = BwkReader::readFile(path);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QVERIFY(*read == project);

        const QString page =
            run(project, u"[count.][loop::]<[count.selected]:[question.]>[::loop]"_s);
        QVERIFY(page.startsWith(u"200000<1:質問1><2:質問2>"_s));
        QVERIFY(page.endsWith(u"<199999:質問199999><200000:>\r\n"_s));
    }

    void nulBytesEverywhere() {
        const QByteArray nul(1, '\0');
        const QByteArray file = "T" + nul + "\r\n" + nul + "\r\nm\r\nA\r\nx\r\nf\r\n\"" + nul +
                                "\"\r\n" + entryBytes("Q" + nul, nul + "A\r\n" + nul);
        const Result<Project> read = BwkReader::parse(Cp932Codec::decode(file));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->document.DocumentTitle, u"T"_s + QChar(0));
        QCOMPARE(read->entries.item(1).answer, QChar(0) + u"A\r\n"_s + QChar(0));
        QCOMPARE(*BwkWriter::encode(read->document, read->entries), file);

        const QString page = run(QChar(0) + u"[document.title]"_s + QChar(0));
        QCOMPARE(page, QChar(0) + u"Sample"_s + QChar(0) + u"\r\n"_s);
        QByteArray encoded;
        Cp932Codec::encodeForHtml(page, encoded);
        QCOMPARE(encoded, nul + "Sample" + nul + "\r\n");

        const auto entry = ClipboardEntry::parse(u"BWK1.21Q"_s + QChar(0) + u"\r\n"_s + QChar(0));
        QVERIFY(entry);
        QCOMPARE(entry->question, u"Q"_s + QChar(0));
        QCOMPARE(entry->answer, QString(QChar(0)));

        const auto procode = Procode::parse(Cp932Codec::decode("name" + nul + "\r\nbase\r\n"));
        QCOMPARE(procode.displayName(), u"name"_s + QChar(0));

        // A NUL in the design's path would cut the path short in the system.
        Project project = sampleProject();
        project.document.DocumentCode = u"standard"_s + QChar(0) + u"\\faq.ddc"_s;
        WrepClass engine(project, ProgramFolder(u"/nonexistent"_s));
        const Status rendered = engine.ddc_datacode();
        QVERIFY(rendered.error().contains(u"doc_code"_s));
        QVERIFY(engine.sorce().isEmpty());
    }

    void invalidCodePageBytesEverywhere() {
        // A lead byte at the end of a line or before a quote, a lead byte with
        // an unusable trail, and bytes that are never characters.
        const QByteArray file =
            "T\x81\r\nH\x81\"\r\nM\x81\x7F\r\nC\xFD\xFE\xFF\r\nx\r\nf\r\n\"d\x82\"\r\n" +
            entryBytes("Q\x9F", "A\x81\r\n\xE0");
        const Result<Project> read = BwkReader::parse(Cp932Codec::decode(file));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const DocumentInfo& doc = read->document;
        QCOMPARE(doc.DocumentTitle, u"T\uFFFD"_s);
        QCOMPARE(doc.DocumentHomepage, u"H\uFFFD\""_s);
        QCOMPARE(doc.DocumentMail, u"M\uFFFD\u007F"_s);
        QCOMPARE(doc.DocumentDataview, u"d\uFFFD"_s);
        QCOMPARE(read->entries.item(1).answer, u"A\uFFFD\r\n\uFFFD"_s);

        // Such text cannot be saved again unnoticed: the refusal names the
        // field and the character.
        const QString refusal = BwkWriter::encode(doc, read->entries).error();
        QVERIFY2(refusal.contains(u"タイトル"_s), qPrintable(refusal));
        QVERIFY2(refusal.contains(u"U+FFFD"_s), qPrintable(refusal));

        // On a page it becomes a character reference.
        const QString page = run(Cp932Codec::decode("<\x81>[document.title]\x9F"));
        QByteArray encoded;
        Cp932Codec::encodeForHtml(page, encoded);
        QCOMPARE(encoded, QByteArray("<&#xFFFD;>Sample&#xFFFD;\r\n"));
    }

    // A device without end is read only to the limit; a file name that
    // would decode to another file's name ("\uFFFD.bwk") is refused.
    void readsAreBoundedAndNamesExact() {
        const QString error = TextFile::readBytes(u"/dev/zero"_s, 1 << 20).error();
        QVERIFY2(error.endsWith(u"は大きすぎて読み込めません（上限は1048576バイトです）"_s),
                 qPrintable(error));
        QCOMPARE(TextFile::decodeFileName("\xff.bwk").error(),
                 u"ファイル名を読み取れません: \\xff.bwk"_s);
        QCOMPARE(TextFile::decodeFileName("\xe8\xa1\xa8.bwk").value(), u"表.bwk"_s);
    }
};

QTEST_GUILESS_MAIN(RobustnessTest)
#include "tst_robustness.moc"
