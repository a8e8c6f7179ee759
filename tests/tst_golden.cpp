// The pages of the template engine, byte for byte, from the folder
// tests/golden/: one sub-folder per case.
//
//   design.ddc     the design, in code page 932 as design files are
//                  (or design.ref: one line, a path from the top of the repository)
//   project.json   the project as `brindlewick-cli dump` writes it
//                  (or project.bwk, or project.ref; none: sampleProject())
//   expected.html  the page as `brindlewick-cli render` prints it: code page
//                  932, character references for what it cannot hold
//                  (or expected.ref)
//   expected.error instead of a page: the message the run fails with (UTF-8)
//   limit          optional: the page size limit in characters
//
// A mismatch prints `diff -u` of the expected and the made page. With
// BRINDLEWICK_GOLDEN_UPDATE=1 in the environment the test writes the pages it
// makes as the expected ones instead (check them with git diff).

#include "EngineTestHelpers.h"
#include "TestDesigns.h"
#include "cli/ProjectJson.h"
#include "project/BwkReader.h"
#include "text/Cp932Codec.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kSourceDir = QStringLiteral(BRINDLEWICK_SOURCE_DIR);
const QString kGoldenDir = kSourceDir + u"/tests/golden"_s;

// The file of a case, following NAME.ref to the file it names.
QString caseFile(const QDir& folder, const QString& name) {
    const QString ref = folder.filePath(name.section(u'.', 0, 0) + u".ref"_s);
    if (QFileInfo::exists(ref))
        return kSourceDir + u'/' + QString::fromUtf8(readFileBytes(ref)).trimmed();
    return folder.filePath(name);
}

// `diff -u` of the expected bytes and the made ones, shown as text.
QString diff(const QString& expectedPath, const QByteArray& actual) {
    QTemporaryDir dir;
    const QString actualPath = dir.filePath(u"made.html"_s);
    writeFileBytes(actualPath, actual);
    QProcess process;
    process.start(u"diff"_s,
                  {u"-u"_s, u"--label=expected"_s, u"--label=made"_s, expectedPath, actualPath});
    if (!process.waitForFinished(30000))
        return u"(diff did not run)"_s;
    // CR LF shown as a line end, any other CR as \r.
    return Cp932Codec::decode(process.readAllStandardOutput().left(20000))
        .replace(u"\r\n"_s, u"\n"_s)
        .replace(u'\r', u"\\r"_s);
}

Result<Project> readProject(const QDir& folder) {
    QString path = caseFile(folder, u"project.json"_s);
    if (!QFileInfo::exists(path))
        path = folder.filePath(u"project.bwk"_s);
    if (!QFileInfo::exists(path))
        return sampleProject();
    if (path.endsWith(u".json"_s))
        return ProjectJson::fromJson(readFileBytes(path));
    return BwkReader::readFile(path);
}

} // namespace

class GoldenTest : public QObject {
    Q_OBJECT

private slots:
    void page_data() {
        QTest::addColumn<QString>("folder");
        const QStringList cases =
            QDir(kGoldenDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QVERIFY(cases.size() >= 40);
        for (const QString& name : cases)
            QTest::newRow(name.toUtf8().constData()) << kGoldenDir + u'/' + name;
    }

    void page() {
        QFETCH(QString, folder);
        const QDir dir(folder);
        const Result<Project> project = readProject(dir);
        QVERIFY2(project, qPrintable(project.error()));
        const Result<QString> design = TextFile::read(caseFile(dir, u"design.ddc"_s));
        QVERIFY2(design, qPrintable(design.error()));

        WrepClass engine(*project, ProgramFolder(u"/nonexistent"_s));
        if (const QByteArray limit = readFileBytes(dir.filePath(u"limit"_s)); !limit.isEmpty())
            engine.setPageSizeLimit(limit.trimmed().toLongLong());
        const Status run = engine.runText(*design);
        const bool update = qEnvironmentVariableIntValue("BRINDLEWICK_GOLDEN_UPDATE") == 1;

        const QString errorPath = dir.filePath(u"expected.error"_s);
        if (QFileInfo::exists(errorPath)) {
            QVERIFY2(!run, "the run should fail");
            QCOMPARE(run.error(), QString::fromUtf8(readFileBytes(errorPath)).trimmed());
            QVERIFY(engine.sorce().isEmpty());
            return;
        }
        QVERIFY2(run, qPrintable(run.error()));
        QByteArray page;
        Cp932Codec::encodeForHtml(engine.sorce(), page);
        const QString expectedPath = caseFile(dir, u"expected.html"_s);
        if (update) {
            writeFileBytes(expectedPath, page);
            return;
        }
        QVERIFY2(QFileInfo::exists(expectedPath), qPrintable(expectedPath));
        if (page != readFileBytes(expectedPath))
            QFAIL(qPrintable(
                u"the page differs from %1:\n%2"_s.arg(expectedPath, diff(expectedPath, page))));
    }
};

QTEST_GUILESS_MAIN(GoldenTest)
#include "tst_golden.moc"
