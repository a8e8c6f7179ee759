#include "FormTestHelpers.h"
#include "app/FileCommands.h"
#include "app/RecentFiles.h"
#include "design/HtmlExporter.h"
#include "forms/AboutForm.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/EntryCommands.h"
#include "forms/JapaneseTranslation.h"
#include "forms/OutOfMemoryGuard.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"
#include "forms/WidgetDialogs.h"
#include "project/BwkWriter.h"
#include "text/Cp932Codec.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

using ModelCall = std::function<void(ProjectModel&)>;
using Act = std::function<void()>;

QString questions(const QAEntryTable& entries) {
    QString list;
    for (const QAEntry& entry : entries)
        list += entry.question;
    return list;
}

QAEntry entry(const QString& question, int icon = 1) {
    return {question, question + u" の答え"_s, icon};
}

QString readPage(const QString& path) {
    QFile page(path);
    return page.open(QIODevice::ReadOnly) ? Cp932Codec::decode(page.readAll()) : QString();
}

} // namespace

Q_DECLARE_METATYPE(ModelCall)
Q_DECLARE_METATYPE(Act)

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

    bool enabled(const char* action) { return m_ui->enabled(action); }
    QString shownTitle() { return m_ui->shownTitle(); }

    // Entries set up for a test as if just read, the one at `current`
    // current: not a change, and where the history begins.
    void addEntries(const QString& letters, qsizetype current = 1) {
        Project project = app().project;
        for (QChar letter : letters)
            project.entries.append(entry(letter));
        m_ui->project().replaceProject(project, ProjectModel::Marking::Unmodified);
        window().entryCommands().setCurrentPosition(current);
        app().DataChanged = false;
    }

    void showWindow() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }

    // A window of the next session, with the settings this one left.
    void reopenWindow() {
        m_ui->verifyAllAnswered();
        m_ui = std::make_unique<WindowUnderTest>(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data"));
        showWindow();
    }

    // Every question, file dialog and report so far, then the entries.
    QString seen() {
        QStringList shown;
        for (const ScriptedDialogs::Shown& question : std::as_const(dialogs().questions))
            shown << question.text;
        shown << dialogs().filters;
        for (const ScriptedDialogs::Shown& report : std::as_const(dialogs().reports))
            shown << report.text;
        return shown.join(u'|') + u' ' + questions(entries());
    }

public slots:
    void openedInBrowser(const QUrl& url) { m_opened << url; }

private:
    QList<QUrl> m_opened;

private slots:
    void init() {
        startWithEmptySettings();
        m_ui = std::make_unique<WindowUnderTest>(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data"));
        showWindow();
    }

    void cleanup() {
        m_ui->verifyAllAnswered();
        m_ui.reset();
    }

    void startsUnchangedWithoutAFileOrADesign() {
        QCOMPARE(shownTitle(), u"Brindlewick Ver1.2"_s);
        QCOMPARE(window().width(), Twips::toPixels(6705, &window()));
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
        QTest::newRow("FileMenu") << u"新規作成|名前を付けて保存|上書き保存|ファイルを開く|-|HTML出力|-|終了|-|前回のフォルダへHTML出力|最近使ったファイル"_s;
        QTest::newRow("ProjectMenu") << u"ドキュメント設定|-|ドキュメントビュー|簡易自動ドキュメント設定"_s;
        QTest::newRow("QACommandMenu") << u"初期化|-|コピー|切り取り|貼り付け|-|追加|編集|削除|-|ソート|-|上へ移動|下へ移動|-|元に戻す|やり直し"_s;
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

    void keysRunTheirCommands_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("seen");
        const QString filter = FileCommands::fileFilter();
        // clang-format off
        QTest::newRow("Ctrl+N") << QKeySequence(u"Ctrl+N"_s) << QString() << u"現在の情報はなくなりますがよろしいですか？ abc"_s;
        QTest::newRow("Ctrl+O") << QKeySequence(u"Ctrl+O"_s) << QString() << u"現在保存されていない情報がまだありますが、ファイルを開きますか？ abc"_s;
        QTest::newRow("Ctrl+S") << QKeySequence(u"Ctrl+S"_s) << QString() << filter + u" abc"_s;
        QTest::newRow("Ctrl+Shift+S") << QKeySequence(u"Ctrl+Shift+S"_s) << QString() << filter + u" abc"_s;
        QTest::newRow("Ctrl+Q") << QKeySequence(u"Ctrl+Q"_s) << QString() << u"まだ、保存されていない情報がありますが保存しますか？ abc"_s;
        QTest::newRow("F2") << QKeySequence(u"F2"_s) << QString() << HtmlExporter::incompleteMessage() + u" abc"_s;
        QTest::newRow("Ctrl+A") << QKeySequence(u"Ctrl+A"_s) << u"d"_s << u" abcd"_s;
        QTest::newRow("Ctrl+E") << QKeySequence(u"Ctrl+E"_s) << u"e"_s << u" aec"_s;
        QTest::newRow("Enter") << QKeySequence(u"Return"_s) << u"r"_s << u" arc"_s;
        QTest::newRow("keypad Enter") << QKeySequence(Qt::Key_Enter) << u"k"_s << u" akc"_s;
        QTest::newRow("Delete") << QKeySequence(u"Del"_s) << QString() << u"この項目を削除してもいいですか？ abc"_s;
        QTest::newRow("Alt+Up") << QKeySequence(u"Alt+Up"_s) << QString() << u" bac"_s;
        QTest::newRow("Alt+Down twice") << QKeySequence(u"Alt+Down, Alt+Down"_s) << QString() << u" acb"_s;
        QTest::newRow("Ctrl+Z") << QKeySequence(u"Alt+Up, Ctrl+Z"_s) << QString() << u" abc"_s;
        QTest::newRow("Ctrl+Y") << QKeySequence(u"Alt+Up, Ctrl+Z, Ctrl+Y"_s) << QString() << u" bac"_s;
        QTest::newRow("Ctrl+Shift+Z") << QKeySequence(u"Alt+Up, Ctrl+Z, Ctrl+Shift+Z"_s) << QString() << u" bac"_s;
        // clang-format on
    }

    // From the table, with unsaved changes; each question is answered No
    // and each file dialog cancelled.
    void keysRunTheirCommands() {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, typed);
        QFETCH(QString, seen);
        addEntries(u"abc"_s, 2);
        app().DataChanged = true;
        dialogs().answers << false;
        dialogs().files << QString();
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        if (!typed.isEmpty())
            type({typed, u"y"_s});
        QTest::keySequence(&table(), keys);
        QCOMPARE(this->seen(), seen);
        dialogs().answers.clear();
        dialogs().files.clear();
        dialogs().filters.clear();
    }

    void qaMenuEnablesEntryItemsOnlyWithEntriesAndPasteOnlyWithTheTag() {
        // On an empty table the entry commands do nothing, menu or not.
        for (const char* action : {"edit_QACommand", "delete_QACommand", "Cut_QACommand"})
            trigger(action);
        QVERIFY(dialogs().questions.isEmpty());
        QVERIFY(!app().DataChanged);
        auto& menu = child<QMenu>(window(), "QACommandMenu");
        const char* entryItems[] = {"Copy_QACommand", "Cut_QACommand", "edit_QACommand",
                                    "delete_QACommand"};
        QGuiApplication::clipboard()->setText(u"BWK1.21Q\r\nA"_s);
        emit menu.aboutToShow();
        for (const char* name : entryItems)
            QVERIFY2(!enabled(name), name);
        QVERIFY(enabled("Paste_QACommand"));

        // Enabled as soon as the table fills, without the menu opening, so
        // that their keys work; moving follows the current entry.
        addEntries(u"ab"_s);
        for (const char* name : entryItems)
            QVERIFY2(enabled(name), name);
        QVERIFY(!enabled("up_QACommand") && enabled("down_QACommand"));
        window().entryCommands().setCurrentPosition(2);
        QVERIFY(enabled("up_QACommand") && !enabled("down_QACommand"));
        for (const QString& text : {u"bwk1.21Q"_s, u"BWK1."_s, QString()}) {
            QGuiApplication::clipboard()->setText(text);
            QVERIFY2(!enabled("Paste_QACommand"), qPrintable(text));
        }
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
        // A refusal beeps like every other report.
        QCOMPARE(dialogs().beeps, report.isEmpty() ? 0 : 1);
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

    void eachCommandIsOneStepOfTheHistory_data() {
        QTest::addColumn<Act>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("entriesAfter");
        QTest::addColumn<qsizetype>("current");
        QTest::addColumn<int>("reloads");
        // Questions answered Yes; characters that look like the code page's
        // own are kept.
        auto run = [this](const char* action, const QString& typed = {}) {
            return Act([this, action, typed] {
                dialogs().answers << true;
                if (!typed.isEmpty())
                    type({typed, u"定休日 — 水曜"_s});
                QGuiApplication::clipboard()->setText(u"BWK1.21P\r\nA"_s);
                trigger(action);
                dialogs().answers.clear();
            });
        };
        auto dragFirstToTheEnd = Act([this] {
            QAbstractItemModel& model = *table().model();
            const std::unique_ptr<QMimeData> row(model.mimeData({model.index(0, 0)}));
            QVERIFY(model.dropMimeData(row.get(), Qt::MoveAction, -1, 0, {}));
        });
        auto designAndSettings = Act([this] {
            whenOpen<DocumentDataForm>([](DocumentDataForm& form) {
                whenOpen<DocumentCodeForm>([](auto& designs) { click(designs, "okButton"); });
                click(form, "datainfoButton");
                child<QLineEdit>(form, "PageTitleEdit").setText(u"題"_s);
                click(form, "okButton");
            });
            trigger("Document_ProjectMenu");
        });
        // clang-format off
        QTest::newRow("add") << run("add_QACommand", u"9時〜17時"_s) << u"追加"_s << u"bac9時〜17時"_s << 4LL << 1;
        QTest::newRow("edit") << run("edit_QACommand", u"x"_s) << u"編集"_s << u"bxc"_s << 2LL << 1;
        QTest::newRow("delete") << run("delete_QACommand") << u"削除"_s << u"bc"_s << 2LL << 1;
        QTest::newRow("cut") << run("Cut_QACommand") << u"切り取り"_s << u"bc"_s << 2LL << 1;
        QTest::newRow("paste") << run("Paste_QACommand") << u"貼り付け"_s << u"bacP"_s << 4LL << 1;
        QTest::newRow("clear") << run("new_QACommand") << u"初期化"_s << QString() << 0LL << 1;
        QTest::newRow("sort") << run("sort_QACommand") << u"ソート"_s << u"abc"_s << 1LL << 1;
        QTest::newRow("move up") << run("up_QACommand") << u"上へ移動"_s << u"abc"_s << 1LL << 1;
        QTest::newRow("move down") << run("down_QACommand") << u"下へ移動"_s << u"bca"_s << 3LL << 1;
        QTest::newRow("drag") << dragFirstToTheEnd << u"移動"_s << u"acb"_s << 3LL << 1;
        QTest::newRow("design and settings") << designAndSettings << u"ドキュメント設定"_s << u"bac"_s << 2LL << 1;
        // As before, the quick settings leave the project unmodified.
        QTest::newRow("quick settings") << run("AutoDocument_ProjectMenu") << u"簡易自動ドキュメント設定"_s << u"bac"_s << 2LL << 0;
        // clang-format on
    }

    void eachCommandIsOneStepOfTheHistory() {
        QFETCH(Act, command);
        QFETCH(QString, caption);
        QFETCH(QString, entriesAfter);
        QFETCH(qsizetype, current);
        QFETCH(int, reloads);
        addEntries(u"bac"_s, 2);
        app().DocumentViewOpen = true;
        const Project before = app().project;
        command();
        const Project after = app().project;
        QVERIFY(after != before);
        QCOMPARE(questions(entries()), entriesAfter);
        QCOMPARE(this->current(), current);
        QCOMPARE(m_ui->previewReloads(), reloads);
        QCOMPARE(child<QAction>(window(), "undo_QACommand").text(), u"元に戻す: "_s + caption);

        trigger("undo_QACommand");
        QCOMPARE(app().project, before);
        QVERIFY(!app().DataChanged);
        QVERIFY(!enabled("undo_QACommand"));
        QCOMPARE(child<QAction>(window(), "redo_QACommand").text(), u"やり直し: "_s + caption);
        trigger("redo_QACommand");
        QCOMPARE(app().project, after);
        QVERIFY(app().DataChanged);
        QVERIFY(!enabled("redo_QACommand"));
        QCOMPARE(m_ui->previewReloads(), reloads + 2);
    }

    void historyFollowsTheSavedFileAndStartsWithEachProject() {
        QTemporaryDir dir;
        QVERIFY(!enabled("undo_QACommand") && !enabled("redo_QACommand"));
        dialogs().files << dir.filePath(u"faq"_s);
        trigger("FileSave_FileName");
        m_ui->project().appendEntry(entry(u"x"_s));
        trigger("FileUpSave_FileMenu");
        m_ui->project().appendEntry(entry(u"y"_s));
        // Back at the saved state the project counts as saved again.
        for (const auto& [action, changed] : {std::pair{"undo_QACommand", false},
                                              {"undo_QACommand", true},
                                              {"redo_QACommand", false},
                                              {"redo_QACommand", true}}) {
            trigger(action);
            QCOMPARE(app().DataChanged, changed);
            QCOMPARE(shownTitle(),
                     changed ? u"faq* - Brindlewick Ver1.2"_s : u"faq - Brindlewick Ver1.2"_s);
        }
        for (int step = 0; step < 100; ++step)
            m_ui->project().appendEntry(entry(u"z"_s));
        for (int step = 0; step < 100; ++step)
            trigger("undo_QACommand");
        QCOMPARE(questions(entries()), u"xy"_s);

        dialogs().answers << true;
        trigger("NewData_FileMenu");
        QVERIFY(!enabled("undo_QACommand") && !enabled("redo_QACommand"));
        m_ui->project().appendEntry(entry(u"w"_s));
        dialogs().answers << true;
        dialogs().files << dir.filePath(u"faq.bwk"_s);
        trigger("FileOpen_FileMenu");
        QCOMPARE(questions(entries()), u"x"_s);
        QVERIFY(!enabled("undo_QACommand"));
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
        QCOMPARE(shownTitle(), u"faq - Brindlewick Ver1.2"_s);
        m_ui->project().appendEntry(entry(u"a"_s));
        m_ui->project().appendEntry(entry(u"b"_s));
        QCOMPARE(shownTitle(), u"faq* - Brindlewick Ver1.2"_s);
        trigger("FileUpSave_FileMenu");

        // The open preview shows the new project, then the one opened.
        app().DocumentViewOpen = true;
        trigger("NewData_FileMenu");
        QCOMPARE(shownTitle(), u"Brindlewick Ver1.2"_s);
        QCOMPARE(table().model()->rowCount(), 0);
        QCOMPARE(m_ui->previewReloads(), 1);
        m_ui->project().appendEntry(entry(u"c"_s));
        QCOMPARE(shownTitle(), u"Brindlewick Ver1.2*"_s);

        dialogs().answers << true;
        dialogs().files << dir.filePath(u"faq.bwk"_s);
        trigger("FileOpen_FileMenu");
        QCOMPARE(shownTitle(), u"faq.bwk - Brindlewick Ver1.2"_s);
        QCOMPARE(table().model()->rowCount(), 2);
        QCOMPARE(current(), 1);
        QVERIFY(!app().DataChanged);
        QCOMPARE(m_ui->previewReloads(), 3);
    }

    void filesOpenFromTheCommandLineAndTheRecentList() {
        QTemporaryDir dir;
        const QString damaged = dir.filePath(u"damaged.bwk"_s);
        QFile(damaged).open(QIODevice::WriteOnly);
        window().openAtStart(damaged);
        QVERIFY(dialogs().reports.value(0).text.startsWith(u"bwkファイルが壊れています。"_s));
        QCOMPARE(app().project, (Project{window().projectModel().document(), {}}));
        QCOMPARE(shownTitle(), u"Brindlewick Ver1.2"_s);
        const QString shop = dir.filePath(u"shop.bwk"_s);
        QVERIFY(BwkWriter::writeFile(shop, {}, app().project.entries));
        window().openAtStart(shop);
        QCOMPARE(shownTitle(), u"shop.bwk - Brindlewick Ver1.2"_s);

        for (int i = 1; i <= 9; ++i)
            RecentFiles::add(dir.filePath(u"%1.bwk"_s.arg(i)));
        auto& recent = child<QMenu>(window(), "RecentFiles_FileMenu");
        emit recent.aboutToShow();
        QCOMPARE(recent.actions().size(), RecentFiles::kLimit + 2);
        QCOMPARE(recent.actions().first()->text(), u"&1 9.bwk (%1)"_s.arg(dir.path()));
        // One that has gone is reported and dropped.
        recent.actions().first()->trigger();
        QVERIFY(dialogs().reports.value(1).text.startsWith(u"bwkファイルが壊れています。"_s));
        QVERIFY(!RecentFiles::paths().contains(dir.filePath(u"9.bwk"_s)));
        QCOMPARE(shownTitle(), u"shop.bwk - Brindlewick Ver1.2"_s);
        child<QAction>(recent, "ClearRecentFiles").trigger();
        QVERIFY(!recent.isEnabled());
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
        dialogs().files << dir.filePath(u"faq"_s) << QString() << output << output;
        trigger("FileSave_FileName");
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

        // The folder is known again for the project's file, and exported
        // into again in one step.
        reopenWindow();
        QVERIFY(!enabled("htmlAgain_FileMenu"));
        dialogs().files << dir.filePath(u"faq.bwk"_s);
        trigger("FileOpen_FileMenu");
        m_ui->project().appendEntry(entry(u"再出力"_s));
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QTest::keyClick(&table(), Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(dialogs().reports.value(0).text, HtmlExporter::doneMessage());
        QVERIFY(readPage(output + u"/faq.html"_s).contains(u"再出力"_s));

        // A page that cannot be made leaves the published one alone.
        DocumentInfo broken = m_ui->document();
        broken.DocumentCode = u"standard\\gone.ddc"_s;
        m_ui->project().setDocument(broken);
        m_ui->project().removeEntry(2);
        trigger("htmlAgain_FileMenu");
        QCOMPARE(dialogs().beeps, 2);
        QVERIFY(dialogs().reports.value(1).text.contains(u"gone.ddc"_s));
        QVERIFY(readPage(output + u"/faq.html"_s).contains(u"再出力"_s));
        QVERIFY(QDir(output).removeRecursively());
        emit child<QMenu>(window(), "FileMenu").aboutToShow();
        QVERIFY(!enabled("htmlAgain_FileMenu"));
    }

    void windowOpensWhereItWasLeft() {
        const QRect left(window().pos() + QPoint(30, 20), window().size() + QSize(120, 80));
        window().setGeometry(left);
        QVERIFY(window().close());
        reopenWindow();
        QCOMPARE(window().geometry(), left);
    }

    void helpThatCannotOpenSaysSo() {
        // Offscreen no browser can be started.
        trigger("Help_HelpMenu");
        trigger("HollowfenHP_HelpMenu");
        QCOMPARE(dialogs().beeps, 2);
        QVERIFY(dialogs().reports.value(0).text.endsWith(
            ProgramFolder(QStringLiteral(BRINDLEWICK_SOURCE_DIR "/data")).helpStartPage()));
        QVERIFY(dialogs().reports.value(1).text.endsWith(AboutForm::homepageAddress()));
        QDesktopServices::setUrlHandler(u"file"_s, this, "openedInBrowser");
        trigger("Help_HelpMenu");
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(dialogs().reports.size(), 2);
    }

    // The real dialogs, in Japanese as at start.
    void saveAsAsksInTheFileDialogBeforeReplacing() {
        QVERIFY(JapaneseTranslation::install(*qApp));
        QTemporaryDir dir;
        QFile(dir.filePath(u"faq.bwk"_s)).open(QIODevice::WriteOnly);
        WidgetDialogs real(&window());
        for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
            QStringList seen;
            QTimer::singleShot(0, [&] {
                auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(files);
                QTimer::singleShot(0, [&] {
                    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    QVERIFY(box);
                    seen << box->text() << box->button(QMessageBox::No)->text();
                    box->button(button)->click();
                    // No leaves the file dialog open.
                    if (files->isVisible())
                        files->reject();
                });
                files->selectFile(dir.filePath(u"faq"_s));
                QMetaObject::invokeMethod(files, "accept");
            });
            const UserDialogs::FileChoice choice =
                real.chooseFileToReplace(FileCommands::fileFilter(), &FileCommands::withExtension);
            QCOMPARE(choice.fileName,
                     button == QMessageBox::Yes ? dir.filePath(u"faq"_s) : QString());
            QCOMPARE(seen, (QStringList{u"faq.bwk は既に存在します。\n置き換えますか?"_s,
                                        u"いいえ(&N)"_s}));
        }
    }

    void runningOutOfMemoryIsReported() {
        QCOMPARE(OutOfMemoryGuard::run([]() -> int { throw std::bad_alloc(); }, dialogs()), 1);
        QCOMPARE(dialogs().reports.value(0).text, u"メモリが足りません。"_s);
        QCOMPARE(dialogs().beeps, 1);
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
        QTest::newRow("entries") << ModelCall([x](M& m) { QAEntryTable t; t.append(x); m.replaceEntries(t); }) << EntriesReplaced << u"modelReset"_s << u"x"_s;
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
