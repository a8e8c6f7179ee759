#include "TestDesigns.h"
#include "cli/CliApplication.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "project/CsvReader.h"
#include "project/CsvWriter.h"
#include "text/TextFile.h"

#include <QBuffer>
#include <QProcess>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kSourceDir = QStringLiteral(BRINDLEWICK_SOURCE_DIR);
const QString kSample = kSourceDir + u"/examples/sample.bwk"_s;
// The build folder, whose designs hold their copy of search.js.
const QString kProgramFolder = QStringLiteral(BRINDLEWICK_BUILD_DIR);

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
    CliApplication cli(ProgramFolder(kProgramFolder), out, err);
    arguments.prepend(u"brindlewick-cli"_s);
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
    environment.insert(u"CLI"_s, kCli);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(u"/bin/sh"_s, {u"-c"_s, script});
    if (!process.waitForFinished(20'000)) {
        process.kill();
        process.waitForFinished();
        return {-1, {}, u"did not finish"_s};
    }
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

// A program folder with the design "plain" and a private file outside it,
// for designs that try to reach out of the design root.
class HostileFolder : public TestProgramFolder {
public:
    HostileFolder() {
        addDesign(u"plain"_s, u"Plain"_s, u"<p>[document.title]</p>"_s, {u"style.css"_s});
        writeText(u"private/secret.txt"_s, u"SECRET of the user"_s);
        writeText(u"private/procode"_s, u"Stolen\r\nsecret\r\n"_s);
        QDir(path()).mkpath(u"site"_s);
    }
    // Also what Qt cannot name, such as files named in code page 932.
    ~HostileFolder() { QProcess::execute(u"rm"_s, {u"-rf"_s, path()}); }

    // A project file using the design folder, at path relative to the folder.
    QString projectFor(const QString& designFolder) const {
        const Project project = projectUsingDesign(designFolder);
        const QString path = filePath(u"p.bwk"_s);
        return BwkWriter::writeFile(path, project.document, project.entries) ? path : QString();
    }

    void link(const QString& target, const QString& relative) const {
        QFile::link(target, filePath(relative));
    }
};

// JSON written with single quotes, which read better in C++ strings.
QByteArray json(const char* text) {
    return QByteArray(text).replace('\'', '"');
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void wrongUsageExitsWithTwo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList{u"publish"_s};
        QTest::newRow("missing argument") << QStringList{u"export"_s, kSample};
        QTest::newRow("extra argument") << QStringList{u"dump"_s, kSample, kSample};
        QTest::newRow("unknown option") << QStringList{u"designs"_s, u"--colour"_s};
    }

    void wrongUsageExitsWithTwo() {
        QFETCH(QStringList, arguments);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith(u"brindlewick-cli: "_s));
    }

    void helpExplainsEveryCommand() {
        const CliRun run = runCli({u"--help"_s});
        QCOMPARE(run.exitCode, 0);
        for (const char* command :
             {"render PROJECT", "export PROJECT OUTPUT_FOLDER", "dump PROJECT",
              "import JSON PROJECT", "import-csv CSV PROJECT [--append]",
              "export-csv PROJECT CSV [--encoding utf-8|cp932]", "designs", "--program-folder",
              "--version"})
            QVERIFY2(run.out.contains(command), command);
    }

    void dumpAndImportGiveBackTheSameFile() {
        const CliRun dump = runCli({u"dump"_s, kSample});
        QCOMPARE(dump.exitCode, 0);
        QVERIFY(dump.out.contains(
            "\"question\": \"[重要] 年末年始の発送スケジュールを教えてください\""));
        QVERIFY(dump.out.contains("\\r\\n"));

        QTemporaryDir dir;
        const QString json = dir.filePath(u"sample.json"_s);
        const QString copy = dir.filePath(u"copy.bwk"_s);
        writeFileBytes(json, dump.out);
        const CliRun import = runCli({u"import"_s, json, copy});
        QCOMPARE(import.exitCode, 0);
        QCOMPARE(readFileBytes(copy), readFileBytes(kSample));
    }

    void importRefusalsWriteNothing_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("named");
        // clang-format off
        QTest::newRow("quote in an answer") << json("{'icon': 1, 'question': 'q', 'answer': 'say \\'hi\\''}") << u"1番目の項目の答え"_s;
        // Icon numbers beyond int, which a careless conversion would wrap.
        QTest::newRow("icon past int") << json("{'icon': 2147483648, 'question': 'q', 'answer': 'a'}") << u"icon"_s;
        QTest::newRow("icon far below int") << json("{'icon': -1e300, 'question': 'q', 'answer': 'a'}") << u"icon"_s;
        QTest::newRow("no document") << QByteArray() << u"document"_s;
        // clang-format on
    }

    void importRefusalsWriteNothing() {
        QFETCH(QByteArray, entry);
        QFETCH(QString, named);
        TestProgramFolder folder;
        const QByteArray document =
            entry.isEmpty() ? QByteArray("{}")
                            : json("{'title': 't', 'creater': '', 'homepage': '', 'mail': '', "
                                   "'code': '', 'codeFolder': '', 'dataview': ''}");
        folder.writeBytes(u"p.json"_s,
                          "{\"document\": " + document + ", \"entries\": [" + entry + "]}");
        const QString target = folder.filePath(u"p.bwk"_s);
        const CliRun run = runCli({u"import"_s, folder.filePath(u"p.json"_s), target});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(named), qPrintable(run.err));
        QVERIFY(!QFile::exists(target));
    }

    // PROJECT in arguments stands for the project written, which starts as a
    // copy of the sample when existing is set.
    void importCsv_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        // In code page 932 already, as the project file stores it.
        const QStringList plain{u"import-csv"_s, kSourceDir + u"/tests/csv/calc-cp932.csv"_s,
                                u"PROJECT"_s};
        const QString broken = kSourceDir + u"/tests/csv/broken-unclosed-quote.csv"_s;
        // clang-format off
        QTest::newRow("new project") << plain << false << 0 << QString();
        QTest::newRow("replaces the entries") << plain << true << 0 << QString();
        QTest::newRow("appends") << plain + QStringList{u"--append"_s} << true << 0 << QString();
        QTest::newRow("refused file") << QStringList{u"import-csv"_s, broken, u"PROJECT"_s} << true << 1 << u"5行目、B列を読み込めません。"_s;
        QTest::newRow("option of export-csv") << plain + QStringList{u"--encoding"_s, u"cp932"_s} << true << 2 << u"--encoding"_s;
        QTest::newRow("missing argument") << plain.first(2) << false << 2 << u"import-csv CSV PROJECT"_s;
        // clang-format on
    }

    void importCsv() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, existing);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QString project = dir.filePath(u"faq.bwk"_s);
        if (existing)
            QVERIFY(QFile::copy(kSample, project));
        const CliRun run = runCli(arguments.replaceInStrings(u"PROJECT"_s, project));
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        if (exitCode != 0) {
            QCOMPARE(readFileBytes(project), existing ? readFileBytes(kSample) : QByteArray());
            return;
        }
        const Result<Project> sample = BwkReader::readFile(kSample);
        const Result<Project> written = BwkReader::readFile(project);
        const Result<QAEntryTable> imported = CsvReader::readFile(arguments.at(1));
        QVERIFY(sample && written && imported);
        QCOMPARE(written->document, existing ? sample->document : DocumentInfo::forNewProject());
        QAEntryTable expected =
            arguments.contains(u"--append"_s) ? sample->entries : QAEntryTable();
        for (const QAEntry& entry : *imported)
            expected.append(entry);
        QCOMPARE(written->entries, expected);
    }

    // OUTPUT in arguments stands for the file written.
    void exportCsv_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        const QStringList plain{u"export-csv"_s, kSample, u"OUTPUT"_s};
        // clang-format off
        QTest::newRow("UTF-8 by default") << plain << 0;
        QTest::newRow("code page 932") << plain + QStringList{u"--encoding"_s, u"cp932"_s} << 0;
        QTest::newRow("missing project") << QStringList{u"export-csv"_s, u"missing.bwk"_s, u"OUTPUT"_s} << 1;
        QTest::newRow("unknown encoding") << plain + QStringList{u"--encoding"_s, u"latin1"_s} << 2;
        QTest::newRow("option of import-csv") << plain + QStringList{u"--append"_s} << 2;
        QTest::newRow("missing argument") << plain.first(2) << 2;
        // clang-format on
    }

    void exportCsv() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QString output = dir.filePath(u"faq.csv"_s);
        const CliRun run = runCli(arguments.replaceInStrings(u"OUTPUT"_s, output));
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(exitCode == 0 ||
                (run.err.startsWith(u"brindlewick-cli: "_s) && !QFile::exists(output)));
        const auto encoding =
            arguments.contains(u"cp932"_s) ? CsvWriter::Encoding::Cp932 : CsvWriter::Encoding::Utf8;
        if (exitCode == 0)
            QCOMPARE(readFileBytes(output),
                     CsvWriter::write(BwkReader::readFile(kSample)->entries, encoding).value());
    }

    void damagedProjectIsOneLineWithTheProgramsMessage() {
        TestProgramFolder program;
        program.writeBytes(u"bad.bwk"_s, "T\r\nH\r\nM\r\nC\r\nc\r\nf\r\n\"d\"\r\nx\r\n");
        const CliRun run = runCli({u"dump"_s, program.filePath(u"bad.bwk"_s)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(u"brindlewick-cli: bwkファイルが壊れています。"_s),
                 qPrintable(run.err));
        QVERIFY(run.err.contains(u"8行目"_s));
        QCOMPARE(run.err.count(u'\n'), 1);
    }

    void designsListsEveryDesignAndReportsBrokenOnes() {
        TestProgramFolder program;
        program.addDesign(u"b"_s, u"青"_s, QString());
        program.addDesign(u"A"_s, u"赤"_s, QString());
        program.writeText(u"doc_code/c/procode"_s, u"one line"_s);
        const CliRun run = runCli({u"designs"_s, u"--program-folder"_s, program.path()});
        QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("A\t赤\tpage.ddc\t赤 の説明\n"
                                                            "b\t青\tpage.ddc\t青 の説明\n"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(u"doc_code/c/procode"_s));
    }

    // The real executable, as scripts run it.
    void exportEndToEnd() {
        QTemporaryDir dir;
        const QString output = dir.filePath(u"faq"_s);
        const QString exportSample = u"\"$CLI\" export '%1' '%2'"_s.arg(kSample, output);
        const CliRun run = runShell(exportSample);
        QCOMPARE(run.exitCode, 0);
        const QString pagePath = output + u"/faq.html"_s;
        QCOMPARE(QString::fromUtf8(run.out), pagePath + u'\n');
        QCOMPARE(QDir(output).entryList(QDir::Files),
                 (QStringList{u"faq.html"_s, u"search.js"_s, u"style.css"_s}));
        QCOMPARE(readFileBytes(pagePath),
                 readFileBytes(kSourceDir + u"/tests/golden/sample-standard.html"_s) + "\r\n");

        const CliRun again = runShell(exportSample);
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.startsWith(u"brindlewick-cli: "_s));
    }

    // Designs come from other people: nothing of the user's outside the
    // design root is read or published, and nothing hangs or is left half
    // done.
    void designsNeverReachOutOfTheirRoot_data() {
        QTest::addColumn<QString>("setUp");
        QTest::addColumn<QString>("designFolder");
        QTest::addColumn<QString>("named");
        // clang-format off
        QTest::newRow("resource linked to a private file") << u"ln -s ../../private/secret.txt doc_code/plain/theme.css"_s << u"plain"_s << u"theme.css"_s;
        QTest::newRow("design folder linked out") << u"ln -s ../private doc_code/evil"_s << u"evil"_s << u"evil"_s;
        QTest::newRow("design file linked to a private file") << u"ln -sf ../../private/secret.txt doc_code/plain/page.ddc"_s << u"plain"_s << u"page.ddc"_s;
        QTest::newRow("design file linked to an endless device") << u"ln -sf /dev/zero doc_code/plain/page.ddc"_s << u"plain"_s << u"page.ddc"_s;
        QTest::newRow("design file a pipe") << u"rm doc_code/plain/page.ddc && mkfifo doc_code/plain/page.ddc"_s << u"plain"_s << u"通常のファイルではありません"_s;
        QTest::newRow("resource a pipe") << u"mkfifo doc_code/plain/feed.css"_s << u"plain"_s << u"feed.css"_s;
        QTest::newRow("resource named in code page 932") << u"printf x > \"doc_code/plain/$(printf '\\225\\134').css\""_s << u"plain"_s << u"表.css"_s;
        // clang-format on
    }

    void designsNeverReachOutOfTheirRoot() {
        QFETCH(QString, setUp);
        QFETCH(QString, designFolder);
        QFETCH(QString, named);
        HostileFolder program;
        const QString project = program.projectFor(designFolder);
        QCOMPARE(runShell(setUp, program.path()).exitCode, 0);
        const QString folderOption = u" --program-folder '%1'"_s.arg(program.path());

        const CliRun exported =
            runShell(u"\"$CLI\" export p.bwk site/faq"_s + folderOption, program.path());
        QCOMPARE(exported.exitCode, 1);
        QVERIFY2(exported.err.contains(named), qPrintable(exported.err));
        QVERIFY(!exported.out.contains("SECRET"));
        // Nothing is left behind, not even the folder the export was built in.
        QCOMPARE(everythingIn(program.filePath(u"site"_s)), QStringList());

        const CliRun rendered = runShell(u"\"$CLI\" render p.bwk"_s + folderOption, program.path());
        QVERIFY(rendered.exitCode != -1);
        QVERIFY(!rendered.out.contains("SECRET"));
        const CliRun designs = runShell(u"\"$CLI\" designs"_s + folderOption);
        QVERIFY(designs.exitCode != -1);
        QVERIFY(!designs.out.contains("Stolen"));
    }

    void linksInsideTheRootKeepWorking() {
        HostileFolder program;
        program.writeText(u"doc_code/shared.css"_s, u"p{}"_s);
        program.link(u"plain"_s, u"doc_code/alias"_s);
        program.link(u"../shared.css"_s, u"doc_code/plain/common.css"_s);
        const QString project = program.projectFor(u"alias"_s);
        const CliRun run =
            runShell(u"\"$CLI\" export p.bwk faq --program-folder '%1'"_s.arg(program.path()),
                     program.path());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFileBytes(program.filePath(u"faq/common.css"_s)), QByteArray("p{}"));
        QCOMPARE(readFileBytes(program.filePath(u"faq/faq.html"_s)),
                 QByteArray("<p>x</p>\r\n\r\n"));
    }

    void outputIsResolvedByTheFileSystemAndNeverInsideTheDesignRoot() {
        HostileFolder program;
        const QString project = program.projectFor(u"plain"_s);
        QVERIFY(QDir(program.path()).mkpath(u"site/pages"_s));
        program.link(u"site/pages"_s, u"link"_s);
        const QString folderOption = u" --program-folder '%1'"_s.arg(program.path());

        QCOMPARE(runShell(u"\"$CLI\" export p.bwk link/../faq/"_s + folderOption, program.path())
                     .exitCode,
                 0);
        QVERIFY(QFile::exists(program.filePath(u"site/faq/faq.html"_s)));
        QVERIFY(!QFileInfo::exists(program.filePath(u"faq"_s)));

        const CliRun inside =
            runShell(u"\"$CLI\" export p.bwk doc_code/myfaq"_s + folderOption, program.path());
        QCOMPARE(inside.exitCode, 1);
        QVERIFY(!QFileInfo::exists(program.filePath(u"doc_code/myfaq"_s)));
        QCOMPARE(runShell(u"\"$CLI\" designs"_s + folderOption).exitCode, 0);
    }

    void pathArgumentsThatDoNotDecodeAreRefused() {
        HostileFolder program;
        program.writeText(u"p\uFFFD.bwk"_s, u"unrelated"_s);
        QCOMPARE(runShell(u"\"$CLI\" dump \"$(printf 'p\\377.bwk')\""_s, program.path()).exitCode,
                 2);
        const CliRun run =
            runShell(u"\"$CLI\" render p.bwk --program-folder \"$(printf 'x\\377')\""_s);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(u'x'), qPrintable(run.err));
        QCOMPARE(readFileBytes(program.filePath(u"p\uFFFD.bwk"_s)), QByteArray("unrelated"));
    }

    // Refused before a byte is read, even as standard input.
    void filesPastTheSizeLimitAreRefused() {
        QTemporaryDir dir;
        QFile huge(dir.filePath(u"huge.bwk"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(TextFile::kSizeLimit + 1));
        const CliRun run = runShell(u"\"$CLI\" dump /dev/stdin <huge.bwk"_s, dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(u"大きすぎて読み込めません"_s), qPrintable(run.err));
    }

    void lostStandardOutputIsAFailure_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"designs", "render '%1'", "dump '%1'"}) {
            const QString line = QString::fromLatin1(command).replace(u"%1"_s, kSample);
            QTest::newRow(qPrintable(line + u" full"_s)) << line + u" >/dev/full"_s;
            QTest::newRow(qPrintable(line + u" closed"_s)) << line + u" >&-"_s;
        }
    }

    void lostStandardOutputIsAFailure() {
        QFETCH(QString, command);
        const CliRun run =
            runShell(u"\"$CLI\" %1 --program-folder '%2'"_s.arg(command, kProgramFolder));
        QCOMPARE(run.exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
