#include "TestDesigns.h"
#include "app/QuickDocumentSettings.h"
#include "design/DesignCopier.h"
#include "design/DesignRoot.h"
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
        const auto names = DesignRoot(program.filePath(u"doc_code"_s)).names();
        QVERIFY(names);
        QCOMPARE(*names,
                 (QStringList{u"a-plain-file"_s, u"Alpha"_s, u"beta"_s, u"Beta2"_s, u"gamma"_s}));
        QVERIFY(!DesignRoot(program.filePath(u"missing"_s)).names());
    }

    // The design dialog and the quick settings alike.
    void designsThatLeadOutOfTheRootAreLeftOut() {
        TestProgramFolder program;
        program.addDesign(u"inside"_s, u"Inside"_s, QString());
        program.addDesign(u"../elsewhere"_s, u"Elsewhere"_s, QString());
        QVERIFY(QFile::link(u"../elsewhere"_s, program.filePath(u"doc_code/0-outside"_s)));
        QVERIFY(QFile::link(u"inside"_s, program.filePath(u"doc_code/alias"_s)));
        const auto designs = DesignRoot(ProgramFolder(program.path())).designs();
        QVERIFY2(designs, qPrintable(designs.error()));
        QStringList names;
        for (const DesignRoot::Design& design : *designs)
            names << design.folder + u'=' + design.displayName();
        QCOMPARE(names, (QStringList{u"alias=Inside"_s, u"inside=Inside"_s}));
        DocumentInfo quick;
        QuickDocumentSettings::apply(quick, ProgramFolder(program.path()));
        QCOMPARE(quick.DocumentCode, u"alias\\page.ddc"_s);
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
        program.writeText(u"doc_code/Bare/style.css"_s, u"body{}"_s);
        program.writeText(u"out/stale.ddc"_s, u"old"_s);
        program.writeText(u"out/back.gif"_s, u"old"_s);
        const DesignRoot designs{ProgramFolder(program.path())};
        const QString target = program.filePath(u"out"_s);
        QVERIFY(DesignCopier::copy(designs, program.filePath(u"doc_code/Plain"_s), target).ok());
        QCOMPARE(everythingIn(target), QStringList{u"back.gif"_s});
        QCOMPARE(readFileBytes(program.filePath(u"out/back.gif"_s)),
                 QByteArray("resource back.gif"));

        // A design without its procode still has resources; a missing one
        // is an error.
        QVERIFY(DesignCopier::copy(designs, program.filePath(u"doc_code/Bare"_s), target).ok());
        QVERIFY(QFile::exists(program.filePath(u"out/style.css"_s)));
        QVERIFY(!DesignCopier::copy(designs, program.filePath(u"doc_code/Gone"_s), target));
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
        const DesignRoot root(program);
        const auto path = root.designFile(documentCode);
        QCOMPARE(path.ok(), inside);
        if (path)
            QVERIFY(path->startsWith(u"/opt/bw/doc_code/"_s));
        else
            QVERIFY(path.error().contains(u"doc_code"_s));
        QCOMPARE(*root.designFile(u"Plain\\page.ddc"_s), u"/opt/bw/doc_code/Plain/page.ddc"_s);
        QVERIFY(!root.folder(u".."_s));
        QVERIFY(!root.folder(u"a/b"_s));
        QVERIFY(root.folder(u"Plain"_s));
    }
};

QTEST_GUILESS_MAIN(DesignFoldersTest)
#include "tst_designfolders.moc"
