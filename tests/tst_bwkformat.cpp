#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The two-entry project whose file is the 61 bytes below.
Project smallProject() {
    Project project;
    project.document = DocumentInfo::forNewProject();
    project.document.DocumentTitle = QStringLiteral("FAQ");
    project.document.DocumentCreater = QStringLiteral("Ann");
    project.document.DocumentDataview = QStringLiteral("Hi\r\nthere");
    project.entries.append(QAEntry{QStringLiteral("Q1"), QStringLiteral("A1"), 1});
    project.entries.append(QAEntry{QStringLiteral("Q2"), QString(), 2});
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

QString readError(const QByteArray& bytes) {
    return BwkReader::parse(Cp932Codec::decode(bytes)).error();
}

} // namespace

class BwkFormatTest : public QObject {
    Q_OBJECT

private slots:
    void smallProjectIsSixtyOneBytes() {
        QCOMPARE(kSmallProjectFile.size(), 61);
        QCOMPARE(encoded(smallProject()), kSmallProjectFile);

        const Result<Project> read = BwkReader::parse(Cp932Codec::decode(kSmallProjectFile));
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(*read, smallProject());
    }

    void roundTripKeepsEveryValue_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("commas") << QStringLiteral("a, b,, c,");
        QTest::newRow("blanks") << QStringLiteral("  lead and trail  ");
        QTest::newRow("japanese") << QStringLiteral("表示の「ソ」～①髙");
        QTest::newRow("brackets and backslash") << QStringLiteral("[x] \\ ]");
        QTest::newRow("empty") << QString();
    }

    void roundTripKeepsEveryValue() {
        QFETCH(QString, text);
        Project project;
        DocumentInfo& doc = project.document;
        doc.DocumentTitle = doc.DocumentHomepage = doc.DocumentMail = doc.DocumentCreater = text;
        doc.DocumentCode = doc.DocumentCodeFolder = text;
        doc.DocumentDataview = text + QStringLiteral("\r\n\r\nsecond line\r\n") + text;
        project.entries.append(QAEntry{text, text + QStringLiteral("\r\n") + text, 1});
        project.entries.append(QAEntry{text, QStringLiteral("\r\n"), 2});

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("project.any-extension"));
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
        const Result<Project> read =
            BwkReader::parse(QStringLiteral("\r\n\r\n\r\n\r\n．．．\r\n\r\n\"\"\r\n"));
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
        QVERIFY(!read->entries.item(1).isEnabled());
        QVERIFY(encoded(*read).endsWith("2\r\nQ\r\n\"A\"\r\n2\r\nR\r\n\"B\"\r\n"));
    }

    void loneCrEndsALineAndLoneLfDoesNot() {
        const Result<Project> read = BwkReader::parse(
            u"T\rH\r\nM\nstill M\r\nC\r\nc\r\nf\r\n\"d\rd\"\r1\rQ\n2\r\"A\r\nB\"\r\n");
        QVERIFY2(read.ok(), qPrintable(read.error()));
        QCOMPARE(read->document.DocumentHomepage, QStringLiteral("H"));
        QCOMPARE(read->document.DocumentMail, QStringLiteral("M\nstill M"));
        QCOMPARE(read->document.DocumentDataview, QStringLiteral("d\rd"));
        QCOMPARE(read->entries.item(1).question, QStringLiteral("Q\n2"));
        QCOMPARE(read->entries.item(1).answer, QStringLiteral("A\r\nB"));
    }

    void damagedFilesSayWhere_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("where");
        const QByteArray header("T\r\nH\r\nM\r\nC\r\nc\r\nf\r\n");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("1行目");
        QTest::newRow("five header lines")
            << QByteArray("T\r\nH\r\nM\r\nC\r\nc\r\n") << QStringLiteral("6行目");
        QTest::newRow("no description") << header << QStringLiteral("7行目");
        QTest::newRow("description without quote") << header + "d\r\n" << QStringLiteral("7行目");
        QTest::newRow("description never closed") << header + "\"d\r\nmore\r\n"
                                                  << QStringLiteral("7行目");
        QTest::newRow("text after closing quote") << header + "\"d\"x\r\n"
                                                  << QStringLiteral("7行目");
        QTest::newRow("blank line after last entry") << header + "\"d\"\r\n1\r\nQ\r\n\"A\"\r\n\r\n"
                                                     << QStringLiteral("11行目");
        QTest::newRow("icon not a number") << header + "\"d\r\n\"\r\nyes\r\nQ\r\n\"A\"\r\n"
                                           << QStringLiteral("9行目");
        QTest::newRow("icon out of range") << header + "\"d\"\r\n99999\r\nQ\r\n\"A\"\r\n"
                                           << QStringLiteral("8行目");
        QTest::newRow("entry cut after icon") << header + "\"d\"\r\n1\r\n"
                                              << QStringLiteral("9行目");
        QTest::newRow("entry cut after question") << header + "\"d\"\r\n1\r\nQ\r\n"
                                                  << QStringLiteral("10行目");
        QTest::newRow("answer without quote") << header + "\"d\"\r\n1\r\nQ\r\nA\r\n"
                                              << QStringLiteral("10行目");
    }

    void damagedFilesSayWhere() {
        QFETCH(QByteArray, file);
        QFETCH(QString, where);
        const QString error = readError(file);
        QVERIFY2(error.startsWith(where + u':'), qPrintable(error));
    }

    void missingFileIsAnError() {
        const Result<Project> read = BwkReader::readFile(QStringLiteral("/nonexistent/x.bwk"));
        QVERIFY(!read.ok());
        QVERIFY(read.error().contains(QStringLiteral("/nonexistent/x.bwk")));
    }

    void refusesWhatTheFormatCannotHold_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("named");
        // 0-6: the document fields in file order; 7: question; 8: answer.
        QTest::newRow("quote in description")
            << 6 << QStringLiteral("say \"hi\"") << QStringLiteral("説明");
        QTest::newRow("quote in answer")
            << 8 << QStringLiteral("\"") << QStringLiteral("2番目の項目の答え");
        QTest::newRow("line break in title")
            << 0 << QStringLiteral("a\r\nb") << QStringLiteral("タイトル");
        QTest::newRow("LF in mail")
            << 2 << QStringLiteral("a\nb") << QStringLiteral("メールアドレス");
        QTest::newRow("CR in question")
            << 7 << QStringLiteral("a\rb") << QStringLiteral("2番目の項目の質問");
        QTest::newRow("emoji in answer")
            << 8 << QStringLiteral("ok 😀") << QStringLiteral("U+1F600");
        QTest::newRow("accent in author")
            << 3 << QStringLiteral("José") << QStringLiteral("作成者");
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
        const QString path = dir.filePath(QStringLiteral("old.bwk"));
        writeFileBytes(path, "previous contents");
        const QString error = BwkWriter::writeFile(path, project.document, project.entries).error();
        QVERIFY2(error.contains(named), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("previous contents"));
    }

    void failedSaveLeavesTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.bwk"));
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
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.bwk")});
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

QTEST_GUILESS_MAIN(BwkFormatTest)
#include "tst_bwkformat.moc"
