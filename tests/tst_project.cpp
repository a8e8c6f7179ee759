#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "project/ClipboardEntry.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The two-entry project whose file is the 61 bytes below.
Project smallProject() {
    Project project;
    project.document = DocumentInfo::forNewProject();
    project.document.DocumentTitle = u"FAQ"_s;
    project.document.DocumentCreater = u"Ann"_s;
    project.document.DocumentDataview = u"Hi\r\nthere"_s;
    project.entries.append(QAEntry{u"Q1"_s, u"A1"_s, 1});
    project.entries.append(QAEntry{u"Q2"_s, QString(), 2});
    return project;
}

const QByteArray kSmallProjectFile = QByteArray::fromHex("464151 0D0A"
                                                         "0D0A"
                                                         "0D0A"
                                                         "416E6E 0D0A"
                                                         "814481448144 0D0A"
                                                         "0D0A"
                                                         "2248690D0A7468657265220D0A"
                                                         "310D0A"
                                                         "51310D0A"
                                                         "224131220D0A"
                                                         "320D0A"
                                                         "51320D0A"
                                                         "22220D0A");

QByteArray encoded(const Project& project) {
    const Result<QByteArray> result = BwkWriter::encode(project.document, project.entries);
    if (!result)
        qWarning() << result.error();
    return result ? *result : QByteArray();
}

} // namespace

// The project: its table of entries, an entry as clipboard text, and the
// project file.
class ProjectTest : public QObject {
    Q_OBJECT

private slots:
    void startValues() {
        const Project project;
        QVERIFY(project.entries.isEmpty());
        QCOMPARE(project.document.DocumentHomepage, u"http://"_s);
        QCOMPARE(project.document.DocumentCode, u"．．．"_s);
        QCOMPARE(DocumentInfo::forNewProject().DocumentHomepage, QString());
        QCOMPARE(DocumentInfo::forNewProject().DocumentCode, u"．．．"_s);
    }

    void addAndRemoveKeepPositions() {
        QAEntryTable table;
        for (const char* q : {"one", "two", "three"})
            table.add(QString::fromLatin1(q)).icon = 1;
        QCOMPARE(table.item(2).answer, QString());
        table.remove(2);
        QCOMPARE(table.count(), 2);
        QCOMPARE(table.item(2).question, u"three"_s);
    }

    void sortIsStableJapaneseAndOnce() {
        QAEntryTable table;
        const QStringList input{u"さくら"_s, u"あめ"_s,  u"カメラ"_s,
                                u"あめ"_s,   u"Zebra"_s, u"apple"_s};
        for (int i = 0; i < input.size(); ++i)
            table.append(QAEntry{input[i], QString::number(i), 1});
        table.sortByQuestion();
        QCOMPARE(questionsOf(table), (QStringList{u"apple"_s, u"Zebra"_s, u"あめ"_s, u"あめ"_s,
                                                  u"カメラ"_s, u"さくら"_s}));
        // Equal questions keep their order.
        QCOMPARE(table.item(3).answer, u"1"_s);
        QCOMPARE(table.item(4).answer, u"3"_s);
        // Sorting is a one-time reorder: what is added later goes to the end.
        table.add(u"あ"_s);
        QCOMPARE(table.item(table.count()).question, u"あ"_s);
    }

    void handWrittenExampleIsADisabledEntry() {
        const QString text = u"BWK1.22Why?\r\nBecause."_s;
        QCOMPARE(text.size(), 21);
        QCOMPARE(ClipboardEntry::parse(text),
                 std::optional<QAEntry>(QAEntry{u"Why?"_s, u"Because."_s, 2}));
        QCOMPARE(ClipboardEntry::toText({u"Why?"_s, u"Because."_s, 2}), text);
    }

