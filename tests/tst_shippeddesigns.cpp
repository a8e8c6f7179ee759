#include "text/Cp932Codec.h"
#include "design/DesignCatalog.h"
#include "design/HtmlExporter.h"
#include "project/BwkReader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kDataFolder = QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data");

// Where the tags of a page do not nest properly, or an empty text when they
// do. Void elements need no end tag; scripts and style sheets are skipped.
QString tagNestingError(const QString& page) {
    static const QSet<QString> voidElements{
        QStringLiteral("area"), QStringLiteral("base"),   QStringLiteral("br"),
        QStringLiteral("col"),  QStringLiteral("embed"),  QStringLiteral("hr"),
        QStringLiteral("img"),  QStringLiteral("input"),  QStringLiteral("link"),
        QStringLiteral("meta"), QStringLiteral("source"), QStringLiteral("track"),
        QStringLiteral("wbr")};
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9-]*)[^>]*?(/?)>"));
    QStringList open;
    qsizetype from = 0;
    while (true) {
        const QRegularExpressionMatch match = tag.match(page, from);
        if (!match.hasMatch())
            break;
        from = match.capturedEnd();
        const QString name = match.captured(2).toLower();
        if (match.captured(1).isEmpty()) {
            if (voidElements.contains(name) || !match.captured(3).isEmpty())
                continue;
            if (name == u"script" || name == u"style") {
                const qsizetype close =
                    page.indexOf(QStringLiteral("</") + name, from, Qt::CaseInsensitive);
                if (close < 0)
                    return QStringLiteral("<%1> never closed").arg(name);
                from = page.indexOf(u'>', close) + 1;
                continue;
            }
            open.append(name);
        } else if (open.isEmpty() || open.takeLast() != name) {
            return QStringLiteral("</%1> at %2 closes nothing open")
                .arg(name)
                .arg(match.capturedStart());
        }
    }
    return open.isEmpty() ? QString() : QStringLiteral("left open: ") + open.join(u' ');
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
        const auto designs = DesignCatalog::read(kDataFolder + QStringLiteral("/doc_code"));
        QVERIFY(designs);
        QVERIFY(designs->size() >= 1);
        for (const DesignCatalog::Design& design : *designs) {
            QVERIFY(design.procode.hasDescription());
            QTest::newRow(design.folder.toUtf8().constData())
                << design.folder << design.designCode();
        }
    }

    void sampleExportsWithEveryDesign() {
        QFETCH(QString, folder);
        QFETCH(QString, code);
        Result<Project> sample =
            BwkReader::readFile(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/examples/sample.bwk"));
        QVERIFY2(sample, qPrintable(sample.error()));
        Project& project = *sample;
        project.document.DocumentCode = code;
        project.document.DocumentCodeFolder = folder;

        const HtmlExporter exporter(project, ProgramFolder(kDataFolder));
        const Result<QString> page = exporter.render();
        QVERIFY2(page, qPrintable(page.error()));
        QTemporaryDir dir;
        const Result<QString> pagePath = exporter.write(*page, dir.filePath(QStringLiteral("faq")));
        QVERIFY2(pagePath, qPrintable(pagePath.error()));

        QFile file(*pagePath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = Cp932Codec::decode(file.readAll());
        QVERIFY(!html.contains(QChar(0xFFFD)));
        QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>"), Qt::CaseInsensitive));
        QVERIFY(html.contains(QStringLiteral("charset=\"Shift_JIS\""), Qt::CaseInsensitive));
        QVERIFY(html.contains(project.document.DocumentTitle));
        QVERIFY(html.contains(QStringLiteral("mailto:") + project.document.DocumentMail));
        QVERIFY(html.contains(QStringLiteral("href=\"") + project.document.DocumentHomepage + u'"'));
        const QString nesting = tagNestingError(html);
        QVERIFY2(nesting.isEmpty(), qPrintable(nesting));

        // Every link within the page leads somewhere, every entry has an
        // anchor, and every enabled question is on the page.
        const QSet<QString> ids = captures(html, QStringLiteral("\\sid=\"([^\"]+)\""));
        for (const QString& target : captures(html, QStringLiteral("href=\"#([^\"]+)\"")))
            QVERIFY2(ids.contains(target), qPrintable(target));
        QVERIFY(ids.size() >= project.entries.count());
        for (const QAEntry& entry : project.entries) {
            if (entry.isEnabled())
                QVERIFY2(html.contains(entry.question), qPrintable(entry.question));
        }

        // Only resources beside the page: no design file, no description.
        for (const QString& name :
             QDir(dir.filePath(QStringLiteral("faq"))).entryList(QDir::Files)) {
            QVERIFY(!name.endsWith(QStringLiteral(".ddc")));
            QVERIFY(name != u"procode");
        }
    }
};

QTEST_GUILESS_MAIN(ShippedDesignsTest)
#include "tst_shippeddesigns.moc"
