#include "FormTestHelpers.h"
#include "app/FileCommands.h"
#include "design/HtmlExporter.h"
#include "forms/AboutForm.h"
#include "forms/DocumentCodeForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/OutOfMemoryGuard.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDesktopServices>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace {

using ModelCall = std::function<void(ProjectModel&)>;
using Act = std::function<void()>;

} // namespace

Q_DECLARE_METATYPE(ModelCall)
Q_DECLARE_METATYPE(Act)

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowUnderTest> ui;
    QList<QUrl> m_opened;

    // The names of the Q.A menu's items that can be chosen.
    QString enabledEntryItems() {
        QStringList names;
        for (const QAction* action : child<QMenu>(ui->window, "QACommandMenu").actions()) {
            if (!action->isSeparator() && action->isEnabled())
                names << action->objectName().remove(u"_QACommand"_s);
        }
        return names.join(u' ');
    }

public slots:
    void openedInBrowser(const QUrl& url) { m_opened << url; }

private slots:
    void init() { ui = WindowUnderTest::openFresh(); }

    void cleanup() { WindowUnderTest::closeAnswered(ui); }

    // Where users have always found them.
    void menusHoldTheirItemsInOrder_data() {
        QTest::addColumn<QString>("items");
        // clang-format off
        QTest::newRow("FileMenu") << u"新規作成|名前を付けて保存|上書き保存|ファイルを開く|-|HTML出力|前回のフォルダへHTML出力|-|CSVから読み込み...|CSVに書き出し...|-|最近使ったファイル|-|終了"_s;
        QTest::newRow("ProjectMenu") << u"ドキュメント設定|-|ドキュメントビュー|簡易自動ドキュメント設定"_s;
        QTest::newRow("QACommandMenu") << u"初期化|-|コピー|切り取り|貼り付け|-|追加|編集|削除|-|ソート|-|上へ移動|下へ移動|-|元に戻す|やり直し|-|検索|置換..."_s;
        QTest::newRow("HelpMenu") << u"B.W.Kヘルプ|-|Hollowfen.HP を開く|-|バージョン情報"_s;
        // clang-format on
    }

    void menusHoldTheirItemsInOrder() {
        QFETCH(QString, items);
        QStringList shown;
        for (const QAction* action : child<QMenu>(ui->window, QTest::currentDataTag()).actions())
            shown << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(shown.join(u'|'), items);
    }

    // The row's name is the keys typed: what they showed, then the table.
    void keysRunTheirCommands_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("seen");
        const QString filter = FileCommands::fileFilter();
        // clang-format off
        QTest::newRow("Ctrl+N") << QString() << u"現在の情報はなくなりますがよろしいですか？ a[b]c"_s;
        QTest::newRow("Ctrl+O") << QString() << u"現在保存されていない情報がまだありますが、ファイルを開きますか？ a[b]c"_s;
        QTest::newRow("Ctrl+S") << QString() << filter + u" a[b]c"_s;
        QTest::newRow("Ctrl+Shift+S") << QString() << filter + u" a[b]c"_s;
        QTest::newRow("Ctrl+Q") << QString() << u"まだ、保存されていない情報がありますが保存しますか？ a[b]c"_s;
        QTest::newRow("F2") << QString() << HtmlExporter::incompleteMessage() + u"\nドキュメント設定で次の項目を設定してください：ページタイトル、作者名、メールアドレス、デザイン、説明文 a[b]c"_s;
        QTest::newRow("Ctrl+A") << u"d"_s << u" abc[d]"_s;
        QTest::newRow("Ctrl+E") << u"e"_s << u" a[e]c"_s;
        QTest::newRow("Return") << u"r"_s << u" a[r]c"_s;
        QTest::newRow("Enter") << u"k"_s << u" a[k]c"_s;
        QTest::newRow("Del") << QString() << u"この項目を削除してもいいですか？ a[b]c"_s;
        QTest::newRow("Alt+Up") << QString() << u" [b]ac"_s;
        QTest::newRow("Alt+Down, Alt+Down") << QString() << u" ac[b]"_s;
        QTest::newRow("Alt+Up, Ctrl+Z") << QString() << u" a[b]c"_s;
        QTest::newRow("Alt+Up, Ctrl+Z, Ctrl+Y") << QString() << u" [b]ac"_s;
        QTest::newRow("Alt+Up, Ctrl+Z, Ctrl+Shift+Z") << QString() << u" [b]ac"_s;
        // clang-format on
    }

    // From the table, with unsaved changes; each question is answered No
    // and each file dialog cancelled.
    void keysRunTheirCommands() {
        QFETCH(QString, typed);
        QFETCH(QString, seen);
        ui->setRows(u"a[b]c"_s);
        ui->setDataChanged(true);
        ui->dialogs.answers << false;
        ui->dialogs.files << QString();
        ui->activate();
        if (!typed.isEmpty())
            type({typed, u"y"_s});
        QTest::keySequence(&ui->table(),
                           QKeySequence(QString::fromLatin1(QTest::currentDataTag())));
        QCOMPARE(ui->dialogs.shown.join(u'|') + u' ' + ui->rows(), seen);
        ui->dialogs.answers.clear();
        ui->dialogs.files.clear();
    }

    void qaMenuEnablesEntryItemsOnlyWithEntriesAndPasteOnlyWithTheTag() {
        // On an empty table the entry commands do nothing, menu or not.
        for (const char* action : {"edit_QACommand", "delete_QACommand", "Cut_QACommand"})
            ui->trigger(action);
        QVERIFY(ui->dialogs.questions.isEmpty());
        QVERIFY(!ui->dataChanged());
        QGuiApplication::clipboard()->setText(u"BWK1.21Q\r\nA"_s);
        emit child<QMenu>(ui->window, "QACommandMenu").aboutToShow();
        QCOMPARE(enabledEntryItems(), u"new Paste add sort find replace"_s);

        // They follow every change without the menu opening, so that their
        // keys work; moving follows the current entry.
        ui->setRows(u"[a]b"_s);
        QCOMPARE(enabledEntryItems(),
                 u"new Copy Cut Paste add edit delete sort down find replace"_s);
        ui->window.entryCommands().setCurrentPosition(2);
        QCOMPARE(enabledEntryItems(), u"new Copy Cut Paste add edit delete sort up find replace"_s);
        ui->project().clearEntries();
        QCOMPARE(enabledEntryItems(), u"new Paste add sort undo find replace"_s);
        for (const QString& text : {u"bwk1.21Q"_s, u"BWK1."_s, QString()}) {
            QGuiApplication::clipboard()->setText(text);
            QVERIFY2(!ui->enabled("Paste_QACommand"), qPrintable(text));
        }
    }

    // Line ends as the file keeps them; an entry left unticked is disabled.
    void addAppendsOnlyAcceptedEntries() {
        type({u"質問"_s, u"一行目\n二行目"_s});
        ui->trigger("add_QACommand");
        type({u"無効"_s, u"a"_s, false});
        ui->trigger("add_QACommand");
        QCOMPARE(ui->project().entries().item(1), (QAEntry{u"質問"_s, u"一行目\r\n二行目"_s, 1}));
        QCOMPARE(ui->project().entries().item(2), (QAEntry{u"無効"_s, u"a"_s, 2}));

        ui->setDataChanged(false);
        type({u"x"_s, u"y"_s, true, EntryInput::Cancel});
        ui->trigger("add_QACommand");
        type({u"x"_s, u"y"_s, true, EntryInput::Close});
        ui->trigger("add_QACommand");
        QCOMPARE(ui->rows(), u"質問[無効]"_s);
        QVERIFY(!ui->dataChanged());
        QCOMPARE(ui->previewReloads(), 2);
    }

    void okKeepsTheEntryDialogOpenForUnusableText_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("shown");
        // Where the cursor is put after a refusal: the field and position.
        QTest::addColumn<QString>("cursor");
        QTest::newRow("empty field")
            << u"typed"_s << QString() << u"値は編集されていません。それでも終了しますか？"_s
            << u"okButton"_s;
        QTest::newRow("quotes") << u"typed"_s << u"say \"hi\""_s
                                << u"答えに半角の二重引用符（\"）を含めることはできません。\n代わ"
                                   u"りに ” か &quot; と入力してください（&quot; はページで \" と"
                                   u"表示されます）。\n\n答えの保存できない文字をすべて、ページで"
                                   u"同じ文字として表示される &quot; や &#x...; の形に置き換えま"
                                   u"すか？（いいえを押すと入力欄に戻ります）"_s
                                << u"AnswerEdit 4"_s;
        QTest::newRow("line break") << u"a\nb"_s << u"x"_s
                                    << u"質問に改行を含めることはできません。\n改行を削除して1行に"
                                       u"してください。"_s
                                    << u"QuestionEdit 1"_s;
    }

    // A question answered No, or a refusal, keeps the dialog open.
    void okKeepsTheEntryDialogOpenForUnusableText() {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        QFETCH(QString, cursor);
        const bool asks = !shown.startsWith(u"質問");
        if (asks)
            ui->dialogs.answers << false;
        QString stayedAt;
        whenOpen<DataProcForm>([&](DataProcForm& dialog) {
            fillEntryDialog(dialog, question, answer);
            child<QPushButton>(dialog, "okButton").setFocus();
            click(dialog, "okButton");
            QVERIFY(dialog.isVisible());
            QWidget* focus = dialog.focusWidget();
            stayedAt = focus->objectName();
            if (auto* line = qobject_cast<QLineEdit*>(focus))
                stayedAt += u' ' + QString::number(line->cursorPosition());
            if (auto* text = qobject_cast<QPlainTextEdit*>(focus))
                stayedAt += u' ' + QString::number(text->textCursor().position());
            click(dialog, "cancelButton");
        });
        ui->trigger("add_QACommand");
        QCOMPARE(stayedAt, cursor);
        QCOMPARE(ui->dialogs.shown, QStringList{shown});
        QCOMPARE(ui->dialogs.questions.value(0).title, asks ? u"B.W.K"_s : QString());
        // A refusal beeps like every other report.
        QCOMPARE(ui->dialogs.beeps, answer.isEmpty() ? 0 : 1);
        QVERIFY(ui->project().entries().isEmpty());
        QVERIFY(!ui->dataChanged());
    }

    // Yes writes what the page shows the same, in the fields that need it.
    void entryDialogOffersWhatThePageShowsTheSame() {
        ui->dialogs.answers << true << true;
        type({u"😀 と \"引用\""_s, u"say \"hi\" 😀"_s});
        ui->trigger("add_QACommand");
        QCOMPARE(ui->project().entries().item(1).question, u"&#x1F600; と \"引用\""_s);
        QCOMPARE(ui->project().entries().item(1).answer, u"say &quot;hi&quot; &#x1F600;"_s);
        QVERIFY(ui->dialogs.questions.value(0).text.startsWith(
            u"質問の文字「😀」(U+1F600)はbwkファイルに保存できません。\n代わりに &#x1F600; と"_s));
    }

    // Enter presses only a focused button and Esc nothing; Ctrl+Return
    // confirms from any field, without a line break in the answer. After
    // each key: 1 while the dialog is open.
    void entryDialogTakesTheKeyboard() {
        const QList<QStringList> typed{
            {u"QuestionEdit Return"_s, u"QuestionEdit Esc"_s, u"cancelButton Num+Enter"_s},
            {u"okButton Return"_s},
            {u"AnswerEdit Ctrl+Return"_s},
            {u"QuestionEdit Ctrl+Num+Enter"_s}};
        QString seen;
        for (const QStringList& keys : typed) {
            whenOpen<DataProcForm>([&seen, keys](DataProcForm& dialog) {
                fillEntryDialog(dialog, u"q"_s, u"a"_s);
                // Shortcuts work in the active window only.
                dialog.activateWindow();
                QTRY_COMPARE(QApplication::activeWindow(), &dialog);
                for (const QString& pressed : keys) {
                    const QKeyCombination key = QKeySequence(pressed.section(u' ', 1))[0];
                    auto& widget = child<QWidget>(dialog, qPrintable(pressed.section(u' ', 0, 0)));
                    widget.setFocus();
                    QTest::keyClick(&widget, key.key(), key.keyboardModifiers());
                    seen += dialog.isVisible() ? u'1' : u'0';
                }
                if (dialog.isVisible())
                    click(dialog, "cancelButton");
            });
            ui->trigger("add_QACommand");
            seen += u' ';
        }
        QCOMPARE(seen, u"110 0 0 0 "_s);
        QCOMPARE(ui->rows(), u"qq[q]"_s);
        for (const QAEntry& entry : ui->project().entries())
            QCOMPARE(entry.answer, u"a"_s);
    }

    void editWritesBackHoweverTheDialogEnds() {
        ui->setRows(u"a"_s);
        ui->project().appendEntry(entry(u"b"_s, 7));
        ui->window.entryCommands().setCurrentPosition(2);
        ui->setDataChanged(false);
        ui->previewOutdated.clear();
        bool filled = false;
        whenOpen<DataProcForm>([&filled](DataProcForm& dialog) {
            filled = child<QLineEdit>(dialog, "QuestionEdit").text() == u"b" &&
                     !child<QCheckBox>(dialog, "checks_check").isChecked();
            click(dialog, "cancelButton");
        });
        ui->trigger("edit_QACommand");
        QVERIFY(filled);
        QCOMPARE(ui->project().entries().item(2), entry(u"b"_s, 2));
        QVERIFY(ui->dataChanged());
        QCOMPARE(ui->previewReloads(), 1);

        // A double-click edits too.
        type({u"b"_s, u"new answer"_s});
        const QPoint point = ui->table().visualRect(ui->table().model()->index(1, 1)).center();
        QTest::mouseClick(ui->table().viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(ui->table().viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(ui->project().entries().item(2), (QAEntry{u"b"_s, u"new answer"_s, 1}));

        // An empty question the user lets go keeps the entry.
        ui->dialogs.answers << true;
        type({QString(), u"ignored"_s});
        ui->trigger("edit_QACommand");
        QCOMPARE(ui->project().entries().item(2), (QAEntry{u"b"_s, u"new answer"_s, 1}));
        QCOMPARE(ui->rows(), u"a[b]"_s);
    }

    void tableCommandsAskFirst_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("question");
        const QString clear = u"現在、FQAテーブル内にあるすべての情報を初期化してもいいですか？"_s;
        // clang-format off
        QTest::newRow("delete") << "delete_QACommand" << "ba[c]" << "この項目を削除してもいいですか？";
        QTest::newRow("sort") << "sort_QACommand" << "ba[c]" << "FQAテーブルをソートしますか？";
        QTest::newRow("clear") << "new_QACommand" << "b[a]c" << clear;
        QTest::newRow("clear when empty") << "new_QACommand" << "" << clear;
        // clang-format on
    }

    // No leaves everything; what Yes does to the table is each command's
    // step of the history below.
    void tableCommandsAskFirst() {
        QFETCH(QString, action);
        QFETCH(QString, rows);
        QFETCH(QString, question);
        ui->setRows(rows);
        ui->dialogs.answers << false;
        ui->trigger(qPrintable(action));
        QCOMPARE(ui->dialogs.questions, QList<ScriptedDialogs::Shown>({{question, u"B.W.K"_s}}));
        QCOMPARE(ui->rows(), rows);
        QVERIFY(!ui->dataChanged());
        // Yes marks the project changed, even clearing an empty table.
        ui->dialogs.answers << true;
        ui->trigger(qPrintable(action));
        QVERIFY(ui->dataChanged());
    }

    void copyPasteAndCutGoThroughTheClipboard() {
        ui->project().appendEntry({u"改"_s, u"一\r\n\r\n二\r\n"_s, 2});
        ui->trigger("Copy_QACommand");
        QCOMPARE(QGuiApplication::clipboard()->text(), u"BWK1.22改\r\n一\r\n\r\n二\r\n"_s);
        ui->setDataChanged(false);
        ui->trigger("Paste_QACommand");
        ui->trigger("Paste_QACommand");
        QCOMPARE(ui->rows(), u"改改[改]"_s);
        QCOMPARE(ui->project().entries().item(3), ui->project().entries().item(1));
        QVERIFY(ui->dataChanged());

        // Nothing to paste, or text the entry dialog would refuse: a beep,
        // the dialog's message, and no change.
        ui->setDataChanged(false);
        for (const QString& text :
             {u"BWK1.2"_s, u"BWK1.21Q😀\r\nA"_s, u"BWK1.21Q\r\nsay \"hi\""_s}) {
            QGuiApplication::clipboard()->setText(text);
            ui->trigger("Paste_QACommand");
        }
        QCOMPARE(ui->project().entries().count(), 3);
        QVERIFY(!ui->dataChanged());
        QCOMPARE(ui->dialogs.beeps, 3);
        QCOMPARE(ui->dialogs.shown,
                 (QStringList{u"質問の文字「😀」(U+1F600)はbwkファイルに保存できません。\n代わりに "
                              u"&#x1F600; と入力してください（ページではこの文字として表示されま"
                              u"す）。"_s,
                              u"答えに半角の二重引用符（\"）を含めることはできません。\n代わりに "
                              u"” か &quot; と入力してください（&quot; はページで \" と表示されま"
                              u"す）。"_s}));

        // Cut copies the current entry and removes it without a question.
        QGuiApplication::clipboard()->clear();
        ui->trigger("Cut_QACommand");
        QCOMPARE(ui->rows(), u"改[改]"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"BWK1.22改\r\n一\r\n\r\n二\r\n"_s);
        QVERIFY(ui->dialogs.questions.isEmpty());
    }

    void eachCommandIsOneStepOfTheHistory_data() {
        QTest::addColumn<Act>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("marksChange");
        // Questions answered Yes; characters that look like the code page's
        // own are kept.
        auto run = [this](const char* action, const QString& typed = {}) {
            return Act([this, action, typed] {
                ui->dialogs.answers << true;
                if (!typed.isEmpty())
                    type({typed, u"定休日 — 水曜"_s});
                QGuiApplication::clipboard()->setText(u"BWK1.21P\r\nA"_s);
                ui->trigger(action);
                ui->dialogs.answers.clear();
            });
        };
        auto dragFirstToTheEnd = Act([this] {
            QAbstractItemModel& model = *ui->table().model();
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
            ui->trigger("Document_ProjectMenu");
        });
        // clang-format off
        QTest::newRow("add") << run("add_QACommand", u"9時〜17時"_s) << u"追加"_s << u"bac[9時〜17時]"_s << true;
        QTest::newRow("edit") << run("edit_QACommand", u"x"_s) << u"編集"_s << u"b[x]c"_s << true;
        QTest::newRow("delete") << run("delete_QACommand") << u"削除"_s << u"b[c]"_s << true;
        QTest::newRow("cut") << run("Cut_QACommand") << u"切り取り"_s << u"b[c]"_s << true;
        QTest::newRow("paste") << run("Paste_QACommand") << u"貼り付け"_s << u"bac[P]"_s << true;
        QTest::newRow("clear") << run("new_QACommand") << u"初期化"_s << QString() << true;
        QTest::newRow("sort") << run("sort_QACommand") << u"ソート"_s << u"[a]bc"_s << true;
        QTest::newRow("move up") << run("up_QACommand") << u"上へ移動"_s << u"[a]bc"_s << true;
        QTest::newRow("move down") << run("down_QACommand") << u"下へ移動"_s << u"bc[a]"_s << true;
        QTest::newRow("drag") << dragFirstToTheEnd << u"移動"_s << u"ac[b]"_s << true;
        QTest::newRow("design and settings") << designAndSettings << u"ドキュメント設定"_s << u"b[a]c"_s << true;
        // As before, the quick settings leave the project unmodified.
        QTest::newRow("quick settings") << run("AutoDocument_ProjectMenu") << u"簡易自動ドキュメント設定"_s << u"b[a]c"_s << false;
        // clang-format on
    }

    // Each change the project counts marks it and rebuilds the open preview.
    void eachCommandIsOneStepOfTheHistory() {
        QFETCH(Act, command);
        QFETCH(QString, caption);
        QFETCH(QString, after);
        QFETCH(bool, marksChange);
        ui->setRows(u"b[a]c"_s);
        ui->previewOutdated.clear();
        const Project projectBefore = ui->project().project();
        command();
        const Project projectAfter = ui->project().project();
        QVERIFY(projectAfter != projectBefore);
        QCOMPARE(ui->rows(), after);
        QCOMPARE(ui->dataChanged(), marksChange);
        QCOMPARE(ui->previewReloads(), marksChange ? 1 : 0);
        // Only the settings change the document.
        QCOMPARE(projectAfter.document == projectBefore.document, !caption.contains(u"設定"));
        QCOMPARE(ui->historyItems(), QStringList{u"元に戻す: "_s + caption});

        ui->trigger("undo_QACommand");
        QCOMPARE(ui->project().project(), projectBefore);
        QVERIFY(!ui->dataChanged());
        QCOMPARE(ui->historyItems(), QStringList{u"やり直し: "_s + caption});
        ui->trigger("redo_QACommand");
        QCOMPARE(ui->project().project(), projectAfter);
        QCOMPARE(ui->dataChanged(), marksChange);
        QCOMPARE(ui->historyItems(), QStringList{u"元に戻す: "_s + caption});
        QCOMPARE(ui->previewReloads(), marksChange ? 3 : 2);
    }

    // The caption, the exit prompt and the recovery copy all follow the
    // history: back at the quick settings is back at the saved state.
    void undoingBackToTheQuickSettingsLeavesTheProjectUnmarked() {
        ui->setRows(u"[a]"_s);
        ui->dialogs.answers = {true};
        ui->trigger("AutoDocument_ProjectMenu");
        type({u"b"_s, u"x"_s});
        ui->trigger("add_QACommand");
        QVERIFY(ui->window.isWindowModified());
        ui->trigger("undo_QACommand");
        QVERIFY(!ui->dataChanged());
        QVERIFY(!ui->window.isWindowModified());
    }

    void answerColumnTakesTheRestOfTheWidth() {
        QTreeView& table = ui->table();
        auto resizeBy = [this](int wider) {
            ui->window.resize(ui->window.width() + wider, ui->window.height() + 40);
            QCoreApplication::processEvents();
        };
        auto rest = [&](int marginTwips) {
            const int margin = Twips::toPixels(marginTwips, &ui->window);
            return std::max(0, table.width() - table.columnWidth(0) - margin);
        };
        resizeBy(150);
        QCOMPARE(table.columnWidth(1), rest(70));
        table.setColumnWidth(0, table.columnWidth(0) + 30);
        resizeBy(60);
        QCOMPARE(table.columnWidth(1), rest(70));
        QTest::mouseClick(table.header()->viewport(), Qt::LeftButton, {},
                          QPoint(table.header()->sectionPosition(1) + 5, 5));
        QCOMPARE(table.columnWidth(1), rest(60));
        // Narrower than the question column: zero, not negative.
        table.setColumnWidth(0, table.width() + 100);
        resizeBy(-1);
        QCOMPARE(table.columnWidth(1), 0);
        // A window sized before it is first shown lays its table out then.
        WindowUnderTest sizedEarly(builtProgramFolder());
        sizedEarly.window.resize(900, 420);
        sizedEarly.show();
        QTreeView& early = sizedEarly.table();
        QCOMPARE(early.columnWidth(1),
                 early.width() - early.columnWidth(0) - Twips::toPixels(70, &sizedEarly.window));
    }

    // A row shows the start of the first line; the entry keeps all of it.
    void tableShowsTheStartOfLongTexts() {
        const QString line(300, u'長'), shown = line.left(256) + u'…';
        ui->project().appendEntry({line, line + u"\r\n二"_s, 1});
        ui->project().appendEntry({u"短"_s, u"一\r\n二"_s, 1});
        const QAbstractItemModel& model = *ui->table().model();
        QCOMPARE(model.index(0, 0).data().toString(), shown);
        QCOMPARE(model.index(0, 1).data().toString(), shown);
        QCOMPARE(model.index(0, 1).data(Qt::ToolTipRole).toString(), shown);
        QCOMPARE(model.index(1, 1).data().toString(), u"一…"_s);
        QCOMPARE(ui->project().entries().item(1).answer, line + u"\r\n二"_s);
        // Nor does the entry dialog cut a question read from a file.
        const QString question(40000, u'問');
        ui->project().replaceEntry(1, {question, u"答"_s, 1});
        ui->window.entryCommands().setCurrentPosition(1);
        whenOpen<DataProcForm>([](DataProcForm& dialog) { click(dialog, "okButton"); });
        ui->trigger("edit_QACommand");
        QCOMPARE(ui->project().entries().item(1).question, question);
    }

    void windowOpensWhereItWasLeft() {
        const QRect left(ui->window.pos() + QPoint(30, 20), ui->window.size() + QSize(120, 80));
        ui->window.setGeometry(left);
        QVERIFY(ui->window.close());
        ui = WindowUnderTest::open();
        QCOMPARE(ui->window.geometry(), left);
    }

    void helpThatCannotOpenSaysSo() {
        // Offscreen no browser can be started.
        ui->trigger("Help_HelpMenu");
        ui->trigger("HollowfenHP_HelpMenu");
        QCOMPARE(ui->dialogs.beeps, 2);
        QVERIFY(ui->dialogs.reports.value(0).text.endsWith(
            ProgramFolder(builtProgramFolder()).helpStartPage()));
        QVERIFY(ui->dialogs.reports.value(1).text.endsWith(AboutForm::homepageAddress()));
        QDesktopServices::setUrlHandler(u"file"_s, this, "openedInBrowser");
        ui->trigger("Help_HelpMenu");
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(ui->dialogs.reports.size(), 2);
    }

    void runningOutOfMemoryIsReported() {
        QCOMPARE(OutOfMemoryGuard::run([]() -> int { throw std::bad_alloc(); }, ui->dialogs), 1);
        QCOMPARE(ui->dialogs.reports.value(0).text, u"メモリが足りません。"_s);
        QCOMPARE(ui->dialogs.beeps, 1);
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
        QCOMPARE(questionsOf(model.entries()).join(QString()), after);
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
