// Exporting a page into a new folder: what is refused and what a failure
// leaves. The page itself is checked byte for byte by tst_golden, the folder
// an export makes by tst_shippeddesigns and tst_cli.

#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "design/HtmlExporter.h"

namespace {

Project completeProject() {
    Project project;
    DocumentInfo& document = project.document;
    document.DocumentTitle = QStringLiteral("よくある質問");
    document.DocumentCreater = QStringLiteral("Ann");
    document.DocumentMail = QStringLiteral("ann@example.com");
    document.DocumentDataview = QStringLiteral(" ");
    document.DocumentCode = QStringLiteral("Plain\\page.ddc");
    document.DocumentCodeFolder = QStringLiteral("Plain");
    project.entries.append(QAEntry{QStringLiteral("絵文字は？"), QStringLiteral("😀です"), 1});
    return project;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class HtmlExportTest : public QObject {
    Q_OBJECT

private:
    TestProgramFolder m_program;

    ProgramFolder program() const { return ProgramFolder(m_program.path()); }

private slots:
    void initTestCase() {
        m_program.addDesign(
            QStringLiteral("Plain"), QStringLiteral("Simple"),
            QStringLiteral("<title>[document.title]</title>\r\n"
                           "[loop::]<p>[question.] [answer.]</p>\r\n[::loop]"),
            {QStringLiteral("back.gif"), QStringLiteral("style.css"), QStringLiteral("old.ddc")});
    }

    void incompleteDocumentIsRefused() {
        for (QString DocumentInfo::*field :
             {&DocumentInfo::DocumentTitle, &DocumentInfo::DocumentCreater,
              &DocumentInfo::DocumentHomepage, &DocumentInfo::DocumentMail,
              &DocumentInfo::DocumentDataview, &DocumentInfo::DocumentCodeFolder,
              &DocumentInfo::DocumentCode}) {
            Project project = completeProject();
            project.document.*field =
                field == &DocumentInfo::DocumentCode ? DocumentInfo::noDesignCode() : QString();
            const Result<QString> page = HtmlExporter(project, program()).render();
            QVERIFY(!page);
            QCOMPARE(page.error(), HtmlExporter::incompleteMessage());
        }
    }

    void existingOutputIsRefused() {
        const Project project = completeProject();
        const HtmlExporter exporter(project, program());
        const QString output = m_program.filePath(QStringLiteral("taken"));
        m_program.writeText(QStringLiteral("taken/keep.txt"), QStringLiteral("mine"));
        const Result<QString> taken = exporter.write(QStringLiteral("page"), output);
        QVERIFY(!taken);
        QVERIFY(taken.error().contains(output));
        QCOMPARE(QDir(output).entryList(QDir::Files), QStringList{QStringLiteral("keep.txt")});

        m_program.writeText(QStringLiteral("a-file"), QStringLiteral("mine"));
        QVERIFY(
            !exporter.write(QStringLiteral("page"), m_program.filePath(QStringLiteral("a-file"))));
        QCOMPARE(readAll(m_program.filePath(QStringLiteral("a-file"))), QByteArray("mine"));
    }

    void failuresLeaveNothingBehind() {
        Project project = completeProject();
        const HtmlExporter exporter(project, program());

        const QString noParent = m_program.filePath(QStringLiteral("no/such/parent"));
        QVERIFY(!exporter.write(QStringLiteral("page"), noParent));
        QVERIFY(!QFileInfo::exists(noParent));

        project.document.DocumentCodeFolder = QStringLiteral("Gone");
        const QString output = m_program.filePath(QStringLiteral("half"));
        const Result<QString> gone = exporter.write(QStringLiteral("page"), output);
        QVERIFY(!gone);
        QVERIFY(gone.error().contains(QStringLiteral("Gone")));
        QVERIFY(!QFileInfo::exists(output));

        // A disk that fills up while the page is written.
        project.document.DocumentCodeFolder = QStringLiteral("Plain");
        const auto written = [&] {
            const FileSizeLimit fullAfter(4096);
            return exporter.write(QString(10000, u'x'), output);
        }();
        QVERIFY(!written);
        QVERIFY(!QFileInfo::exists(output));
    }

    void unreadableDesignIsReported() {
        Project project = completeProject();
        project.document.DocumentCode = QStringLiteral("Plain\\missing.ddc");
        const Result<QString> missing = HtmlExporter(project, program()).render();
        QVERIFY(!missing);
        QVERIFY(missing.error().contains(QStringLiteral("missing.ddc")));
    }
};

QTEST_GUILESS_MAIN(HtmlExportTest)
#include "tst_htmlexport.moc"
