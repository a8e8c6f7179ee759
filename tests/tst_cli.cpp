#include "TestDesigns.h"
#include "cli/CliApplication.h"
#include "project/BwkWriter.h"

#include <QBuffer>
#include <QProcess>
#include <sys/stat.h>

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

const QString kCli = QStringLiteral(BRINDLEWICK_BUILD_DIR "/brindlewick-cli");

// Runs the real executable through the shell, so that a test can hand it
// bytes and redirections that QProcess cannot. $CLI names the executable.
// A run that hangs (a pipe opened for reading) fails instead of blocking.
CliRun runShell(const QString& script, const QString& folder = QString()) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CLI"), kCli);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    if (!process.waitForFinished(20'000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, QStringLiteral("did not finish")};
    }
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

// A program folder with the design "plain" and a private file outside it,
// for designs that try to reach out of the design root.
class HostileFolder : public TestProgramFolder {
public:
    HostileFolder() {
        addDesign(QStringLiteral("plain"), QStringLiteral("Plain"),
                  QStringLiteral("<p>[document.title]</p>"), {QStringLiteral("style.css")});
        writeText(QStringLiteral("private/secret.txt"), QStringLiteral("SECRET of the user"));
        writeText(QStringLiteral("private/procode"), QStringLiteral("Stolen\r\nsecret\r\n"));
        QDir(path()).mkpath(QStringLiteral("site"));
    }
    // Also what Qt cannot name, such as files named in code page 932.
    ~HostileFolder() { QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), path()}); }

    // A project file using the design folder, at path relative to the folder.
    QString projectFor(const QString& designFolder, const QString& designFile = QString()) const {
        Project project;
        DocumentInfo& doc = project.document;
        doc.DocumentTitle = doc.DocumentCreater = doc.DocumentHomepage = doc.DocumentMail =
            doc.DocumentDataview = QStringLiteral("x");
        doc.DocumentCodeFolder = designFolder;
        doc.DocumentCode =
            designFolder + u'\\' + (designFile.isEmpty() ? QStringLiteral("page.ddc") : designFile);
        const QString path = filePath(QStringLiteral("p.bwk"));
        if (!BwkWriter::writeFile(path, project.document, project.entries))
            return {};
        return path;
    }

    void link(const QString& target, const QString& relative) const {
        QFile::link(target, filePath(relative));
    }
};

