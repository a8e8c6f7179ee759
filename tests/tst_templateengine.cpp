// What the template engine does beyond single pages: the byte-exact pages
// are the cases of tst_golden (tests/golden/).

#include "EngineTestHelpers.h"
#include "design/QuestionAnchors.h"
#include "design/TemplateScanner.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// Each entry's question and its identifier on the page.
QMap<QString, QString> anchorsOf(const Project& project) {
    const QString page =
        run(project, QStringLiteral("[loop::][question.]\t[question.anchor]\n[::loop]"));
    QMap<QString, QString> anchors;
    for (const QString& line : page.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u'\t');
        if (parts.size() == 2 && !parts[0].isEmpty())
            anchors.insert(parts[0], parts[1]);
    }
    return anchors;
}

} // namespace

class TemplateEngineTest : public QObject {
    Q_OBJECT

private slots:
    void everyRunStartsFromTheSameCounters() {
        const Project project = sampleProject();
        WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
        QVERIFY(engine.runText(QStringLiteral("[loop::][::loop][count.inc]")));
        QVERIFY(engine.runText(QStringLiteral("[count.selected][question.]")));
        QCOMPARE(engine.sorce(), QStringLiteral("0\r\n"));
    }

    void unreadableDesignIsAnErrorNamingTheFile() {
        Project project = sampleProject();
        project.document.DocumentCode = QStringLiteral("missing\\page.ddc");
        WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
        const Status missing = engine.ddc_datacode();
        QVERIFY(!missing);
        QVERIFY(missing.error().contains(QStringLiteral("missing/page.ddc")));
        QVERIFY(engine.sorce().isEmpty());

        project.document.DocumentCode = QStringLiteral("..\\..\\etc\\passwd");
        const Status outside = engine.ddc_datacode();
        QVERIFY(!outside);
        QVERIFY(outside.error().contains(QStringLiteral("doc_code")));
    }

    void countIncPastTheEndOfALongTable() {
        // The counters are plain ints: no 32,767-entry limit.
        Project project;
        for (int i = 0; i < 40000; ++i)
            project.entries.append(QAEntry{QString(), QString(), 2});
        project.entries.append(QAEntry{QStringLiteral("last"), QString(), 1});
        QCOMPARE(
            run(project, QStringLiteral("[count.][loop::][question.][::loop][count.selected]")),
            QStringLiteral("40001last40002\r\n"));
    }

    // A block whose passes write nothing is not run pass by pass: the
    // counter must end where the passes would have left it.
    void emptyBlocksMoveTheCounterAsPassesWould() {
        for (int entries = 0; entries <= 7; ++entries) {
            Project project;
            for (int i = 0; i < entries; ++i)
                project.entries.append(QAEntry{QString(), QStringLiteral("a"), i % 3 ? 1 : 2});
            for (int incs = 0; incs <= 3; ++incs) {
                const QString block = QStringLiteral("[count.inc]").repeated(incs);
                const QString silent =
                    run(project,
                        QStringLiteral("[loop::]%1[question.][::loop][count.selected]").arg(block));
                const QString writing =
                    run(project, QStringLiteral("[loop::]%1x[::loop]|[count.selected]").arg(block));
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
            project.entries.append(
                QAEntry{QString::fromUtf16(question), QStringLiteral("answer"), 1});
        const QMap<QString, QString> before = anchorsOf(project);
        QCOMPARE(before.size(), 4);
        static const QRegularExpression form(QStringLiteral("^q-[0-9a-f]{8}$"));
        for (const QString& anchor : before)
            QVERIFY2(form.match(anchor).hasMatch(), qPrintable(anchor));

        Project changed = project;
        changed.entries.sortByQuestion();
        changed.entries.append(changed.entries.item(1));
        changed.entries.remove(1);
        changed.entries.append(QAEntry{QStringLiteral("New"), QString(), 1});
        changed.entries.item(2).answer = QStringLiteral("edited");
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
            project.entries.append(QAEntry{QStringLiteral("Q"), QStringLiteral("A"), 1});
        WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
        QVERIFY(engine.runText(QStringLiteral("before")));
        const Status run = engine.runText(QStringLiteral("[loop::][document.dataview][::loop]"));
        QVERIFY(!run);
        QCOMPARE(run.error(), QStringLiteral("ページが大きすぎます（512,000,000文字を超えます）"));
        QCOMPARE(run.error(), TemplateScanner::tooLargeMessage(TemplateScanner::kPageSizeLimit));
        QCOMPARE(engine.sorce(), QStringLiteral("before\r\n"));
    }
};

QTEST_GUILESS_MAIN(TemplateEngineTest)
#include "tst_templateengine.moc"
