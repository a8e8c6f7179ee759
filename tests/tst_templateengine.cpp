#include "EngineTestHelpers.h"
#include "app/MApp.h"
#include "design/WrepClass.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

void addEntry(MApp& app, const QString& question, const QString& answer, int icon = 1) {
    app.entries.append(QAEntry{question, answer, icon});
}

} // namespace

class TemplateEngineTest : public QObject {
    Q_OBJECT

private slots:
    void firstWorkedExample() {
        const QString design =
            QStringLiteral("Title: [document.title] by [document.creater]\r\n"
                           "[count.] entries\r\n"
                           "[loop::][count.selected]: Q=[question.];A=[answer.]\r\n"
                           "[::loop]End\r\n");
        QCOMPARE(run(design), QStringLiteral("Title: Sample by Taro\r\n"
                                             "3 entries\r\n"
                                             "1: Q=How?;A=Like this.\r\n"
                                             "2: Q=;A=\r\n"
                                             "3: Q=Why?;A=Because.\r\n"
                                             "End\r\n"));
    }

    void loopStartAtLineEndRepeatsTheLineBreak() {
        const QString design = QStringLiteral("[loop::]\r\n[question.][::loop]|");
        QCOMPARE(run(design), QStringLiteral("\r\nHow?\r\n\r\nWhy?|\r\n"));
    }

    void secondWorkedExample() {
        MApp app;
        for (int i = 1; i <= 4; ++i)
            addEntry(app, QStringLiteral("Q%1").arg(i), QString());
        QCOMPARE(run(app, QStringLiteral("[loop::][question.] + [count.inc][question.]; [::loop]")),
                 QStringLiteral("Q1 + Q2; Q3 + Q4; \r\n"));
        QCOMPARE(run(QStringLiteral("[loop::][question.][::loop][count.selected]")),
                 QStringLiteral("How?Why?4\r\n"));
    }

    void strayBracketsAndUnknownKeys_data() {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("page");
        auto row = [](const char* name, const char16_t* design, const char16_t* page) {
            QTest::newRow(name) << QString::fromUtf16(design) << QString::fromUtf16(page);
        };
        row("empty design", u"", u"");
        row("last line without line break", u"abc", u"abc\r\n");
        row("lone CR ends a line", u"a\rb", u"a\r\nb\r\n");
        row("lone LF is ordinary", u"a\nb\r\n", u"a\nb\r\n");
        row("stray close", u"a]b", u"ab\r\n");
        row("double open", u"[[x]y", u"xy\r\n");
        row("unknown key", u"<[unknown]>", u"<>\r\n");
        row("keys are case-sensitive", u"<[Document.Title]>", u"<>\r\n");
        row("keys are not trimmed", u"<[ document.title]>", u"<>\r\n");
        row("open key at end of file loses its line end", u"x[document.title", u"x");
        row("key over a line end yields nothing", u"[docu\r\nment.title]!", u"!\r\n");
        row("open bracket abandons the key", u"[abc[document.title]", u"Sample\r\n");
        row("double open inside a key keeps it open", u"[a[[b]c", u"c\r\n");
        row("bracket pair starts a key with the bracket", u"[]x]y", u"y\r\n");
        row("loop without end drops the rest", u"a[loop::]b\r\nc", u"a");
        row("stray loop end outputs nothing", u"a[::loop]b", u"ab\r\n");
        row("stray loop end still counts up", u"[::loop][count.selected]", u"4\r\n");
        row("text and key after the loop", u"[loop::]x[::loop][document.title]y",
            u"xxxSampley\r\n");
        row("counter after a loop", u"[loop::][::loop][count.selected]", u"4\r\n");
        row("full-width brackets are text", u"［document.title］", u"［document.title］\r\n");
        row("nested loop start is an abandoned key", u"[loop::]a[loop::]b[::loop]", u"aaa\r\n");
        row("count.inc outside a loop", u"[count.inc][count.selected]", u"1\r\n");
        row("loop keys evaluate to nothing", u"[loop::]<[::loop]", u"<<<\r\n");
    }