    void roundTrips_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("line breaks in the answer") << u"質問"_s << u"一\r\n\r\n二\r\n"_s << 1;
        QTest::newRow("empty answer") << u"Q"_s << QString() << 2;
        QTest::newRow("empty question") << QString() << u"A"_s << 1;
        QTest::newRow("both empty") << QString() << QString() << 2;
    }

    void roundTrips() {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(int, icon);
        const QAEntry entry{question, answer, icon};
        const QString text = ClipboardEntry::toText(entry);
        QVERIFY(ClipboardEntry::hasTag(text));
        QCOMPARE(ClipboardEntry::parse(text), std::optional<QAEntry>(entry));
    }

    void textsFromOtherPrograms_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("icon");
        QTest::newRow("LF line breaks") << u"BWK1.21Q\nA\nB"_s << u"Q"_s << u"A\r\nB"_s << 1;
        QTest::newRow("lone CR") << u"BWK1.21Q\rA"_s << u"Q"_s << u"A"_s << 1;
        QTest::newRow("no line break")
            << u"BWK1.21Only a question"_s << u"Only a question"_s << QString() << 1;
        QTest::newRow("icon not a digit") << u"BWK1.2xQ\r\nA"_s << u"Q"_s << u"A"_s << 2;
        QTest::newRow("icon 3") << u"BWK1.23Q\r\nA"_s << u"Q"_s << u"A"_s << 2;
        QTest::newRow("tag and digit only") << u"BWK1.21"_s << QString() << QString() << 1;
    }

    void textsFromOtherPrograms() {
        QFETCH(QString, text);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(int, icon);
        QCOMPARE(ClipboardEntry::parse(text),
                 std::optional<QAEntry>(QAEntry{question, answer, icon}));
    }

    void textsThatAreNoEntry() {
        QVERIFY(!ClipboardEntry::hasTag(u"bwk1.21Q\r\nA"));
        QVERIFY(!ClipboardEntry::parse(u"bwk1.21Q\r\nA"));
        QVERIFY(!ClipboardEntry::parse(u"BWK1.2"));
        QVERIFY(!ClipboardEntry::parse(u"BWK1."));
        QVERIFY(!ClipboardEntry::parse(u""));
    }

    void smallProjectIsSixtyOneBytes() {
        QCOMPARE(kSmallProjectFile.size(), 61);
        QCOMPARE(encoded(smallProject()), kSmallProjectFile);

        const Result<Project> read = BwkReader::parse(Cp932Codec::decode(kSmallProjectFile));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(*read, smallProject());
    }

    void roundTripKeepsEveryValue_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("commas") << u"a, b,, c,"_s;
        QTest::newRow("blanks") << u"  lead and trail  "_s;
        QTest::newRow("japanese") << u"表示の「ソ」～①髙"_s;
        QTest::newRow("brackets and backslash") << u"[x] \\ ]"_s;
        QTest::newRow("empty") << QString();
    }

    void roundTripKeepsEveryValue() {
        QFETCH(QString, text);
        Project project;
        DocumentInfo& doc = project.document;
        doc.DocumentTitle = doc.DocumentHomepage = doc.DocumentMail = doc.DocumentCreater = text;
        doc.DocumentCode = doc.DocumentCodeFolder = text;
        doc.DocumentDataview = text + u"\r\n\r\nsecond line\r\n"_s + text;
        project.entries.append(QAEntry{text, text + u"\r\n"_s + text, 1});
        project.entries.append(QAEntry{text, u"\r\n"_s, 2});

        QTemporaryDir dir;
        const QString path = dir.filePath(u"project.any-extension"_s);
        QVERIFY(BwkWriter::writeFile(path, project.document, project.entries).ok());
        const Result<Project> read = BwkReader::readFile(path);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(*read, project);
    }

    void emptyTableEndsWithTheDescription() {
        Project project;
        project.document = DocumentInfo::forNewProject();
        const QByteArray bytes = encoded(project);
        QCOMPARE(bytes, QByteArray("\r\n\r\n\r\n\r\n\x81\x44\x81\x44\x81\x44\r\n\r\n\"\"\r\n"));
        const Result<Project> read = BwkReader::parse(u"\r\n\r\n\r\n\r\n．．．\r\n\r\n\"\"\r\n"_s);
        QVERIFY(read.ok());
        QVERIFY(read->entries.isEmpty());
        QCOMPARE(read->document, project.document);
    }

    void otherIconNumbersAreKeptAndSavedDisabled() {
        const Result<Project> read = BwkReader::parse(
            u"T\r\n\r\n\r\n\r\nx\r\n\r\n\"\"\r\n7\r\nQ\r\n\"A\"\r\n-3\r\nR\r\n\"B\"");
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->entries.item(1).icon, 7);
        QCOMPARE(read->entries.item(2).icon, -3);
        for (int icon : {7, 0, 2, 3, -1})
            QVERIFY(!QAEntry({QString(), QString(), icon}).isEnabled());
        QVERIFY(QAEntry({QString(), QString(), 1}).isEnabled());
        QVERIFY(encoded(*read).endsWith("2\r\nQ\r\n\"A\"\r\n2\r\nR\r\n\"B\"\r\n"));
    }

    void loneCrEndsALineAndLoneLfDoesNot() {
        const Result<Project> read = BwkReader::parse(
            u"T\rH\r\nM\nstill M\r\nC\r\nc\r\nf\r\n\"d\rd\"\r1\rQ\n2\r\"A\r\nB\"\r\n");
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->document.DocumentHomepage, u"H"_s);
        QCOMPARE(read->document.DocumentMail, u"M\nstill M"_s);
        QCOMPARE(read->document.DocumentDataview, u"d\rd"_s);
        QCOMPARE(read->entries.item(1).question, u"Q\n2"_s);
        QCOMPARE(read->entries.item(1).answer, u"A\r\nB"_s);
    }

    void damagedFilesSayWhere_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("where");
        const QByteArray header("T\r\nH\r\nM\r\nC\r\nc\r\nf\r\n");
        // clang-format off
        QTest::newRow("empty file") << QByteArray() << u"1行目"_s;
        QTest::newRow("five header lines") << QByteArray("T\r\nH\r\nM\r\nC\r\nc\r\n") << u"6行目"_s;
        QTest::newRow("no description") << header << u"7行目"_s;
        QTest::newRow("description without quote") << header + "d\r\n" << u"7行目"_s;
        QTest::newRow("description never closed") << header + "\"d\r\nmore\r\n" << u"7行目"_s;
        QTest::newRow("text after closing quote") << header + "\"d\"x\r\n" << u"7行目"_s;
        QTest::newRow("blank line after last entry") << header + "\"d\"\r\n1\r\nQ\r\n\"A\"\r\n\r\n" << u"11行目"_s;
        QTest::newRow("icon not a number") << header + "\"d\r\n\"\r\nyes\r\nQ\r\n\"A\"\r\n" << u"9行目"_s;
        QTest::newRow("icon out of range") << header + "\"d\"\r\n99999\r\nQ\r\n\"A\"\r\n" << u"8行目"_s;
        QTest::newRow("entry cut after icon") << header + "\"d\"\r\n1\r\n" << u"9行目"_s;
        QTest::newRow("entry cut after question") << header + "\"d\"\r\n1\r\nQ\r\n" << u"10行目"_s;
        QTest::newRow("answer without quote") << header + "\"d\"\r\n1\r\nQ\r\nA\r\n" << u"10行目"_s;
        // clang-format on
    }

    void damagedFilesSayWhere() {
        QFETCH(QByteArray, file);
        QFETCH(QString, where);
        const QString error = BwkReader::parse(Cp932Codec::decode(file)).error();
        QVERIFY2(error.startsWith(where + u':'), qPrintable(error));
    }

    void missingFileIsAnError() {
        const Result<Project> read = BwkReader::readFile(u"/nonexistent/x.bwk"_s);
        QVERIFY(!read.ok());
        QVERIFY(read.error().contains(u"/nonexistent/x.bwk"_s));
    }

    void refusesWhatTheFormatCannotHold_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named");
        // 0-6: the document fields in file order; 7: question; 8: answer.
        QTest::newRow("quote in description") << 6 << u"say \"hi\""_s << u"説明"_s;
        QTest::newRow("quote in answer") << 8 << u"\""_s << u"2番目の項目の答え"_s;
        QTest::newRow("line break in title") << 0 << u"a\r\nb"_s << u"タイトル"_s;
        QTest::newRow("LF in mail") << 2 << u"a\nb"_s << u"メールアドレス"_s;
        QTest::newRow("CR in question") << 7 << u"a\rb"_s << u"2番目の項目の質問"_s;
        QTest::newRow("emoji in answer") << 8 << u"ok 😀"_s << u"U+1F600"_s;
        QTest::newRow("accent in author") << 3 << u"José"_s << u"作成者"_s;
    }

    void refusesWhatTheFormatCannotHold() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, named);
        Project project = smallProject();
        QString* fields[] = {
            &project.document.DocumentTitle,    &project.document.DocumentHomepage,
            &project.document.DocumentMail,     &project.document.DocumentCreater,
            &project.document.DocumentCode,     &project.document.DocumentCodeFolder,
            &project.document.DocumentDataview, &project.entries.item(2).question,
            &project.entries.item(2).answer};
        *fields[field] = value;

        QTemporaryDir dir;
        const QString path = dir.filePath(u"old.bwk"_s);
        writeFileBytes(path, "previous contents");
        const QString error = BwkWriter::writeFile(path, project.document, project.entries).error();
        QVERIFY2(error.contains(named), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("previous contents"));
    }

    void failedSaveLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"old.bwk"_s);
        writeFileBytes(path, "previous contents");
        Project project = smallProject();
        project.entries.item(1).answer = QString(4096, u'x');

        // A file-size limit makes the disk "full" after 1 KiB, for root too.
        const Status error = [&] {
            const FileSizeLimit fullAfter(1024);
            return BwkWriter::writeFile(path, project.document, project.entries);
        }();

        QVERIFY(!error.ok());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("previous contents"));
        QCOMPARE(everythingIn(dir.path()), QStringList{u"old.bwk"_s});
    }

    void writeErrorOfTheDeviceIsReported() {
        // A device that takes a few bytes and then fails, like a disk that
        // disappears during a save.
        class FailingDevice : public QIODevice {
        public:
            FailingDevice() { open(QIODevice::WriteOnly); }

        protected:
            qint64 readData(char*, qint64) override { return -1; }
            qint64 writeData(const char*, qint64 size) override { return size > 4 ? 4 : -1; }
        } device;
        QVERIFY(!FileWriter::writeAll(device, "more than four bytes").ok());
    }
};

QTEST_GUILESS_MAIN(ProjectTest)
#include "tst_project.moc"
