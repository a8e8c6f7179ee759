#include "FormTestHelpers.h"
#include "design/HtmlExporter.h"
#include "forms/EntryCommands.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

using ModelCall = std::function<void(ProjectModel&)>;

QString questions(const QAEntryTable& entries) {
    QString list;
    for (const QAEntry& entry : entries)
        list += entry.question;
    return list;
}

QAEntry entry(const QString& question, int icon = 1) {
    return {question, question + u" の答え"_s, icon};
}

} // namespace

Q_DECLARE_METATYPE(ModelCall)

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowUnderTest> m_ui;

    MApp& app() { return m_ui->app; }
    ScriptedDialogs& dialogs() { return m_ui->dialogs; }
    MainForm& window() { return m_ui->window; }
    const QAEntryTable& entries() { return app().project.entries; }
    QTreeView& table() { return child<QTreeView>(window(), "QAListView"); }
    void trigger(const char* action) { m_ui->trigger(action); }
    qsizetype current() { return window().entryCommands().currentPosition(); }

    // Entries set up for a test, the one at `current` current; not a change.
    void addEntries(const QString& letters, qsizetype current = 1) {
        for (QChar letter : letters)
            m_ui->project().appendEntry(entry(letter));
        window().entryCommands().setCurrentPosition(current);
        app().DataChanged = false;
    }

