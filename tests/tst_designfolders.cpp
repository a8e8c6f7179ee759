#include "TestDesigns.h"
#include "design/DesignCatalog.h"
#include "design/DesignCopier.h"
#include "design/DesignList.h"
#include "design/DesignLocation.h"
#include "design/HtmlExporter.h"
#include "design/Procode.h"

class DesignFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void listingIsCaseInsensitiveNameOrderWithoutHiddenNames() {
        TestProgramFolder program;
        for (const char* name : {"beta", "Alpha", "gamma", ".hidden", "Beta2"})
            program.addDesign(QString::fromLatin1(name), QStringLiteral("x"), QString());
        program.writeText(QStringLiteral("doc_code/a-plain-file"), QStringLiteral("x"));
        const auto names = DesignList::folderNames(program.filePath(QStringLiteral("doc_code")));
        QVERIFY(names);
        QCOMPARE(*names, (QStringList{QStringLiteral("a-plain-file"), QStringLiteral("Alpha"),
                                      QStringLiteral("beta"), QStringLiteral("Beta2"),
                                      QStringLiteral("gamma")}));
        QVERIFY(!DesignList::folderNames(program.filePath(QStringLiteral("missing"))));
    }

    void catalogLeavesOutDesignsThatLeadOutOfTheRoot() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("inside"), QStringLiteral("Inside"), QString());
        program.addDesign(QStringLiteral("../elsewhere"), QStringLiteral("Elsewhere"), QString());
        QVERIFY(QFile::link(QStringLiteral("../elsewhere"),
                            program.filePath(QStringLiteral("doc_code/outside"))));
        QVERIFY(QFile::link(QStringLiteral("inside"),
                            program.filePath(QStringLiteral("doc_code/alias"))));
        const auto designs = DesignCatalog::read(program.filePath(QStringLiteral("doc_code")));
        QVERIFY2(designs, qPrintable(designs.error()));
        QStringList names;
        for (const DesignCatalog::Design& design : *designs)
            names << design.folder + u'=' + design.displayName();
        QCOMPARE(names,
                 (QStringList{QStringLiteral("alias=Inside"), QStringLiteral("inside=Inside")}));
    }

    void procodeLines() {
        const Procode blue =
            Procode::parse(u"Blue design\r\nmain\r\nDark text on a blue ground\r\nmore\r\n");
        QCOMPARE(blue.displayName(), QStringLiteral("Blue design"));
        QCOMPARE(blue.designFileName(), QStringLiteral("main.ddc"));
        QCOMPARE(blue.description(), QStringLiteral("Dark text on a blue ground"));

        const Procode twoLines = Procode::parse(u" Simple \rpage");
        QCOMPARE(twoLines.displayName(), QStringLiteral(" Simple "));
        QVERIFY(twoLines.namesDesignFile());
        QVERIFY(!twoLines.hasDescription());
        QVERIFY(!Procode::parse(u"only one line\r\n").namesDesignFile());
        QCOMPARE(Procode::parse(u"").lineCount(), 0);
    }

    void copyLeavesOnlyResources() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("Plain"), QStringLiteral("Simple"), QStringLiteral("x"),
                          {QStringLiteral("old.DDC"), QStringLiteral("back.gif"),
                           QStringLiteral("img/inside.png"), QStringLiteral(".hidden.css")});
        const QString target = program.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkdir(target));
        program.writeText(QStringLiteral("out/stale.ddc"), QStringLiteral("old"));
        program.writeText(QStringLiteral("out/back.gif"), QStringLiteral("old"));

        QVERIFY(DesignCopier::copy(DesignLocation(ProgramFolder(program.path())),
                                   program.filePath(QStringLiteral("doc_code/Plain")), target)
                    .ok());
        QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("back.gif")});
        QFile copied(program.filePath(QStringLiteral("out/back.gif")));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("resource back.gif"));
    }

    void copyWithoutProcodeAndFromMissingFolder() {
        TestProgramFolder program;
        program.writeText(QStringLiteral("doc_code/Bare/style.css"), QStringLiteral("body{}"));
        const QString target = program.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkdir(target));
        QVERIFY(DesignCopier::copy(DesignLocation(ProgramFolder(program.path())),
                                   program.filePath(QStringLiteral("doc_code/Bare")), target)
                    .ok());
        QVERIFY(QFile::exists(program.filePath(QStringLiteral("out/style.css"))));
        QVERIFY(!DesignCopier::copy(DesignLocation(ProgramFolder(program.path())),
                                    program.filePath(QStringLiteral("doc_code/Gone")), target));
    }

    void republishingReplacesTheFolderWholeOrNotAtAll() {
        TestProgramFolder program;
        program.addDesign(QStringLiteral("one"), QStringLiteral("One"),
                          QStringLiteral("<p>[document.title]</p>"), {QStringLiteral("one.css")});
        program.addDesign(QStringLiteral("two"), QStringLiteral("Two"), QStringLiteral("<b></b>"),
                          {QStringLiteral("two.css")});
        Project project;
        DocumentInfo& doc = project.document;
        doc.DocumentTitle = doc.DocumentCreater = doc.DocumentHomepage = doc.DocumentMail =
            doc.DocumentDataview = QStringLiteral("first");
        doc.DocumentCode = QStringLiteral("one\\page.ddc");
        doc.DocumentCodeFolder = QStringLiteral("one");
        const ProgramFolder folder(program.path());
        const QString output = program.filePath(QStringLiteral("site"));
        QVERIFY(!HtmlExporter::holdsExport(output));
        QVERIFY(HtmlExporter(project, folder).write(QStringLiteral("old page"), output));
        QVERIFY(HtmlExporter::holdsExport(output));

        doc.DocumentCode = QStringLiteral("two\\page.ddc");
        doc.DocumentCodeFolder = QStringLiteral("two");
        const Result<QString> page =
            HtmlExporter(project, folder).rewrite(QStringLiteral("new page"), output + u'/');
        QVERIFY2(page, qPrintable(page.error()));
        QCOMPARE(*page, output + QStringLiteral("/site.html"));
        const QStringList everything =
            QDir(program.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(everything, (QStringList{QStringLiteral("doc_code"), QStringLiteral("site")}));
        QCOMPARE(QDir(output).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("site.html"), QStringLiteral("two.css")}));

        // A design that fails half-way leaves the published folder as it was.
        doc.DocumentCodeFolder = QStringLiteral("gone");
        QVERIFY(!HtmlExporter(project, folder).rewrite(QStringLiteral("newer"), output));
        QFile kept(output + QStringLiteral("/site.html"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("new page\r\n"));
        QVERIFY(!HtmlExporter(project, folder).rewrite(QStringLiteral("x"), program.path()));
    }

    void storedDesignValuesStayInsideTheDesignRoot_data() {
        QTest::addColumn<QString>("documentCode");
        QTest::addColumn<bool>("inside");
        QTest::newRow("folder and file") << QStringLiteral("Plain\\page.ddc") << true;
        QTest::newRow("forward slash") << QStringLiteral("Plain/page.ddc") << true;
        QTest::newRow("parent folder") << QStringLiteral("..\\..\\etc\\passwd") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
        QTest::newRow("absolute with backslash") << QStringLiteral("\\etc\\passwd") << false;
        QTest::newRow("no design") << QStringLiteral("．．．") << true;
        QTest::newRow("empty") << QString() << false;
    }

    void storedDesignValuesStayInsideTheDesignRoot() {
        QFETCH(QString, documentCode);
        QFETCH(bool, inside);
        const ProgramFolder program(QStringLiteral("/opt/bw"));
        const auto path = DesignLocation::designFile(program, documentCode);
        QCOMPARE(path.ok(), inside);
        if (path)
            QVERIFY(path->startsWith(QStringLiteral("/opt/bw/doc_code/")));
        else
            QVERIFY(path.error().contains(QStringLiteral("doc_code")));
        QCOMPARE(*DesignLocation::designFile(program, QStringLiteral("Plain\\page.ddc")),
                 QStringLiteral("/opt/bw/doc_code/Plain/page.ddc"));
        QVERIFY(!DesignLocation(program).folder(QStringLiteral("..")));
        QVERIFY(!DesignLocation(program).folder(QStringLiteral("a/b")));
        QVERIFY(DesignLocation(program).folder(QStringLiteral("Plain")));
    }
};

QTEST_GUILESS_MAIN(DesignFoldersTest)
#include "tst_designfolders.moc"
