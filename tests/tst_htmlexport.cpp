// Exporting a page into a new folder: what is refused and what a failure
// leaves. The page itself is checked byte for byte by tst_golden, the folder
// an export makes by tst_shippeddesigns and tst_cli.

#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "design/HtmlExporter.h"

using namespace Qt::StringLiterals;

namespace {

Project completeProject() {
    Project project;
    DocumentInfo& document = project.document;
    document.DocumentTitle = u"よくある質問"_s;
    document.DocumentCreater = u"Ann"_s;
    document.DocumentMail = u"ann@example.com"_s;
    document.DocumentDataview = u" "_s;
    document.DocumentCode = u"Plain\\page.ddc"_s;
    document.DocumentCodeFolder = u"Plain"_s;
    project.entries.append(QAEntry{u"絵文字は？"_s, u"😀です"_s, 1});
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
        m_program.addDesign(u"Plain"_s, u"Simple"_s,
                            QStringLiteral("<title>[document.title]</title>\r\n"
                                           "[loop::]<p>[question.] [answer.]</p>\r\n[::loop]"),
                            {u"back.gif"_s, u"style.css"_s, u"old.ddc"_s});
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
        const QString output = m_program.filePath(u"taken"_s);
        m_program.writeText(u"taken/keep.txt"_s, u"mine"_s);
        const Result<QString> taken = exporter.write(u"page"_s, output);
        QVERIFY(!taken);
        QVERIFY(taken.error().contains(output));
        QCOMPARE(QDir(output).entryList(QDir::Files), QStringList{u"keep.txt"_s});

        m_program.writeText(u"a-file"_s, u"mine"_s);
        QVERIFY(!exporter.write(u"page"_s, m_program.filePath(u"a-file"_s)));
        QCOMPARE(readAll(m_program.filePath(u"a-file"_s)), QByteArray("mine"));
    }

    void failuresLeaveNothingBehind() {
        Project project = completeProject();
        const HtmlExporter exporter(project, program());

        const QString noParent = m_program.filePath(u"no/such/parent"_s);
        QVERIFY(!exporter.write(u"page"_s, noParent));
        QVERIFY(!QFileInfo::exists(noParent));

        project.document.DocumentCodeFolder = u"Gone"_s;
        const QString output = m_program.filePath(u"half"_s);
        const Result<QString> gone = exporter.write(u"page"_s, output);
        QVERIFY(!gone);
        QVERIFY(gone.error().contains(u"Gone"_s));
        QVERIFY(!QFileInfo::exists(output));

        // A disk that fills up while the page is written.
        project.document.DocumentCodeFolder = u"Plain"_s;
        const auto written = [&] {
            const FileSizeLimit fullAfter(4096);
            return exporter.write(QString(10000, u'x'), output);
        }();
        QVERIFY(!written);
        QVERIFY(!QFileInfo::exists(output));
    }

    void unreadableDesignIsReported() {
        Project project = completeProject();
        project.document.DocumentCode = u"Plain\\missing.ddc"_s;
        const Result<QString> missing = HtmlExporter(project, program()).render();
        QVERIFY(!missing);
        QVERIFY(missing.error().contains(u"missing.ddc"_s));
    }
};

QTEST_GUILESS_MAIN(HtmlExportTest)
#include "tst_htmlexport.moc"
