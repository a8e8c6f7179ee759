#include "EngineTestHelpers.h"
#include "TestDesigns.h"
#include "design/DesignRoot.h"
#include "design/HtmlExporter.h"
#include "design/WrepClass.h"
#include "project/BwkReader.h"
#include "text/Cp932Codec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The build folder, whose designs hold their copy of search.js.
const QString kProgramFolder = QStringLiteral(BRINDLEWICK_BUILD_DIR);

// What tidy reports about a page (read as Shift_JIS): empty for a page
// without errors or warnings.
QString tidyReport(const QString& pagePath) {
    QProcess tidy;
    tidy.start(u"tidy"_s, {u"-q"_s, u"-e"_s, u"--char-encoding"_s, u"shiftjis"_s, pagePath});
    if (!tidy.waitForFinished())
        return u"tidy did not run"_s;
    return QString::fromLocal8Bit(tidy.readAllStandardError() + tidy.readAllStandardOutput());
}

QSet<QString> captures(const QString& page, const QString& pattern) {
    QSet<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(page);
    while (it.hasNext())
        found.insert(it.next().captured(1));
    return found;
}

} // namespace

// Every design shipped with the program, run over the sample project.
class ShippedDesignsTest : public QObject {
    Q_OBJECT

private slots:
    void sampleExportsWithEveryDesign_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("code");
        const auto designs = DesignRoot(ProgramFolder(kProgramFolder)).designs();
        QVERIFY(designs);
        QVERIFY(designs->size() >= 1);
        for (const DesignRoot::Design& design : *designs) {
            QVERIFY(design.procode.hasDescription());
            QTest::newRow(design.folder.toUtf8().constData())
                << design.folder << design.designCode();
        }
    }

    // The sample as written, and again after sorting and moving its entries
    // and editing an answer: each page is sound, and every question keeps
    // its anchor, so links that readers shared keep working.
    void sampleExportsWithEveryDesign() {
        QFETCH(QString, folder);
        QFETCH(QString, code);
        Result<Project> sample =
            BwkReader::readFile(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples/sample.bwk"));
        QVERIFY2(sample, qPrintable(sample.error()));
        Project project = *sample;
        project.document.DocumentCode = code;
        project.document.DocumentCodeFolder = folder;
        Project reordered = project;
        reordered.entries.sortByQuestion();
        QAEntry last = reordered.entries.item(reordered.entries.count());
        last.answer += u"（追記）"_s;
        reordered.entries.remove(reordered.entries.count());
        reordered.entries.insert(1, last);

        const QMap<QString, QString> anchors = anchorsOf(project);
        QCOMPARE(anchorsOf(reordered), anchors);
        for (const Project& version : {project, reordered})
            checkExport(version, anchors);
    }

private:
    void checkExport(const Project& project, const QMap<QString, QString>& anchors) {
        const HtmlExporter exporter(project, ProgramFolder(kProgramFolder));
        const Result<QString> page = exporter.render();
        QVERIFY2(page, qPrintable(page.error()));
        QTemporaryDir dir;
        const Result<QString> pagePath = exporter.write(*page, dir.filePath(u"faq"_s));
        QVERIFY2(pagePath, qPrintable(pagePath.error()));

        const QString html = Cp932Codec::decode(readFileBytes(*pagePath));
        QVERIFY(!html.contains(QChar(0xFFFD)));
        QVERIFY(html.startsWith(u"<!DOCTYPE html>"_s, Qt::CaseInsensitive));
        const DocumentInfo& doc = project.document;
        QVERIFY(html.contains(doc.DocumentTitle));
        QVERIFY(html.contains(u"mailto:"_s + doc.DocumentMail));
        QVERIFY(html.contains(u"href=\""_s + doc.DocumentHomepage + u'"'));
        const QString report = tidyReport(*pagePath);
        QVERIFY2(report.isEmpty(), qPrintable(report));

        // Every link within the page leads somewhere, and every enabled
        // question is on the page under its anchor.
        const QSet<QString> ids = captures(html, u"\\sid=\"([^\"]+)\""_s);
        for (const QString& target : captures(html, u"href=\"#([^\"]+)\""_s))
            QVERIFY2(ids.contains(target), qPrintable(target));
        for (const QAEntry& entry : project.entries) {
            if (!entry.isEnabled())
                continue;
            QVERIFY2(html.contains(entry.question), qPrintable(entry.question));
            QVERIFY2(ids.contains(anchors.value(entry.question)), qPrintable(entry.question));
        }

        // Every file the page loads (style sheets, scripts; its icon is in
        // the page) was exported beside it, so the folder works on its own.
        const QDir folder(dir.filePath(u"faq"_s));
        for (const QString& file : captures(html, u"(?:href|src)=\"([^\"#:/]+)\""_s))
            QVERIFY2(folder.exists(file), qPrintable(file));

        // Only resources beside the page: no design file, no description.
        for (const QString& name : folder.entryList(QDir::Files)) {
            QVERIFY(!name.endsWith(u".ddc"_s));
            QVERIFY(name != u"procode");
        }
    }
};

QTEST_GUILESS_MAIN(ShippedDesignsTest)
#include "tst_shippeddesigns.moc"