private slots:
    void init() {
        m_ui = std::make_unique<WindowUnderTest>(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data"));
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    void cleanup() {
        m_ui->verifyAllAnswered();
        m_ui.reset();
    }

    void startsUnchangedWithoutAFileOrADesign() {
        QCOMPARE(window().windowTitle(), u"Brindlewick Ver1.2"_s);
        QCOMPARE(child<QLabel>(window(), "PostSBar").text(), u"Hollowfen 2026"_s);
        QVERIFY(!app().DataChanged);
        QVERIFY(!app().DocumentViewOpen);
        QCOMPARE(m_ui->document().DocumentHomepage, u"http://"_s);
        QCOMPARE(m_ui->document().DocumentCode, u"．．．"_s);
        QCOMPARE(table().model()->headerData(0, Qt::Horizontal).toString(), u"Q.質問"_s);
        QCOMPARE(table().model()->headerData(1, Qt::Horizontal).toString(), u"A.答え"_s);
    }

    void menusHoldTheirItemsInOrder_data() {
        QTest::addColumn<QString>("items");
        // clang-format off
        QTest::newRow("FileMenu") << u"新規作成|名前を付けて保存|上書き保存|ファイルを開く|-|HTML出力|-|終了"_s;
        QTest::newRow("ProjectMenu") << u"ドキュメント設定|-|ドキュメントビュー|簡易自動ドキュメント設定"_s;
        QTest::newRow("QACommandMenu") << u"初期化|-|コピー|切り取り|貼り付け|-|追加|編集|削除|-|ソート"_s;
        QTest::newRow("HelpMenu") << u"B.W.Kヘルプ|-|Hollowfen.HP を開く|-|バージョン情報"_s;
        // clang-format on
    }

    void menusHoldTheirItemsInOrder() {
        QFETCH(QString, items);
        QStringList shown;
        for (const QAction* action : child<QMenu>(window(), QTest::currentDataTag()).actions())
            shown << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(shown.join(u'|'), items);
    }

    void shortcutsRunTheirCommands() {
        auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers, const EntryInput& input) {
            // Each dialog takes the activation with it when it closes.
            window().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window()));
            if (!input.question.isEmpty())
                type(input);
            QTest::keyClick(&window(), key, modifiers);
        };
        press(Qt::Key_A, Qt::ControlModifier, {u"by Ctrl+A"_s, u"a"_s});
        press(Qt::Key_E, Qt::ControlModifier, {u"by Ctrl+E"_s, u"e"_s});
        QCOMPARE(questions(entries()), u"by Ctrl+E"_s);
        press(Qt::Key_F2, {}, {});
        QCOMPARE(dialogs().reports.value(0).text, HtmlExporter::incompleteMessage());
    }

    void qaMenuEnablesEntryItemsOnlyWithEntriesAndPasteOnlyWithTheTag() {
        // On an empty table the entry commands do nothing, menu or not.
        for (const char* action : {"edit_QACommand", "delete_QACommand", "Cut_QACommand"})
            trigger(action);
        QVERIFY(dialogs().questions.isEmpty());
        QVERIFY(!app().DataChanged);
        auto& menu = child<QMenu>(window(), "QACommandMenu");
        auto enabled = [this](const char* name) {
            return child<QAction>(window(), name).isEnabled();
        };
        const char* entryItems[] = {"Copy_QACommand", "Cut_QACommand", "edit_QACommand",
                                    "delete_QACommand"};
        QGuiApplication::clipboard()->setText(u"BWK1.21Q\r\nA"_s);
        emit menu.aboutToShow();
        for (const char* name : entryItems)
            QVERIFY2(!enabled(name), name);
        QVERIFY(enabled("Paste_QACommand"));

        addEntries(u"a"_s);
        for (const QString& text : {u"bwk1.21Q"_s, u"BWK1."_s, QString()}) {
            QGuiApplication::clipboard()->setText(text);
            emit menu.aboutToShow();
            QVERIFY2(!enabled("Paste_QACommand"), qPrintable(text));
        }
        for (const char* name : entryItems)
            QVERIFY2(enabled(name), name);
    }

    void addAppendsAcceptedEntriesAndMarksTheChange() {
        addEntries(u"a"_s);
        app().DocumentViewOpen = true;
        type({u"質問"_s, u"一行目\n二行目"_s, true});
        trigger("add_QACommand");
        QCOMPARE(entries().item(2), (QAEntry{u"質問"_s, u"一行目\r\n二行目"_s, 1}));
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 1);
        QCOMPARE(current(), 2);

        type({u"無効"_s, u"a"_s, false});
        trigger("add_QACommand");
        QCOMPARE(entries().item(3).icon, 2);
        QCOMPARE(current(), 3);

        app().DataChanged = false;
        type({u"x"_s, u"y"_s, true, EntryInput::Cancel});
        trigger("add_QACommand");
        type({u"x"_s, u"y"_s, true, EntryInput::Close});
        trigger("add_QACommand");
        QCOMPARE(entries().count(), 3);
        QVERIFY(!app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 2);
    }

    void okKeepsTheEntryDialogOpenForUnusableText_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("report");
        QTest::newRow("empty field")
            << QString() << u"値は編集されていません。それでも終了しますか？"_s << QString();
        QTest::newRow("quotes") << u"say \"hi\""_s << QString() << u"答え"_s;
    }

    void okKeepsTheEntryDialogOpenForUnusableText() {
        QFETCH(QString, answer);
        QFETCH(QString, question);
        QFETCH(QString, report);
        // An empty field asks; No keeps the dialog open, Yes closes it.
        dialogs().answers = question.isEmpty() ? QList<bool>{} : QList<bool>{false, true};
        bool stayedOpen = false;
        whenOpen<DataProcForm>([&](DataProcForm& dialog) {
            fillEntryDialog(dialog, u"typed"_s, answer);
            click(dialog, "okButton");
            stayedOpen =
                dialog.isVisible() && child<QLineEdit>(dialog, "QuestionEdit").text() == u"typed";
            click(dialog, question.isEmpty() ? "cancelButton" : "okButton");
        });
        trigger("add_QACommand");
        QVERIFY(stayedOpen);
        QCOMPARE(dialogs().questions.value(0).text, question);
        QCOMPARE(dialogs().questions.value(0).title, question.isEmpty() ? QString() : u"B.W.K"_s);
        QVERIFY(dialogs().reports.value(0).text.contains(report));
        QVERIFY(entries().isEmpty());
        QVERIFY(!app().DataChanged);
    }

    void editWritesBackHoweverTheDialogEnds() {
        addEntries(u"a"_s);
        m_ui->project().appendEntry(entry(u"b"_s, 7));
        window().entryCommands().setCurrentPosition(2);
        app().DataChanged = false;
        app().DocumentViewOpen = true;

        bool filled = false;
        whenOpen<DataProcForm>([&filled](DataProcForm& dialog) {
            filled = child<QLineEdit>(dialog, "QuestionEdit").text() == u"b" &&
                     !child<QCheckBox>(dialog, "checks_check").isChecked();
            click(dialog, "cancelButton");
        });
        trigger("edit_QACommand");
        QVERIFY(filled);
        QCOMPARE(entries().item(2), entry(u"b"_s, 2));
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 1);

        // A double-click edits too.
        type({u"b"_s, u"new answer"_s, true});
        const QPoint point = table().visualRect(table().model()->index(1, 1)).center();
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(table().viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(entries().item(2), (QAEntry{u"b"_s, u"new answer"_s, 1}));

        dialogs().answers << true;
        type({QString(), u"ignored"_s, true});
        trigger("edit_QACommand");
        QCOMPARE(entries().item(2), (QAEntry{u"b"_s, u"new answer"_s, 1}));
        QCOMPARE(questions(entries()), u"ab"_s);
    }

    void tableCommandsAskFirst_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("entriesBefore");
        QTest::addColumn<qsizetype>("currentBefore");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("entriesAfter");
        QTest::addColumn<qsizetype>("currentAfter");
        // clang-format off
        QTest::newRow("delete") << "delete_QACommand" << "bac" << 2LL << "この項目を削除してもいいですか？" << "bc" << 2LL;
        QTest::newRow("delete the last") << "delete_QACommand" << "bac" << 3LL << "この項目を削除してもいいですか？" << "ba" << 2LL;
        QTest::newRow("sort") << "sort_QACommand" << "bac" << 3LL << "FQAテーブルをソートしますか？" << "abc" << 1LL;
        QTest::newRow("clear") << "new_QACommand" << "bac" << 2LL << "現在、FQAテーブル内にあるすべての情報を初期化してもいいですか？" << "" << 0LL;
        QTest::newRow("clear when empty") << "new_QACommand" << "" << 0LL << "現在、FQAテーブル内にあるすべての情報を初期化してもいいですか？" << "" << 0LL;
        // clang-format on
    }

    void tableCommandsAskFirst() {
        QFETCH(QString, action);
        QFETCH(QString, entriesBefore);
        QFETCH(qsizetype, currentBefore);
        QFETCH(QString, question);
        QFETCH(QString, entriesAfter);
        QFETCH(qsizetype, currentAfter);
        addEntries(entriesBefore, currentBefore);
        m_ui->document().DocumentTitle = u"kept"_s;
        dialogs().answers << false << true;
        trigger(qPrintable(action));
        QCOMPARE(questions(entries()), entriesBefore);
        QVERIFY(!app().DataChanged);
        trigger(qPrintable(action));
        QCOMPARE(dialogs().questions.value(1), (ScriptedDialogs::Shown{question, u"B.W.K"_s}));
        QCOMPARE(questions(entries()), entriesAfter);
        QCOMPARE(current(), currentAfter);
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->document().DocumentTitle, u"kept"_s);
    }

    void copyPasteAndCutGoThroughTheClipboard() {
        m_ui->project().appendEntry({u"改行のある答え"_s, u"一\r\n\r\n二\r\n"_s, 2});
        trigger("Copy_QACommand");
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"BWK1.22改行のある答え\r\n一\r\n\r\n二\r\n"_s);
        app().DataChanged = false;
        trigger("Paste_QACommand");
        trigger("Paste_QACommand");
        QCOMPARE(entries().count(), 3);
        QCOMPARE(entries().item(3), entries().item(1));
        QCOMPARE(current(), 3);
        QVERIFY(app().DataChanged);

        QGuiApplication::clipboard()->setText(u"BWK1.2"_s);
        trigger("Paste_QACommand");
        QCOMPARE(entries().count(), 3);
        QCOMPARE(dialogs().beeps, 1);

        // Cut copies the current entry and removes it without a question.
        QGuiApplication::clipboard()->setText(u"BWK1.22Why?\r\nBecause."_s);
        trigger("Paste_QACommand");
        QCOMPARE(entries().item(4), (QAEntry{u"Why?"_s, u"Because."_s, 2}));
        QGuiApplication::clipboard()->clear();
        trigger("Cut_QACommand");
        QCOMPARE(entries().count(), 3);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"BWK1.22Why?\r\nBecause."_s);
        QCOMPARE(current(), 3);
        QVERIFY(dialogs().questions.isEmpty());
    }

    void closingAsksToSaveUnsavedChanges_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("closes");
        // clang-format off
        QTest::newRow("unchanged") << false << QList<bool>{} << u"none"_s << true;
        QTest::newRow("no") << true << QList<bool>{false} << u"none"_s << true;
        QTest::newRow("save cancelled") << true << QList<bool>{true} << QString() << false;
        QTest::newRow("saved") << true << QList<bool>{true} << u"kept"_s << true;
        // clang-format on
    }

    void closingAsksToSaveUnsavedChanges() {
        QFETCH(bool, changed);
        QFETCH(QList<bool>, answers);
        QFETCH(QString, file);
        QFETCH(bool, closes);
        QTemporaryDir dir;
        app().DataChanged = changed;
        dialogs().answers = answers;
        if (file != u"none")
            dialogs().files << (file.isEmpty() ? file : dir.filePath(file));
        QCOMPARE(window().close(), closes);
        const bool saved = QFile::exists(dir.filePath(u"kept.bwk"_s));
        QCOMPARE(saved, file == u"kept");
        QCOMPARE(app().DataChanged, changed && !saved);
        if (changed)
            QCOMPARE(dialogs().questions.value(0).text,
                     u"まだ、保存されていない情報がありますが保存しますか？"_s);
    }

    void captionAndTableFollowTheFile() {
        QTemporaryDir dir;
        dialogs().files << dir.filePath(u"faq"_s);
        trigger("FileSave_FileName");
        QCOMPARE(window().windowTitle(), u"faq - Brindlewick Ver1.2"_s);

        addEntries(u"ab"_s);
        trigger("FileUpSave_FileMenu");
        trigger("NewData_FileMenu");
        QCOMPARE(window().windowTitle(), u"Brindlewick Ver1.2"_s);
        QCOMPARE(table().model()->rowCount(), 0);

        app().DocumentViewOpen = true;
        dialogs().files << dir.filePath(u"faq.bwk"_s);
        trigger("FileOpen_FileMenu");
        QCOMPARE(window().windowTitle(), u"faq.bwk - Brindlewick Ver1.2"_s);
        QCOMPARE(table().model()->rowCount(), 2);
        QCOMPARE(current(), 1);
        QVERIFY(!app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 0);
    }

    void answerColumnTakesTheRestOfTheWidth() {
        auto expectAnswerColumn = [this](int marginTwips) {
            const int margin = Twips::toPixels(marginTwips, &window());
            const int rest = table().width() - table().columnWidth(0) - margin;
            QCOMPARE(table().columnWidth(1), std::max(0, rest));
        };
        auto resize = [this](int wider, int higher) {
            window().resize(window().width() + wider, window().height() + higher);
            QCoreApplication::processEvents();
        };
        resize(150, 40);
        expectAnswerColumn(70);
        table().setColumnWidth(0, table().columnWidth(0) + 30);
        resize(60, 0);
        expectAnswerColumn(70);
        QTest::mouseClick(table().header()->viewport(), Qt::LeftButton, {},
                          QPoint(table().header()->sectionPosition(1) + 5, 5));
        expectAnswerColumn(60);
        // Narrower than the question column: zero, not negative.
        table().setColumnWidth(0, table().width() + 100);
        resize(-1, 0);
        QCOMPARE(table().columnWidth(1), 0);
    }

    void exportAsksForAFolderOnlyForACompleteDocument() {
        trigger("html_FileMenu");
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(dialogs().reports.value(0),
                 (ScriptedDialogs::Shown{
                     u"ドキュメント情報が詳細に定義されていないためhtml出力ができません。"_s,
                     u"B.W.K"_s}));

        dialogs().answers << true;
        trigger("AutoDocument_ProjectMenu");
        addEntries(u"q"_s);
        QTemporaryDir dir;
        const QString output = dir.filePath(u"faq"_s);
        dialogs().files << QString() << output << output;
        trigger("html_FileMenu");
        QCOMPARE(dialogs().filters.last(), u"B.W.K.Folder"_s);
        QCOMPARE(dialogs().reports.size(), 1);
        trigger("html_FileMenu");
        QCOMPARE(dialogs().reports.last().text, u"htmlファイルを書き出しました。"_s);
        QVERIFY(QFile::exists(output + u"/faq.html"_s));
        QVERIFY(!app().DataChanged);
        // An existing folder is refused.
        trigger("html_FileMenu");
        QVERIFY(dialogs().reports.last().text.startsWith(u"html出力ができませんでした。\n\n"_s));
    }

    void eachModelChangeIsAnnouncedOnceWithTheRowsItConcerns_data() {
        QTest::addColumn<ModelCall>("call");
        QTest::addColumn<ProjectChange::Kind>("kind");
        QTest::addColumn<QString>("tableSignal");
        QTest::addColumn<QString>("after");
        using enum ProjectChange::Kind;
        using M = ProjectModel;
        const QAEntry x = entry(u"x"_s);
        // clang-format off
        QTest::newRow("insert") << ModelCall([x](M& m) { m.insertEntry(2, x); }) << EntryInserted << u"rowsInserted"_s << u"cxab"_s;
        QTest::newRow("append") << ModelCall([x](M& m) { m.appendEntry(x); }) << EntryInserted << u"rowsInserted"_s << u"cabx"_s;
        QTest::newRow("remove") << ModelCall([](M& m) { m.removeEntry(1); }) << EntryRemoved << u"rowsRemoved"_s << u"ab"_s;
        QTest::newRow("replace") << ModelCall([x](M& m) { m.replaceEntry(2, x); }) << EntryReplaced << u"dataChanged"_s << u"cxb"_s;
        QTest::newRow("move down") << ModelCall([](M& m) { m.moveEntry(1, 3); }) << EntryMoved << u"rowsMoved"_s << u"abc"_s;
        QTest::newRow("move up") << ModelCall([](M& m) { m.moveEntry(3, 1); }) << EntryMoved << u"rowsMoved"_s << u"bca"_s;
        QTest::newRow("move in place") << ModelCall([](M& m) { m.moveEntry(2, 2); }) << EntryMoved << QString() << u"cab"_s;
        QTest::newRow("sort") << ModelCall([](M& m) { m.sortByQuestion(); }) << EntriesSorted << u"modelReset"_s << u"abc"_s;
        QTest::newRow("clear") << ModelCall([](M& m) { m.clearEntries(); }) << EntriesCleared << u"modelReset"_s << QString();
        QTest::newRow("project") << ModelCall([](M& m) { m.replaceProject({}); }) << ProjectReplaced << u"modelReset"_s << QString();
        QTest::newRow("document") << ModelCall([](M& m) { m.setDocument({}); }) << DocumentSet << QString() << u"cab"_s;
        // clang-format on
    }

    void eachModelChangeIsAnnouncedOnceWithTheRowsItConcerns() {
        QFETCH(ModelCall, call);
        QFETCH(ProjectChange::Kind, kind);
        QFETCH(QString, tableSignal);
        QFETCH(QString, after);
        Project project;
        for (QChar question : u"cab"_s)
            project.entries.append(entry(question));
        ProjectModel model(project);
        QAListModel table(model);
        QAbstractItemModelTester tester(&table,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QList<QPersistentModelIndex> rows;
        for (int row = 0; row < table.rowCount(); ++row)
            rows << QPersistentModelIndex(table.index(row, 0));
        QStringList heard;
        auto hear = [&heard](const QString& name) { return [&heard, name] { heard << name; }; };
        connect(&table, &QAbstractItemModel::rowsInserted, hear(u"rowsInserted"_s));
        connect(&table, &QAbstractItemModel::rowsRemoved, hear(u"rowsRemoved"_s));
        connect(&table, &QAbstractItemModel::rowsMoved, hear(u"rowsMoved"_s));
        connect(&table, &QAbstractItemModel::dataChanged, hear(u"dataChanged"_s));
        connect(&table, &QAbstractItemModel::modelReset, hear(u"modelReset"_s));
        QSignalSpy changed(&model, &ProjectModel::changed);

        call(model);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].value<ProjectChange>().kind, kind);
        QCOMPARE(heard.join(u' '), tableSignal);
        QCOMPARE(questions(project.entries), after);
        // Rows still there follow their entries: the table was told where
        // they went.
        for (qsizetype row = 0; row < rows.size(); ++row) {
            if (rows[row].isValid() && kind != ProjectChange::Kind::EntryReplaced)
                QCOMPARE(rows[row].data().toString(), u"cab"_s.at(row));
        }
    }
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
