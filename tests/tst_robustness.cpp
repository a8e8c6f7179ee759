// Hostile and broken input: files of hundreds of megabytes, designs that are
// one enormous line or nothing but brackets, NUL bytes and bytes that are no
// code page 932 at all. Each must end with the right result or a clear error.
// How the time grows with the size is measured by the benchmarks
// (bench/HostileInputBenchmarks.cpp); here every input is made once, in
// memory or in a temporary folder.

#include "EngineTestHelpers.h"
#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "design/PreviewBuilder.h"
#include "design/Procode.h"
#include "design/WrepClass.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "project/ClipboardEntry.h"
#include "text/Cp932Codec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        const QString path = dir.filePath(QStringLiteral("huge.bwk"));
        writeFileBytes(path, bytes);
        bytes.clear();
        const Result<Project> read = BwkReader::readFile(path);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->entries.count(), 100);
        const QAEntry& last = read->entries.item(100);
        QCOMPARE(last.question, QStringLiteral("Q100"));
        QCOMPARE(last.answer.size(), qsizetype(800'000));
        QVERIFY(last.answer.startsWith(QStringLiteral("あい FAQ\r\nあい")));
        QVERIFY(!last.isEnabled());
    }

    void bytesAndTextReadAlike_data() {
        // Files are read as bytes and decoded field by field; the result must
        // be that of decoding the whole file first, damage included.
        QTest::addColumn<QByteArray>("file");
        const QByteArray entry = entryBytes("Q", "A\r\nB");
        QTest::newRow("whole") << kHeader + entry + entryBytes("\x82\xA0", "\x83\x5B]", '2');
        QTest::newRow("lead byte before the line end") << kHeader + entryBytes("Q\x81", "A");
        QTest::newRow("lead byte before the closing quote") << kHeader + entryBytes("Q", "A\x9F");
        QTest::newRow("lead byte at the end of the file") << kHeader + "1\r\nQ\x81";
        QTest::newRow("lone CR and LF") << kHeader + "1\rQ\n\r\"A\rB\"\r";
        QTest::newRow("CR LF split by the closing quote") << kHeader + "1\r\nQ\r\n\"A\r\"\n";
        QTest::newRow("icon not a number") << kHeader + entryBytes("Q", "A", '\x81');
        QTest::newRow("unclosed answer") << kHeader + "1\r\nQ\r\n\"A\x82\xA0\r\n";
        QTest::newRow("NUL bytes")
            << kHeader + entryBytes(QByteArray(2, '\0'), QByteArray(3, '\0'));
    }

    void bytesAndTextReadAlike() {
        QFETCH(QByteArray, file);
        const Result<Project> text = BwkReader::parse(Cp932Codec::decode(file));
        const Result<Project> bytes = BwkReader::parseBytes(file);
        QCOMPARE(bytes.error(), text.error());
        QVERIFY(!text || *bytes == *text);
    }

    void hundredMegabyteDescriptionNeverClosed() {
        const QByteArray bytes = kHeader.left(kHeader.lastIndexOf("\"d\"")) + "\"" +
                                 QByteArray("line of text\r\n").repeated(7'200'000);
        QVERIFY(bytes.size() > 100'000'000);
        const QString error = BwkReader::parse(Cp932Codec::decode(bytes)).error();
        QVERIFY2(error.startsWith(QStringLiteral("7行目:")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("閉じる引用符")), qPrintable(error));
    }

    void designOfOneFiftyMegabyteLine() {
        const qsizetype length = 50'000'000;
        const QString design = QStringLiteral("[document.title]") + QString(length, u'x') +
                               QStringLiteral("[document.title]");
        const QString page = run(design);
        QCOMPARE(page.size(), length + 2 * 6 + 2);
        QVERIFY(page.startsWith(QStringLiteral("Samplexxx")));
        QVERIFY(page.endsWith(QStringLiteral("xxxSample\r\n")));
    }

    void millionsOfBrackets_data() {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("page");
        const qsizetype million = 1'000'000;
        QTest::newRow("double opens")
            << repeated(u"[[", million / 2) + QStringLiteral("end") << QStringLiteral("end\r\n");
        QTest::newRow("keys never closed") << repeated(u"[a", million) << QString();
        QTest::newRow("loops never closed") << repeated(u"[loop::]", million) << QString();
        QTest::newRow("stray closes")
            << repeated(u"]", million) + QStringLiteral("!") << QStringLiteral("!\r\n");
        QTest::newRow("stray loop ends")
            << QStringLiteral("[loop::]a[::loop]") + repeated(u"[::loop]", million)
            << QStringLiteral("aaa\r\n");
        QTest::newRow("one loop, a million keys")
            << QStringLiteral("[loop::]") + repeated(u"[count.selected]", million) +
                   QStringLiteral("[::loop]")
            << repeated(u"1", million) + repeated(u"2", million) + repeated(u"3", million) +
                   QStringLiteral("\r\n");
    }

    void millionsOfBrackets() {
        QFETCH(QString, design);
        QFETCH(QString, page);
        QCOMPARE(run(design), page);
    }

    void tenMegabyteKeysAndValues() {
        const qsizetype size = 10'000'000;
        const QString filler(size, u'x');
        QCOMPARE(run(u'<' + (u'[' + filler + u']') + u'>'), QStringLiteral("<>\r\n"));
        QCOMPARE(run(QStringLiteral("<[document.title") + filler + QStringLiteral("]>")),
                 QStringLiteral("<>\r\n"));
        QCOMPARE(run(QStringLiteral("[loop::][") + filler + QStringLiteral("][question.][::loop]")),
                 QStringLiteral("How?Why?\r\n"));

        Project project = sampleProject();
        project.document.DocumentTitle = filler;
        project.entries.item(3).answer = filler;
        const QString page =
            run(project, QStringLiteral("[document.title][loop::][answer.][::loop]"));
        QCOMPARE(page.size(), 2 * size + qsizetype(std::size(u"Like this.") - 1) + 2);
    }

    void twoHundredThousandEntries() {
        const int count = 200'000;
        Project project;
        project.document.DocumentTitle = QStringLiteral("大きな FAQ");
        project.entries.reserve(count);
        for (int i = 1; i <= count; ++i)
            project.entries.append(
                QAEntry{QStringLiteral("質問%1").arg(i), QStringLiteral("答え%1\r\n二行目").arg(i),
                        i % 10 ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon});

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("many.bwk"));
        QVERIFY(BwkWriter::writeFile(path, project.document, project.entries).ok());
        const Result<Project> read = BwkReader::readFile(path);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QVERIFY(*read == project);

        const QString page =
            run(project, QStringLiteral("[count.][loop::]<[count.selected]:[question.]>[::loop]"));
        QVERIFY(page.startsWith(QStringLiteral("200000<1:質問1><2:質問2>")));
        QVERIFY(page.endsWith(QStringLiteral("<199999:質問199999><200000:>\r\n")));
    }

    void previewCutShortIsAnError() {
        // The preview is written without a temporary file; a write that the
        // file-size limit cuts short must still fail and leave no half page.
        TestProgramFolder program;
        program.addDesign(QStringLiteral("plain"), QStringLiteral("Plain"),
                          QStringLiteral("[loop::][answer.][::loop]"));
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("default")));
        Project project = sampleProject();
        project.document.DocumentCode = QStringLiteral("plain\\page.ddc");
        project.document.DocumentCodeFolder = QStringLiteral("plain");
        project.entries.item(1).answer = QString(4096, u'x');

        const Result<QString> page = [&] {
            const FileSizeLimit fullAfter(1024);
            return PreviewBuilder(project, ProgramFolder(program.path()))
                .build(program.filePath(QStringLiteral("default")));
        }();

        QVERIFY(!page);
        QVERIFY2(page.error().contains(PreviewBuilder::pageFileName()), qPrintable(page.error()));
        QCOMPARE(QDir(program.filePath(QStringLiteral("default"))).entryList(QDir::Files),
                 QStringList());
    }

    void nulBytesEverywhere() {
        const QByteArray nul(1, '\0');
        const QByteArray file = "T" + nul + "\r\n" + nul + "\r\nm\r\nA\r\nx\r\nf\r\n\"" + nul +
                                "\"\r\n" + entryBytes("Q" + nul, nul + "A\r\n" + nul);
        const Result<Project> read = BwkReader::parse(Cp932Codec::decode(file));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->document.DocumentTitle, QStringLiteral("T") + QChar(0));
        QCOMPARE(read->entries.item(1).answer, QChar(0) + QStringLiteral("A\r\n") + QChar(0));
        QCOMPARE(*BwkWriter::encode(read->document, read->entries), file);

        const QString page = run(QChar(0) + QStringLiteral("[document.title]") + QChar(0));
        QCOMPARE(page, QChar(0) + QStringLiteral("Sample") + QChar(0) + QStringLiteral("\r\n"));
        QByteArray encoded;
        Cp932Codec::encodeForHtml(page, encoded);
        QCOMPARE(encoded, nul + "Sample" + nul + "\r\n");

        const auto entry = ClipboardEntry::parse(QStringLiteral("BWK1.21Q") + QChar(0) +
                                                 QStringLiteral("\r\n") + QChar(0));
        QVERIFY(entry);
        QCOMPARE(entry->question, QStringLiteral("Q") + QChar(0));
        QCOMPARE(entry->answer, QString(QChar(0)));

        const auto procode = Procode::parse(Cp932Codec::decode("name" + nul + "\r\nbase\r\n"));
        QCOMPARE(procode.displayName(), QStringLiteral("name") + QChar(0));

        // A NUL in the design's path would cut the path short in the system.
        Project project = sampleProject();
        project.document.DocumentCode =
            QStringLiteral("standard") + QChar(0) + QStringLiteral("\\faq.ddc");
        WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
        const Status rendered = engine.ddc_datacode();
        QVERIFY(rendered.error().contains(QStringLiteral("doc_code")));
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
        QCOMPARE(doc.DocumentTitle, QStringLiteral("T\uFFFD"));
        QCOMPARE(doc.DocumentHomepage, QStringLiteral("H\uFFFD\""));
        QCOMPARE(doc.DocumentMail, QStringLiteral("M\uFFFD\u007F"));
        QCOMPARE(doc.DocumentDataview, QStringLiteral("d\uFFFD"));
        QCOMPARE(read->entries.item(1).answer, QStringLiteral("A\uFFFD\r\n\uFFFD"));

        // Such text cannot be saved again unnoticed: the refusal names the
        // field and the character.
        const QString refusal = BwkWriter::encode(doc, read->entries).error();
        QVERIFY2(refusal.contains(QStringLiteral("タイトル")), qPrintable(refusal));
        QVERIFY2(refusal.contains(QStringLiteral("U+FFFD")), qPrintable(refusal));

        // On a page it becomes a character reference.
        const QString page = run(Cp932Codec::decode("<\x81>[document.title]\x9F"));
        QByteArray encoded;
        Cp932Codec::encodeForHtml(page, encoded);
        QCOMPARE(encoded, QByteArray("<&#xFFFD;>Sample&#xFFFD;\r\n"));
    }
};

QTEST_GUILESS_MAIN(RobustnessTest)
#include "tst_robustness.moc"
