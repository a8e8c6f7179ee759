#include "TestDesigns.h"
#include "design/DesignCatalog.h"
#include "design/DesignCopier.h"
#include "design/DesignList.h"
#include "design/DesignLocation.h"
#include "design/HtmlExporter.h"
#include "design/Procode.h"

using namespace Qt::StringLiterals;

class DesignFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void listingIsCaseInsensitiveNameOrderWithoutHiddenNames() {
        TestProgramFolder program;
        for (const char* name : {"beta", "Alpha", "gamma", ".hidden", "Beta2"})
            program.addDesign(QString::fromLatin1(name), u"x"_s, QString());
        program.writeText(u"doc_code/a-plain-file"_s, u"x"_s);
        const auto names = DesignList::folderNames(program.filePath(u"doc_code"_s));
        QVERIFY(names);
        QCOMPARE(*names,
                 (QStringList{u"a-plain-file"_s, u"Alpha"_s, u"beta"_s, u"Beta2"_s, u"gamma"_s}));
        QVERIFY(!DesignList::folderNames(program.filePath(u"missing"_s)));
    }

    void catalogLeavesOutDesignsThatLeadOutOfTheRoot() {
        TestProgramFolder program;
        program.addDesign(u"inside"_s, u"Inside"_s, QString());
        program.addDesign(u"../elsewhere"_s, u"Elsewhere"_s, QString());
        QVERIFY(QFile::link(u"../elsewhere"_s, program.filePath(u"doc_code/outside"_s)));
        QVERIFY(QFile::link(u"inside"_s, program.filePath(u"doc_code/alias"_s)));
        const auto designs = DesignCatalog::read(program.filePath(u"doc_code"_s));
        QVERIFY2(designs, qPrintable(designs.error()));
        QStringList names;
        for (const DesignCatalog::Design& design : *designs)
            names << design.folder + u'=' + design.displayName();
        QCOMPARE(names, (QStringList{u"alias=Inside"_s, u"inside=Inside"_s}));
    }

    void procodeLines() {
        const Procode blue =
            Procode::parse(u"Blue design\r\nmain\r\nDark text on a blue ground\r\nmore\r\n");
        QCOMPARE(blue.displayName(), u"Blue design"_s);
        QCOMPARE(blue.designFileName(), u"main.ddc"_s);
        QCOMPARE(blue.description(), u"Dark text on a blue ground"_s);

        const Procode twoLines = Procode::parse(u" Simple \rpage");
        QCOMPARE(twoLines.displayName(), u" Simple "_s);
        QVERIFY(twoLines.namesDesignFile());
        QVERIFY(!twoLines.hasDescription());
        QVERIFY(!Procode::parse(u"only one line\r\n").namesDesignFile());
        QCOMPARE(Procode::parse(u"").lineCount(), 0);
    }

    void copyLeavesOnlyResources() {
        TestProgramFolder program;
        program.addDesign(u"Plain"_s, u"Simple"_s, u"x"_s,
                          {u"old.DDC"_s, u"back.gif"_s, u"img/inside.png"_s, u".hidden.css"_s});
        const QString target = program.filePath(u"out"_s);
        QVERIFY(QDir().mkdir(target));
        program.writeText(u"out/stale.ddc"_s, u"old"_s);
        program.writeText(u"out/back.gif"_s, u"old"_s);

        QVERIFY(DesignCopier::copy(DesignLocation(ProgramFolder(program.path())),
                                   program.filePath(u"doc_code/Plain"_s), target)
                    .ok());
        QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"back.gif"_s});
        QFile copied(program.filePath(u"out/back.gif"_s));
        QVERIFY(copied.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), QByteArray("resource back.gif"));
    }

    void copyWithoutProcodeAndFromMissingFolder() {
        TestProgramFolder program;
        program.writeText(u"doc_code/Bare/style.css"_s, u"body{}"_s);
        const QString target = program.filePath(u"out"_s);
        QVERIFY(QDir().mkdir(target));
        QVERIFY(DesignCopier::copy(DesignLocation(ProgramFolder(program.path())),
                                   program.filePath(u"doc_code/Bare"_s), target)
                    .ok());
        QVERIFY(QFile::exists(program.filePath(u"out/style.css"_s)));
        QVERIFY(!DesignCopier::copy(DesignLocation(ProgramFolder(program.path())),
                                    program.filePath(u"doc_code/Gone"_s), target));
    }

    void republishingReplacesTheFolderWholeOrNotAtAll() {
        TestProgramFolder program;
        program.addDesign(u"one"_s, u"One"_s, u"<p>[document.title]</p>"_s, {u"one.css"_s});
        program.addDesign(u"two"_s, u"Two"_s, u"<b></b>"_s, {u"two.css"_s});
        Project project;
        DocumentInfo& doc = project.document;
        doc.DocumentTitle = doc.DocumentCreater = doc.DocumentHomepage = doc.DocumentMail =
            doc.DocumentDataview = u"first"_s;
        doc.DocumentCode = u"one\\page.ddc"_s;
        doc.DocumentCodeFolder = u"one"_s;
        const ProgramFolder folder(program.path());
        const QString output = program.filePath(u"site"_s);
        QVERIFY(!HtmlExporter::holdsExport(output));
        QVERIFY(HtmlExporter(project, folder).write(u"old page"_s, output));
        QVERIFY(HtmlExporter::holdsExport(output));

        doc.DocumentCode = u"two\\page.ddc"_s;
        doc.DocumentCodeFolder = u"two"_s;
        const Result<QString> page =
            HtmlExporter(project, folder).rewrite(u"new page"_s, output + u'/');
        QVERIFY2(page, qPrintable(page.error()));
        QCOMPARE(*page, output + u"/site.html"_s);
        const QStringList everything =
            QDir(program.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(everything, (QStringList{u"doc_code"_s, u"site"_s}));
        QCOMPARE(QDir(output).entryList(QDir::Files, QDir::Name),
                 (QStringList{u"site.html"_s, u"two.css"_s}));

        // A design that fails half-way leaves the published folder as it was.
        doc.DocumentCodeFolder = u"gone"_s;
        QVERIFY(!HtmlExporter(project, folder).rewrite(u"newer"_s, output));
        QFile kept(output + u"/site.html"_s);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("new page\r\n"));
        QVERIFY(!HtmlExporter(project, folder).rewrite(u"x"_s, program.path()));
    }

    void storedDesignValuesStayInsideTheDesignRoot_data() {
        QTest::addColumn<QString>("documentCode");
        QTest::addColumn<bool>("inside");
        QTest::newRow("folder and file") << u"Plain\\page.ddc"_s << true;
        QTest::newRow("forward slash") << u"Plain/page.ddc"_s << true;
        QTest::newRow("parent folder") << u"..\\..\\etc\\passwd"_s << false;
        QTest::newRow("absolute") << u"/etc/passwd"_s << false;
        QTest::newRow("absolute with backslash") << u"\\etc\\passwd"_s << false;
        QTest::newRow("no design") << u"．．．"_s << true;
        QTest::newRow("empty") << QString() << false;
    }

    void storedDesignValuesStayInsideTheDesignRoot() {
        QFETCH(QString, documentCode);
        QFETCH(bool, inside);
        const ProgramFolder program(u"/opt/bw"_s);
        const auto path = DesignLocation::designFile(program, documentCode);
        QCOMPARE(path.ok(), inside);
        if (path)
            QVERIFY(path->startsWith(u"/opt/bw/doc_code/"_s));
        else
            QVERIFY(path.error().contains(u"doc_code"_s));
        QCOMPARE(*DesignLocation::designFile(program, u"Plain\\page.ddc"_s),
                 u"/opt/bw/doc_code/Plain/page.ddc"_s);
        QVERIFY(!DesignLocation(program).folder(u".."_s));
        QVERIFY(!DesignLocation(program).folder(u"a/b"_s));
        QVERIFY(DesignLocation(program).folder(u"Plain"_s));
    }
};

QTEST_GUILESS_MAIN(DesignFoldersTest)
#include "tst_designfolders.moc"
