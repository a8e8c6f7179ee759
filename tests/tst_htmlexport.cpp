#include "FileSizeLimit.h"
#include "TestDesigns.h"
#include "app/MApp.h"
#include "design/HtmlExporter.h"

namespace {

MApp completeProject() {
    MApp app;
    app.DocumentTitle = QStringLiteral("よくある質問");
    app.DocumentCreater = QStringLiteral("Ann");
    app.DocumentMail = QStringLiteral("ann@example.com");
    app.DocumentDataview = QStringLiteral(" ");
    app.DocumentCode = QStringLiteral("Plain\\page.ddc");
    app.DocumentCodeFolder = QStringLiteral("Plain");
    app.entries.append(QAEntry{QStringLiteral("絵文字は？"), QStringLiteral("😀です"), 1});
    return app;
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

private slots:
    void initTestCase() {
        m_program.addDesign(
            QStringLiteral("Plain"), QStringLiteral("Simple"),
            QStringLiteral("<title>[document.title]</title>\r\n"
                           "[loop::]<p>[question.] [answer.]</p>\r\n[::loop]"),
            {QStringLiteral("back.gif"), QStringLiteral("style.css"), QStringLiteral("old.ddc")});
    }

    void incompleteDocumentIsRefused_data() {
        QTest::addColumn<int>("missing");
        for (int i = 0; i < 7; ++i)
            QTest::newRow(QByteArray::number(i).constData()) << i;
    }

    void incompleteDocumentIsRefused() {
        QFETCH(int, missing);
        MApp app = completeProject();
        QString* texts[] = {&app.DocumentTitle, &app.DocumentCreater,  &app.DocumentHomepage,
                            &app.DocumentMail,  &app.DocumentDataview, &app.DocumentCodeFolder,
                            &app.DocumentCode};
        if (missing == 6)
            *texts[missing] = DocumentInfo::noDesignCode();
        else
            texts[missing]->clear();
        HtmlExporter exporter(app, ProgramFolder(m_program.path()));
        QVERIFY(!exporter.render());
        QCOMPARE(
            exporter.errorString(),
            QStringLiteral("ドキュメント情報が詳細に定義されていないためhtml出力ができません。"));
    }

    void exportWritesPageAndResources() {
        MApp app = completeProject();
        HtmlExporter exporter(app, ProgramFolder(m_program.path()));
        const auto page = exporter.render();
        QVERIFY2(page, qPrintable(exporter.errorString()));
        const QString output = m_program.filePath(QStringLiteral("web/faq"));
        QVERIFY(QDir().mkpath(m_program.filePath(QStringLiteral("web"))));
        const auto pagePath = exporter.write(*page, output);
        QVERIFY2(pagePath, qPrintable(exporter.errorString()));
        QCOMPARE(*pagePath, output + QStringLiteral("/faq.html"));
        QCOMPARE(QDir(output).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("back.gif"), QStringLiteral("faq.html"),
                              QStringLiteral("style.css")}));
        // Code page 932, a character reference for what the code page cannot
        // hold, and one more CR LF after the page text: the line after
        // "[::loop]" is empty but still ends in CR LF, then the page's own.
        QByteArray expected;
        QVERIFY(!Cp932Codec::encode(QStringLiteral("<title>よくある質問</title>\r\n<p>絵文字は？ "),
                                    expected));
        expected += "&#x1F600;";
        QVERIFY(!Cp932Codec::encode(QStringLiteral("です</p>\r\n\r\n\r\n"), expected));
        QCOMPARE(readAll(*pagePath), expected);
        QVERIFY(!app.DataChanged);
    }

    void existingOutputIsRefused() {
        MApp app = completeProject();
        HtmlExporter exporter(app, ProgramFolder(m_program.path()));
        const QString output = m_program.filePath(QStringLiteral("taken"));
        m_program.writeText(QStringLiteral("taken/keep.txt"), QStringLiteral("mine"));
        QVERIFY(!exporter.write(QStringLiteral("page"), output));
        QVERIFY(exporter.errorString().contains(output));
        QCOMPARE(QDir(output).entryList(QDir::Files), QStringList{QStringLiteral("keep.txt")});

        m_program.writeText(QStringLiteral("a-file"), QStringLiteral("mine"));
        QVERIFY(
            !exporter.write(QStringLiteral("page"), m_program.filePath(QStringLiteral("a-file"))));
        QCOMPARE(readAll(m_program.filePath(QStringLiteral("a-file"))), QByteArray("mine"));
    }

    void failuresLeaveNothingBehind() {
        MApp app = completeProject();
        HtmlExporter exporter(app, ProgramFolder(m_program.path()));

        const QString noParent = m_program.filePath(QStringLiteral("no/such/parent"));
        QVERIFY(!exporter.write(QStringLiteral("page"), noParent));
        QVERIFY(!QFileInfo::exists(noParent));

        app.DocumentCodeFolder = QStringLiteral("Gone");
        const QString output = m_program.filePath(QStringLiteral("half"));
        QVERIFY(!exporter.write(QStringLiteral("page"), output));
        QVERIFY(exporter.errorString().contains(QStringLiteral("Gone")));
        QVERIFY(!QFileInfo::exists(output));

        // A disk that fills up while the page is written.
        app.DocumentCodeFolder = QStringLiteral("Plain");
        const auto written = [&] {
            const FileSizeLimit fullAfter(4096);
            return exporter.write(QString(10000, u'x'), output);
        }();
        QVERIFY(!written);
        QVERIFY(!QFileInfo::exists(output));
    }

    void unreadableDesignIsReported() {
        MApp app = completeProject();
        app.DocumentCode = QStringLiteral("Plain\\missing.ddc");
        HtmlExporter exporter(app, ProgramFolder(m_program.path()));
        QVERIFY(!exporter.render());
        QVERIFY(exporter.errorString().contains(QStringLiteral("missing.ddc")));
    }
};

QTEST_GUILESS_MAIN(HtmlExportTest)
#include "tst_htmlexport.moc"