// JSON written with single quotes, which read better in C++ strings.
QByteArray json(const char* text) {
    return QByteArray(text).replace('\'', '"');
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    void importRefusalsWriteNothing_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("named");
        QTest::newRow("quote in an answer")
            << json("{'icon': 1, 'question': 'q', 'answer': 'say \\'hi\\''}")
            << QStringLiteral("1番目の項目の答え");
        // Icon numbers beyond int, which a careless conversion would wrap.
        QTest::newRow("icon past int")
            << json("{'icon': 2147483648, 'question': 'q', 'answer': 'a'}")
            << QStringLiteral("icon");
        QTest::newRow("icon far below int")
            << json("{'icon': -1e300, 'question': 'q', 'answer': 'a'}") << QStringLiteral("icon");
        QTest::newRow("no document") << QByteArray() << QStringLiteral("document");
    }

    void importRefusalsWriteNothing() {
        QFETCH(QByteArray, entry);
        QFETCH(QString, named);
        TestProgramFolder folder;
        const QByteArray document =
            entry.isEmpty() ? QByteArray("{}")
                            : json("{'title': 't', 'creater': '', 'homepage': '', 'mail': '', "
                                   "'code': '', 'codeFolder': '', 'dataview': ''}");
        folder.writeBytes(QStringLiteral("p.json"),
                          "{\"document\": " + document + ", \"entries\": [" + entry + "]}");
        const QString target = folder.filePath(QStringLiteral("p.bwk"));
        const CliRun run =
            runCli({QStringLiteral("import"), folder.filePath(QStringLiteral("p.json")), target});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY(!QFile::exists(target));
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
                 (QStringList{QStringLiteral("faq.html"), QStringLiteral("search.js"),
                              QStringLiteral("style.css")}));
        QCOMPARE(readAll(pagePath),
                 readAll(kSourceDir + QStringLiteral("/tests/golden/sample-standard.html")) +
                     "\r\n");

        process.start(cli, {QStringLiteral("export"), kSample, output});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().startsWith("brindlewick-cli: "));
    }

    // Designs come from other people: nothing of the user's outside the
    // design root is read or published, and nothing hangs or is left half
    // done.
    void designsNeverReachOutOfTheirRoot_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("designFolder");
        QTest::addColumn<QString>("named");
        QTest::newRow("resource linked to a private file")
            << QStringLiteral("ln -s ../../private/secret.txt doc_code/plain/theme.css")
            << QStringLiteral("plain") << QStringLiteral("theme.css");
        QTest::newRow("design folder linked out")
            << QStringLiteral("ln -s ../private doc_code/evil") << QStringLiteral("evil")
            << QStringLiteral("evil");
        QTest::newRow("design file linked to a private file")
            << QStringLiteral("ln -sf ../../private/secret.txt doc_code/plain/page.ddc")
            << QStringLiteral("plain") << QStringLiteral("page.ddc");
        QTest::newRow("design file linked to an endless device")
            << QStringLiteral("ln -sf /dev/zero doc_code/plain/page.ddc") << QStringLiteral("plain")
            << QStringLiteral("page.ddc");
        QTest::newRow("design file a pipe")
            << QStringLiteral("rm doc_code/plain/page.ddc && mkfifo doc_code/plain/page.ddc")
            << QStringLiteral("plain") << QStringLiteral("通常のファイルではありません");
        QTest::newRow("resource a pipe") << QStringLiteral("mkfifo doc_code/plain/feed.css")
                                         << QStringLiteral("plain") << QStringLiteral("feed.css");
        QTest::newRow("resource named in code page 932")
            << QStringLiteral("printf x > \"doc_code/plain/$(printf '\\225\\134').css\"")
            << QStringLiteral("plain") << QStringLiteral("表.css");
    }

    void designsNeverReachOutOfTheirRoot() {
        QFETCH(QString, setUp);
        QFETCH(QString, designFolder);
        QFETCH(QString, named);
        HostileFolder program;
        const QString project = program.projectFor(designFolder);
        QCOMPARE(runShell(setUp, program.path()).exitCode, 0);
        const QString folderOption = QStringLiteral(" --program-folder '%1'").arg(program.path());

        const CliRun exported = runShell(
            QStringLiteral("\"$CLI\" export p.bwk site/faq") + folderOption, program.path());
        QCOMPARE(exported.exitCode, 1);
        QVERIFY2(exported.err.contains(named), qPrintable(exported.err));
        QVERIFY(!exported.out.contains("SECRET"));
        // Nothing is left behind, not even the folder the export was built in.
        QCOMPARE(QDir(program.filePath(QStringLiteral("site")))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        const CliRun rendered =
            runShell(QStringLiteral("\"$CLI\" render p.bwk") + folderOption, program.path());
        QVERIFY(rendered.exitCode != -1);
        QVERIFY(!rendered.out.contains("SECRET"));
        const CliRun designs = runShell(QStringLiteral("\"$CLI\" designs") + folderOption);
        QVERIFY(designs.exitCode != -1);
        QVERIFY(!designs.out.contains("Stolen"));
    }

    void linksInsideTheRootKeepWorking() {
        HostileFolder program;
        program.writeText(QStringLiteral("doc_code/shared.css"), QStringLiteral("p{}"));
        program.link(QStringLiteral("plain"), QStringLiteral("doc_code/alias"));
        program.link(QStringLiteral("../shared.css"), QStringLiteral("doc_code/plain/common.css"));
        const QString project = program.projectFor(QStringLiteral("alias"));
        const CliRun run = runShell(
            QStringLiteral("\"$CLI\" export p.bwk faq --program-folder '%1'").arg(program.path()),
            program.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readAll(program.filePath(QStringLiteral("faq/common.css"))), QByteArray("p{}"));
        QCOMPARE(readAll(program.filePath(QStringLiteral("faq/faq.html"))),
                 QByteArray("<p>x</p>\r\n\r\n"));
    }

    void outputIsResolvedByTheFileSystemAndNeverInsideTheDesignRoot() {
        HostileFolder program;
        const QString project = program.projectFor(QStringLiteral("plain"));
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("site/pages")));
        program.link(QStringLiteral("site/pages"), QStringLiteral("link"));
        const QString folderOption = QStringLiteral(" --program-folder '%1'").arg(program.path());

        QCOMPARE(runShell(QStringLiteral("\"$CLI\" export p.bwk link/../faq/") + folderOption,
                          program.path())
                     .exitCode,
                 0);
        QVERIFY(QFile::exists(program.filePath(QStringLiteral("site/faq/faq.html"))));
        QVERIFY(!QFileInfo::exists(program.filePath(QStringLiteral("faq"))));

        const CliRun inside = runShell(
            QStringLiteral("\"$CLI\" export p.bwk doc_code/myfaq") + folderOption, program.path());
        QCOMPARE(inside.exitCode, 1);
        QVERIFY(!QFileInfo::exists(program.filePath(QStringLiteral("doc_code/myfaq"))));
        QCOMPARE(runShell(QStringLiteral("\"$CLI\" designs") + folderOption).exitCode, 0);
    }

    void pathArgumentsThatDoNotDecodeAreRefused() {
        HostileFolder program;
        program.writeText(QStringLiteral("p\uFFFD.bwk"), QStringLiteral("unrelated"));
        QCOMPARE(
            runShell(QStringLiteral("\"$CLI\" dump \"$(printf 'p\\377.bwk')\""), program.path())
                .exitCode,
            2);
        const CliRun run = runShell(
            QStringLiteral("\"$CLI\" render p.bwk --program-folder \"$(printf 'x\\377')\""));
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(u'x'), qPrintable(run.err));
        QCOMPARE(readAll(program.filePath(QStringLiteral("p\uFFFD.bwk"))), QByteArray("unrelated"));
    }

    void lostStandardOutputIsAFailure_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"designs", "render '%1'", "dump '%1'"}) {
            const QString line =
                QString::fromLatin1(command).replace(QStringLiteral("%1"), kSample);
            QTest::newRow(qPrintable(line + QStringLiteral(" full")))
                << line + QStringLiteral(" >/dev/full");
            QTest::newRow(qPrintable(line + QStringLiteral(" closed")))
                << line + QStringLiteral(" >&-");
        }
    }

    void lostStandardOutputIsAFailure() {
        QFETCH(QString, command);
        const CliRun run = runShell(
            QStringLiteral("\"$CLI\" %1 --program-folder '%2/data'").arg(command, kSourceDir));
        QCOMPARE(run.exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