    void strayBracketsAndUnknownKeys() {
        QFETCH(QString, design);
        QFETCH(QString, page);
        QCOMPARE(run(design), page);
    }

    void valuesAreInsertedLiterally() {
        MApp app = sampleProject();
        app.entries.item(1).question = QStringLiteral("[document.title] & <b>");
        app.entries.item(1).answer = QStringLiteral("a\r\nb]");
        app.DocumentDataview = QStringLiteral("line1\r\n[count.]");
        QCOMPARE(
            run(app, QStringLiteral("[document.dataview]|[loop::][question.]=[answer.];[::loop]")),
            QStringLiteral(
                "line1\r\n[count.]|[document.title] & <b>=a\r\nb];=;Why?=Because.;\r\n"));
    }

    void emptyTable() {
        MApp app;
        QCOMPARE(
            run(app, QStringLiteral("[count.]<[loop::][question.]\r\n[::loop]>[count.selected]")),
            QStringLiteral("0<>1\r\n"));
    }

    void entriesOutsideLoopsAreEmpty() {
        // Before any loop the counter is 0; after count.inc has run past the
        // last entry it names nothing. Both give the empty text.
        QCOMPARE(run(QStringLiteral("<[question.][answer.]>")), QStringLiteral("<>\r\n"));
        QCOMPARE(run(QStringLiteral("[loop::][count.inc][count.inc][question.]|[::loop]")),
                 QStringLiteral("Why?|\r\n"));
    }

    void everyRunStartsFromTheSameCounters() {
        MApp app = sampleProject();
        const QString design = QStringLiteral("[count.selected][question.]");
        run(app, QStringLiteral("[loop::][::loop]"));
        QCOMPARE(app.SelectedEntry, 4);
        QCOMPARE(run(app, design), QStringLiteral("0\r\n"));
        QCOMPARE(app.EntryCount, 3);
    }

    void doubleByteCharactersWithBracketBytes() {
        // "ゼ" is 83 5B, "ゾ" 83 5D and "ー" 81 5B: their second bytes are the
        // ASCII brackets, but as characters they are plain text.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("doc_code/jp")));
        QFile file(dir.filePath(QStringLiteral("doc_code/jp/page.ddc")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const char design[] = "\x83\x5B\x83\x5D[document.title]\x81\x5B\r\n";
        file.write(design, sizeof design - 1);
        file.close();

        MApp app = sampleProject();
        app.DocumentCode = QStringLiteral("jp\\page.ddc");
        WrepClass engine(app, ProgramFolder(dir.path()));
        QVERIFY2(engine.ddc_datacode(), qPrintable(engine.errorString()));
        QCOMPARE(engine.sorce(), QStringLiteral("ゼゾSampleー\r\n"));
    }

    void unreadableDesignIsAnErrorNamingTheFile() {
        MApp app = sampleProject();
        app.DocumentCode = QStringLiteral("missing\\page.ddc");
        WrepClass engine(app, ProgramFolder(QStringLiteral("/nonexistent")));
        QVERIFY(!engine.ddc_datacode());
        QVERIFY(engine.errorString().contains(QStringLiteral("missing/page.ddc")));
        QVERIFY(engine.sorce().isEmpty());

        app.DocumentCode = QStringLiteral("..\\..\\etc\\passwd");
        QVERIFY(!engine.ddc_datacode());
        QVERIFY(engine.errorString().contains(QStringLiteral("doc_code")));
    }

    void countIncPastTheEndOfALongTable() {
        // The counters are plain ints: no 32,767-entry limit.
        MApp app;
        for (int i = 0; i < 40000; ++i)
            addEntry(app, QString(), QString(), 2);
        addEntry(app, QStringLiteral("last"), QString());
        QCOMPARE(run(app, QStringLiteral("[count.][loop::][question.][::loop][count.selected]")),
                 QStringLiteral("40001last40002\r\n"));
    }
};

QTEST_GUILESS_MAIN(TemplateEngineTest)
#include "tst_templateengine.moc"
