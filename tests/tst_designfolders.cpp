#include "TestDesigns.h"
#include "design/DesignCopier.h"
#include "design/DesignList.h"
#include "design/DesignLocation.h"
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

    void procodeLines() {
        const auto blue =
            Procode::parse(u"Blue design\r\nmain\r\nDark text on a blue ground\r\nmore\r\n");
        QVERIFY(blue);
        QCOMPARE(blue->displayName, QStringLiteral("Blue design"));
        QCOMPARE(blue->designFileName(), QStringLiteral("main.ddc"));
        QCOMPARE(blue->description, QStringLiteral("Dark text on a blue ground"));

        const auto twoLines = Procode::parse(u" Simple \rpage");
        QVERIFY(twoLines);
        QCOMPARE(twoLines->displayName, QStringLiteral(" Simple "));
        QVERIFY(!twoLines->hasDescription);
        QVERIFY(!Procode::parse(u"only one line\r\n"));
        QVERIFY(!Procode::parse(u""));
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

        QCOMPARE(DesignCopier::copy(program.filePath(QStringLiteral("doc_code/Plain")), target),
                 QString());
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
        QCOMPARE(DesignCopier::copy(program.filePath(QStringLiteral("doc_code/Bare")), target),
                 QString());
        QVERIFY(QFile::exists(program.filePath(QStringLiteral("out/style.css"))));
        QVERIFY(!DesignCopier::copy(program.filePath(QStringLiteral("doc_code/Gone")), target)
                     .isEmpty());
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
        QCOMPARE(bool(path), inside);
        if (path)
            QVERIFY(path->startsWith(QStringLiteral("/opt/bw/doc_code/")));
        QCOMPARE(DesignLocation::designFile(program, QStringLiteral("Plain\\page.ddc")),
                 std::optional<QString>(QStringLiteral("/opt/bw/doc_code/Plain/page.ddc")));
        QVERIFY(!DesignLocation::folder(program, QStringLiteral("..")));
        QVERIFY(!DesignLocation::folder(program, QStringLiteral("a/b")));
        QVERIFY(DesignLocation::folder(program, QStringLiteral("Plain")));
    }
};

QTEST_GUILESS_MAIN(DesignFoldersTest)
#include "tst_designfolders.moc"
