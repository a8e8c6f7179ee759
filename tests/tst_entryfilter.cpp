#include "FormTestHelpers.h"
#include "app/EntryFilter.h"
#include "forms/QAFilterModel.h"
#include "forms/QAListModel.h"
#include "project/SearchText.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

QAEntry entryOf(const QString& question, const QString& answer = {}) {
    return {question, answer, QAEntry::kEnabledIcon};
}

// The questions of the rows, the one at `current` in brackets.
QString questionsIn(const QAbstractItemModel& table, int current = -1) {
    QString shown;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QString question = table.index(row, 0).data().toString();
        shown += row == current ? u'[' + question + u']' : question;
    }
    return shown;
}

} // namespace

class EntryFilterTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowUnderTest> ui;

    QLineEdit& findEdit() { return child<QLineEdit>(ui->window, "FindEdit"); }
    QString countText() { return child<QLabel>(ui->window, "EntryCountLabel").text(); }
    void search(const QString& query) { findEdit().setText(query); }
    QString shownRows() {
        return questionsIn(*ui->table().model(), ui->table().currentIndex().row());
    }

private slots:
    void init() { ui = WindowUnderTest::openFresh(); }

    void cleanup() { WindowUnderTest::closeAnswered(ui); }

    void foldingReadsFormsAlike_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matches");
        // clang-format off
        QTest::newRow("case") << u"FAQの使い方"_s << QString() << u"faq"_s << true;
        QTest::newRow("full-width letters") << u"ＰＤＦで保存"_s << QString() << u"pdf"_s << true;
        QTest::newRow("full-width query") << u"Wi-Fi 10台"_s << QString() << u"ＷＩ－ＦＩ　１０"_s << true;
        QTest::newRow("half-width kana") << u"ﾊﾟｽﾜｰﾄﾞを忘れた"_s << QString() << u"パスワード"_s << true;
        QTest::newRow("voiced marks") << u"ガイド"_s << QString() << u"ｶﾞｲﾄﾞ"_s << true;
        QTest::newRow("hiragana") << u"カタカナ"_s << QString() << u"かたかな"_s << true;
        QTest::newRow("words in any order") << u"送料は無料です"_s << QString() << u"無料 送料"_s << true;
        QTest::newRow("words in both") << u"送料"_s << u"無料"_s << u"無料　送料"_s << true;
        QTest::newRow("one word missing") << u"送料は無料です"_s << QString() << u"送料 返品"_s << false;
        QTest::newRow("not across the two") << u"送"_s << u"料"_s << u"送料"_s << false;
        QTest::newRow("spaces only") << u"x"_s << QString() << u"  　"_s << true;
        // clang-format on
    }

    void foldingReadsFormsAlike() {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(QString, query);
        QFETCH(bool, matches);
        ProjectModel model;
        model.appendEntry(entryOf(question, answer));
        EntryFilter filter(model);
        filter.setQuery(query);
        QCOMPARE(filter.isShown(1), matches);
    }

    // Text of common characters is folded by lookup; an emoji sends the
    // text through NFKC and lower case, which must come to the same.
    void lookupFoldsAsNormalizationDoes() {
        QCOMPARE(SearchText::fold(u"ｶﾞｲﾄﾞ　ＦＡＱ\r\n\tテスト"_s), u"がいど faq てすと"_s);
        const QString emoji = u"😀"_s;
        for (int unit = 1; unit <= 0xFFFF; ++unit) {
            const QString one = QChar(char16_t(unit));
            if (!one.front().isSurrogate() &&
                SearchText::fold(one) + emoji != SearchText::fold(one + emoji))
                QFAIL(qPrintable(u"U+%1"_s.arg(unit, 4, 16, QChar(u'0'))));
        }
    }

    // The folded texts follow each change, and entries changed while the
    // query stands stay in sight; the view is told of every row.
    void filterFollowsEveryChange() {
        ProjectModel model;
        for (const QString& question : {u"a1"_s, u"b2"_s, u"a3"_s, u"c4"_s})
            model.appendEntry(entryOf(question));
        EntryFilter filter(model);
        QAListModel rows(model);
        QAFilterModel table(rows, filter);
        QAbstractItemModelTester tester(&table,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        filter.setQuery(u"A"_s);
        QCOMPARE(questionsIn(table), u"a1a3"_s);
        model.insertEntry(1, entryOf(u"a0"_s));
        model.removeEntry(2);
        model.replaceEntry(3, entryOf(u"b3"_s));
        model.moveEntry(1, 4);
        QCOMPARE(questionsIn(table), u"b3a0"_s);
        QCOMPARE(table.countText(), u"2件 / 4件"_s);
        model.sortByQuestion();
        QCOMPARE(questionsIn(table), u"a0"_s);
        filter.setQuery(u"b"_s);
        QCOMPARE(questionsIn(table), u"b2b3"_s);
        QCOMPARE(table.positionOf(1), 3);
        QCOMPARE(table.rowOf(1), -1);
    }

    void fieldFiltersAndTheStatusBarCounts() {
        QCOMPARE(countText(), u"0件"_s);
        ui->activate();
        ui->setRows(u"ab[c]d"_s);
        ui->project().replaceEntry(4, entryOf(u"d"_s, u"送料は無料"_s));
        ui->project().replaceEntry(2, entryOf(u"b"_s, u"ＦＡＱ"_s));
        QCOMPARE(countText(), u"4件"_s);
        ui->trigger("find_QACommand");
        QTest::keyClicks(&findEdit(), u"Faq"_s);
        QCOMPARE(shownRows(), u"[b]"_s);
        QCOMPARE(countText(), u"1件 / 4件"_s);
        search(u"送料"_s);
        ui->project().appendEntry(entryOf(u"f"_s, u"送料"_s));
        QCOMPARE(shownRows(), u"[d]f"_s);
        QCOMPARE(countText(), u"2件 / 5件"_s);
        // Ctrl+F again selects the query, to be typed over.
        QTest::keySequence(&ui->table(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QCOMPARE(findEdit().selectedText(), u"送料"_s);

        Project many;
        for (int i = 0; i < 32767; ++i)
            many.entries.append(entryOf(u"q"_s));
        ui->project().replaceProject(many);
        QCOMPARE(countText(), u"0件 / 32,767件"_s);
        search(QString());
        QCOMPARE(countText(), u"32,767件"_s);
    }

    // Each command acts on the entry selected among the rows in sight.
    void commandsActOnTheSelectedEntry() {
        ui->setRows(u"[a]bcab"_s);
        ui->activate();
        search(u"b"_s);
        QTest::keyClick(&findEdit(), Qt::Key_Down);
        QTest::keyClick(&ui->table(), Qt::Key_Down);
        QCOMPARE(shownRows(), u"b[b]"_s);
        ui->trigger("Copy_QACommand");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"BWK1.21b\r\nb の答え"_s);
        ui->trigger("find_QACommand");
        type({u"e"_s, u"edited"_s});
        QTest::keyClick(&findEdit(), Qt::Key_Return);
        // The edited entry stays in sight, though it no longer matches.
        QCOMPARE(ui->rows() + u' ' + shownRows(), u"abca[e] b[e]"_s);
        ui->dialogs.answers << true;
        ui->activate();
        QTest::keyClick(&findEdit(), Qt::Key_Down);
        QTest::keyClick(&ui->table(), Qt::Key_Delete);
        QCOMPARE(ui->rows() + u' ' + shownRows(), u"a[b]ca [b]"_s);

        // Neighbours are hidden: no moving, by menu or by dragging.
        const QAbstractItemModel& model = *ui->table().model();
        QVERIFY(!ui->enabled("up_QACommand") && !ui->enabled("down_QACommand"));
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsDragEnabled));
        // Esc shows every row again, the current entry kept in sight.
        QTest::keyClick(&findEdit(), Qt::Key_Escape);
        QCOMPARE(findEdit().text() + shownRows(), u"a[b]ca"_s);
        QVERIFY(ui->enabled("up_QACommand") && ui->enabled("down_QACommand"));
        QVERIFY(ui->table().viewport()->rect().intersects(
            ui->table().visualRect(ui->table().currentIndex())));

        // With no row in sight, nothing acts on a hidden entry.
        search(u"zzz"_s);
        QVERIFY(!ui->enabled("delete_QACommand") && !ui->enabled("edit_QACommand"));
        QTest::keyClick(&findEdit(), Qt::Key_Return);
    }

    // An entry that a command adds or puts back is shown while the query
    // stands; after a removal the nearest row in sight is current. A project
    // opened or started shows every entry.
    void entryMadeCurrentIsShown() {
        ui->setRows(u"[a]bc"_s);
        search(u"a"_s);
        type({u"x"_s, u"y"_s});
        ui->trigger("add_QACommand");
        QCOMPARE(shownRows(), u"a[x]"_s);
        ui->trigger("undo_QACommand");
        QCOMPARE(shownRows(), u"[a]"_s);
        search(QString());
        ui->window.entryCommands().setCurrentPosition(2);
        ui->dialogs.answers << true;
        ui->trigger("delete_QACommand");
        search(u"c"_s);
        ui->trigger("undo_QACommand");
        QCOMPARE(shownRows() + u' ' + countText(), u"[b]c 2件 / 3件"_s);
        search(u"c の"_s);
        QCOMPARE(shownRows(), u"[c]"_s);

        ui->setDataChanged(false);
        ui->trigger("NewData_FileMenu");
        QCOMPARE(findEdit().text() + countText(), u"0件"_s);
    }
};

QTEST_MAIN(EntryFilterTest)
#include "tst_entryfilter.moc"
