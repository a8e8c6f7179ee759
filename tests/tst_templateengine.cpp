// What the template engine does beyond single pages: the byte-exact pages
// are the cases of tst_golden (tests/golden/).

#include "EngineTestHelpers.h"
#include "design/PageSizeLimit.h"
#include "design/QuestionAnchors.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TemplateEngineTest : public QObject {
    Q_OBJECT

private slots:
    void everyRunStartsFromTheSameCounters() {
        const Project project = sampleProject();
        WrepClass engine(project, ProgramFolder(u"/nonexistent"_s));
        QVERIFY(engine.runText(u"[loop::][::loop][count.inc]"_s));
        QVERIFY(engine.runText(u"[count.selected][question.]"_s));
        QCOMPARE(engine.sorce(), u"0\r\n"_s);
    }

    void countIncPastTheEndOfALongTable() {
        // The counters are plain ints: no 32,767-entry limit.
        Project project;
        for (int i = 0; i < 40000; ++i)
            project.entries.append(QAEntry{QString(), QString(), 2});
        project.entries.append(QAEntry{u"last"_s, QString(), 1});
        QCOMPARE(run(project, u"[count.][loop::][question.][::loop][count.selected]"_s),
                 u"40001last40002\r\n"_s);
    }

    // A block whose passes write nothing is not run pass by pass: the
    // counter must end where the passes would have left it.
    void emptyBlocksMoveTheCounterAsPassesWould() {
        for (int entries = 0; entries <= 7; ++entries) {
            Project project;
            for (int i = 0; i < entries; ++i)
                project.entries.append(QAEntry{QString(), u"a"_s, i % 3 ? 1 : 2});
            for (int incs = 0; incs <= 3; ++incs) {
                const QString block = u"[count.inc]"_s.repeated(incs);
                const QString silent =
                    run(project, u"[loop::]%1[question.][::loop][count.selected]"_s.arg(block));
                const QString writing =
                    run(project, u"[loop::]%1x[::loop]|[count.selected]"_s.arg(block));
                QCOMPARE(silent, writing.mid(writing.indexOf(u'|') + 1));
            }
        }
    }

    void anchorHashIsFnv1a() {
        QCOMPARE(QuestionAnchors::hash(u""), 0x811c9dc5u);
        QCOMPARE(QuestionAnchors::hash(u"a"), 0xe40c292cu);
        QCOMPARE(QuestionAnchors::hash(u"foobar"), 0xbf9cf968u);
        // Over the UTF-8 bytes, a surrogate pair as one four-byte character.
        for (const char16_t* text : {u"質問😀", u"\xD800 lone"}) {
            std::uint32_t expected = 0x811c9dc5u;
            for (const char byte : QString::fromUtf16(text).toUtf8())
                expected = (expected ^ std::uint8_t(byte)) * 16777619u;
            QCOMPARE(QuestionAnchors::hash(text), expected);
        }
    }

    void anchorsStayWhenEntriesChange() {
        Project project;
        for (const char16_t* question :
             {u"How do I start?", u"Where are my files?", u"料金は？", u"Why?"})
            project.entries.append(QAEntry{QString::fromUtf16(question), u"answer"_s, 1});
        const QMap<QString, QString> before = anchorsOf(project);
        QCOMPARE(before.size(), 4);
        static const QRegularExpression form(u"^q-[0-9a-f]{8}$"_s);
        for (const QString& anchor : before)
            QVERIFY2(form.match(anchor).hasMatch(), qPrintable(anchor));

        Project changed = project;
        changed.entries.sortByQuestion();
        changed.entries.append(changed.entries.item(1));
        changed.entries.remove(1);
        changed.entries.append(QAEntry{u"New"_s, QString(), 1});
        changed.entries.item(2).answer = u"edited"_s;
        changed.entries.item(3).icon = QAEntry::kDisabledIcon;
        const QString disabled = changed.entries.item(3).question;
        const QMap<QString, QString> after = anchorsOf(changed);
        for (auto it = before.begin(); it != before.end(); ++it) {
            if (it.key() != disabled)
                QCOMPARE(after.value(it.key()), it.value());
        }
        QVERIFY(!after.contains(disabled));
    }

    void pageSizeIsBounded() {
        // 32,767 passes of a 200,000-character description: 6.5 billion
        // characters. The run stops with a message instead of running out of
        // memory, and the last page stays.
        Project project;
        project.document.DocumentDataview = QString(200000, u'x');
        for (int i = 0; i < 32767; ++i)
            project.entries.append(QAEntry{u"Q"_s, u"A"_s, 1});
        WrepClass engine(project, ProgramFolder(u"/nonexistent"_s));
        QVERIFY(engine.runText(u"before"_s));
        const Status run = engine.runText(u"[loop::][document.dataview][::loop]"_s);
        QVERIFY(!run);
        QCOMPARE(run.error(), u"ページが大きすぎます（512,000,000文字を超えます）"_s);
        QCOMPARE(run.error(), PageSizeLimit().message());
        QCOMPARE(engine.sorce(), u"before\r\n"_s);
    }
};

QTEST_GUILESS_MAIN(TemplateEngineTest)
#include "tst_templateengine.moc"
