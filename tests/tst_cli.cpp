#include "TestDesigns.h"
#include "cli/CliApplication.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryFile>

namespace {

const QString kSourceDir = QStringLiteral(BRINDLEWICK_SOURCE_DIR);
const QString kSample = kSourceDir + QStringLiteral("/examples/sample.bwk");

struct CliRun {
    int exitCode;
    QByteArray out;
    QString err;
};

// Runs the command line in-process, with the shipped designs as the default
// program folder.
CliRun runCli(QStringList arguments) {
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    CliApplication cli(ProgramFolder(kSourceDir + QStringLiteral("/data")), out, err);
    arguments.prepend(QStringLiteral("brindlewick-cli"));
    const int code = cli.run(arguments);
    return {code, out.data(), QString::fromUtf8(err.data())};
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The differences between two files as `diff -u` shows them.
QString diff(const QString& expectedPath, const QByteArray& actual) {
    QTemporaryFile file;
    if (!file.open())
        return {};
    file.write(actual);
    file.flush();
    QProcess process;
    process.start(QStringLiteral("diff"),
                  QStringList{QStringLiteral("-u"), expectedPath, file.fileName()});
    process.waitForFinished();
    return QString::fromLocal8Bit(process.readAllStandardOutput().left(4000));
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void wrongUsageExitsWithTwo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList{QStringLiteral("publish")};
        QTest::newRow("missing argument") << QStringList{QStringLiteral("export"), kSample};
        QTest::newRow("extra argument") << QStringList{QStringLiteral("dump"), kSample, kSample};
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("designs"), QStringLiteral("--colour")};
    }

    void wrongUsageExitsWithTwo() {
        QFETCH(QStringList, arguments);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith(QStringLiteral("brindlewick-cli: ")));
    }

    void helpExplainsEveryCommand() {
        const CliRun run = runCli({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        for (const char* command :
             {"render PROJECT", "export PROJECT OUTPUT_FOLDER", "dump PROJECT",
              "import JSON PROJECT", "designs", "--program-folder"})
            QVERIFY2(run.out.contains(command), command);
    }

    void renderMatchesTheGoldenPage() {
        const CliRun run = runCli({QStringLiteral("render"), kSample});
        QCOMPARE(run.exitCode, 0);
        const QString golden = kSourceDir + QStringLiteral("/tests/golden/sample-standard.html");
        // After a deliberate change of the design, regenerate with:
        // brindlewick-cli render examples/sample.bwk --program-folder data > golden
        QVERIFY2(run.out == readAll(golden), qPrintable(diff(golden, run.out)));
    }

    void dumpAndImportGiveBackTheSameFile() {
        const CliRun dump = runCli({QStringLiteral("dump"), kSample});
        QCOMPARE(dump.exitCode, 0);
        QVERIFY(dump.out.contains(
            "\"question\": \"[重要] 年末年始の発送スケジュールを教えてください\""));
        QVERIFY(dump.out.contains("\\r\\n"));

        QTemporaryDir dir;
        const QString json = dir.filePath(QStringLiteral("sample.json"));
        const QString copy = dir.filePath(QStringLiteral("copy.bwk"));
        QFile file(json);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(dump.out);
        file.close();
        const CliRun import = runCli({QStringLiteral("import"), json, copy});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(readAll(copy), readAll(kSample));
    }

    void importRefusalsWriteNothing() {
        QTemporaryDir dir;
        const QString json = dir.filePath(QStringLiteral("p.json"));
        const QString target = dir.filePath(QStringLiteral("p.bwk"));
        QFile file(json);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "{\"document\": {\"title\": \"t\", \"creater\": \"\", \"homepage\": \"\", "
            "\"mail\": \"\", \"code\": \"\", \"codeFolder\": \"\", \"dataview\": \"\"}, "
            "\"entries\": [{\"icon\": 1, \"question\": \"q\", \"answer\": \"say \\\"hi\\\"\"}]}");
        file.close();
        const CliRun run = runCli({QStringLiteral("import"), json, target});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("1番目の項目の答え")), qPrintable(run.err));
        QVERIFY(!QFile::exists(target));

        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"document\": {}, \"entries\": []}");
        file.close();
        QCOMPARE(runCli({QStringLiteral("import"), json, target}).exitCode, 1);
    }

    void damagedProjectIsOneLineWithTheProgramsMessage() {
        TestProgramFolder program;
        program.writeBytes(QStringLiteral("bad.bwk"),
                           "T\r\nH\r\nM\r\nC\r\nc\r\nf\r\n\"d\"\r\nx\r\n");
        const CliRun run =
            runCli({QStringLiteral("dump"), program.filePath(QStringLiteral("bad.bwk"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(QStringLiteral("brindlewick-cli: bwkファイルが壊れています。")),
                 qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("8行目")));
        QCOMPARE(run.err.count(u'\n'), 1);
    }

    void designsListsEveryDesignAndReportsBrokenOnes() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("b"), QStringLiteral("青"), QString());
        program.addDesign(QStringLiteral("A"), QStringLiteral("赤"), QString());
        program.writeText(QStringLiteral("doc_code/c/procode"), QStringLiteral("one line"));
        const CliRun run =
            runCli({QStringLiteral("designs"), QStringLiteral("--program-folder"), program.path()});
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("A\t赤\tpage.ddc\t赤 の説明\n"
                                                            "b\t青\tpage.ddc\t青 の説明\n"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("doc_code/c/procode")));
    }

    // The real executable, as scripts run it.
    void exportEndToEnd() {
        const QString cli = QStringLiteral(BRINDLEWICK_BUILD_DIR "/brindlewick-cli");
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("faq"));
        QProcess process;
        process.start(cli, {QStringLiteral("export"), kSample, output});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 0);
        const QString pagePath = output + QStringLiteral("/faq.html");
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), pagePath + u'\n');
        QCOMPARE(QDir(output).entryList(QDir::Files),
                 (QStringList{QStringLiteral("faq.html"), QStringLiteral("style.css")}));
        QCOMPARE(readAll(pagePath),
                 readAll(kSourceDir + QStringLiteral("/tests/golden/sample-standard.html")) +
                     "\r\n");

        process.start(cli, {QStringLiteral("export"), kSample, output});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().startsWith("brindlewick-cli: "));
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
