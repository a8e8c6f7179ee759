#include "FormTestHelpers.h"
#include "ScriptedDialogs.h"
#include "project/ClipboardEntry.h"
#include "app/MApp.h"
#include "forms/DataProcForm.h"
#include "forms/EntryCommands.h"
#include "forms/MainForm.h"
#include "forms/PreviewReloader.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

namespace {

// What the user does in the entry dialog once it is open.
struct EntryInput {
    QString question;
    QString answer;
    bool enabled = true;
    enum { Ok, Cancel, Close } button = Ok;
};

void whenEntryDialogOpens(std::function<void(DataProcForm&)> act) {
    whenOpen<DataProcForm>(act);
}

void type(const EntryInput& input) {
    whenEntryDialogOpens([input](DataProcForm& dialog) {
        dialog.QuestionEdit->setText(input.question);
        dialog.AnswerEdit->setPlainText(input.answer);
        dialog.checks_check->setChecked(input.enabled);
        if (input.button == EntryInput::Ok)
            dialog.okButton->click();
        else if (input.button == EntryInput::Cancel)
            dialog.cancelButton->click();
        else
            dialog.close();
        // A dialog still open after OK (a question answered No) is closed so
        // the test goes on; the test checks what it saw.
        if (dialog.isVisible())
            dialog.cancelButton->click();
    });
}

QStringList questions(const MApp& app) {
    QStringList list;
    for (const QAEntry& entry : app.entries)
        list << entry.question;
    return list;
}

QStringList strings(std::initializer_list<const char16_t*> texts) {
    QStringList list;
    for (const char16_t* text : texts)
        list << QString::fromUtf16(text);
    return list;
}

QStringList captions(const QMenu* menu) {
    QStringList list;
    for (const QAction* action : menu->actions())
        list << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return list;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowUnderTest> m_ui;

    MApp& app() { return m_ui->app; }
    ScriptedDialogs& dialogs() { return m_ui->dialogs; }
    MainForm& window() { return m_ui->window; }

    void addEntries(const QStringList& list) {
        for (const QString& question : list)
            window().model().appendEntry(
                QAEntry{question, question + QStringLiteral(" の答え"), 1});
        window().entryCommands().setCurrentPosition(1);
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

    void startState() {
        QCOMPARE(window().windowTitle(), QStringLiteral("Brindlewick Ver1.2"));
        QVERIFY(!window().PostSBar->text().isEmpty());
        QVERIFY(!app().DataChanged);
        QVERIFY(!app().DocumentViewOpen);
        QCOMPARE(app().DocumentHomepage, QStringLiteral("http://"));
        QCOMPARE(app().DocumentCode, QStringLiteral("．．．"));
        QCOMPARE(window().model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("Q.質問"));
        QCOMPARE(window().model().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("A.答え"));
    }

    void menus() {
        QCOMPARE(captions(window().FileMenu),
                 strings({u"新規作成", u"名前を付けて保存", u"上書き保存", u"ファイルを開く", u"-",
                          u"HTML出力", u"-", u"終了"}));
        QCOMPARE(captions(window().ProjectMenu),
                 strings({u"ドキュメント設定", u"-", u"ドキュメントビュー",
                          u"簡易自動ドキュメント設定"}));
        QCOMPARE(captions(window().QACommandMenu),
                 strings({u"初期化", u"-", u"コピー", u"切り取り", u"貼り付け", u"-", u"追加",
                          u"編集", u"削除", u"-", u"ソート"}));
        QCOMPARE(captions(window().HelpMenu),
                 strings({u"B.W.Kヘルプ", u"-", u"Hollowfen.HP を開く", u"-", u"バージョン情報"}));
        QCOMPARE(window().html_FileMenu->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(window().add_QACommand->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
        QCOMPARE(window().edit_QACommand->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
    }

    void qaMenuEnablingRule() {
        QAction* entryItems[] = {window().Copy_QACommand, window().Cut_QACommand,
                                 window().edit_QACommand, window().delete_QACommand};
        QGuiApplication::clipboard()->setText(QStringLiteral("BWK1.21Q\r\nA"));
        window().QACommandMenu_Click();
        for (QAction* action : entryItems)
            QVERIFY(!action->isEnabled());
        QVERIFY(window().Paste_QACommand->isEnabled());

        addEntries({QStringLiteral("one")});
        for (const QString& text :
             {QStringLiteral("bwk1.21Q\r\nA"), QStringLiteral("BWK1."), QString()}) {
            QGuiApplication::clipboard()->setText(text);
            window().QACommandMenu_Click();
            QVERIFY2(!window().Paste_QACommand->isEnabled(), qPrintable(text));
        }
        for (QAction* action : entryItems)
            QVERIFY(action->isEnabled());
        QVERIFY(window().new_QACommand->isEnabled());
        QVERIFY(window().add_QACommand->isEnabled());
        QVERIFY(window().sort_QACommand->isEnabled());
    }

    void addAcceptedOrNot() {
        app().DocumentViewOpen = true;
        type({QStringLiteral("質問"), QStringLiteral("一行目\n二行目"), true});
        window().add_QACommand->trigger();
        QCOMPARE(app().entries.count(), 1);
        QCOMPARE(app().entries.item(1),
                 (QAEntry{QStringLiteral("質問"), QStringLiteral("一行目\r\n二行目"), 1}));
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 1);
        QCOMPARE(window().entryCommands().currentPosition(), 1);

        type({QStringLiteral("無効"), QStringLiteral("a"), false});
        window().add_QACommand->trigger();
        QCOMPARE(app().entries.item(2).icon, 2);
        QCOMPARE(window().entryCommands().currentPosition(), 2);

        app().DataChanged = false;
        type({QStringLiteral("x"), QStringLiteral("y"), true, EntryInput::Cancel});
        window().add_QACommand->trigger();
        type({QStringLiteral("x"), QStringLiteral("y"), true, EntryInput::Close});
        window().add_QACommand->trigger();
        QCOMPARE(app().entries.count(), 2);
        QVERIFY(!app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 2);
    }

    void emptyFieldQuestion() {
        // No: the dialog stays open with what was typed; Yes: it closes and
        // nothing is added.
        dialogs().answer(false);
        bool stayedOpen = false;
        whenEntryDialogOpens([&stayedOpen](DataProcForm& dialog) {
            dialog.QuestionEdit->setText(QStringLiteral("typed"));
            dialog.okButton->click();
            stayedOpen = dialog.isVisible() && dialog.QuestionEdit->text() == u"typed";
            dialog.cancelButton->click();
        });
        window().add_QACommand->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(dialogs().questions.last(),
                 (ScriptedDialogs::Shown{
                     QStringLiteral("値は編集されていません。それでも終了しますか？"),
                     QStringLiteral("B.W.K")}));

        dialogs().answer(true);
        type({QStringLiteral("typed"), QString(), true});
        window().add_QACommand->trigger();
        QVERIFY(app().entries.isEmpty());
        QVERIFY(!app().DataChanged);
    }

    void textTheFileCannotHoldIsRefusedAtOnce() {
        bool stayedOpen = false;
        whenEntryDialogOpens([&stayedOpen](DataProcForm& dialog) {
            dialog.QuestionEdit->setText(QStringLiteral("q"));
            dialog.AnswerEdit->setPlainText(QStringLiteral("say \"hi\""));
            dialog.okButton->click();
            stayedOpen = dialog.isVisible();
            dialog.cancelButton->click();
        });
        window().add_QACommand->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(dialogs().reports.size(), 1);
        QVERIFY(dialogs().reports[0].text.contains(QStringLiteral("答え")));
        QVERIFY(app().entries.isEmpty());
    }

    void editWritesBackHoweverTheDialogEnds() {
        addEntries({QStringLiteral("one"), QStringLiteral("two")});
        app().entries.item(2).icon = 7;
        window().entryCommands().setCurrentPosition(2);
        app().DocumentViewOpen = true;

        bool filled = false;
        whenEntryDialogOpens([&filled](DataProcForm& dialog) {
            filled = dialog.QuestionEdit->text() == u"two" && !dialog.checks_check->isChecked();
            dialog.cancelButton->click();
        });
        window().edit_QACommand->trigger();
        QVERIFY(filled);
        QCOMPARE(app().entries.item(2),
                 (QAEntry{QStringLiteral("two"), QStringLiteral("two の答え"), 2}));
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 1);

        type({QStringLiteral("two"), QStringLiteral("new answer"), true});
        window().edit_QACommand->trigger();
        QCOMPARE(app().entries.item(2).answer, QStringLiteral("new answer"));
        QCOMPARE(app().entries.item(2).icon, 1);

        dialogs().answer(true);
        type({QString(), QStringLiteral("ignored"), true});
        window().reDataEdit();
        QCOMPARE(app().entries.item(2).question, QStringLiteral("two"));
        QCOMPARE(app().entries.item(2).answer, QStringLiteral("new answer"));
        QCOMPARE(questions(app()), strings({u"one", u"two"}));
    }

    void doubleClickEdits() {
        addEntries({QStringLiteral("one")});
        type({QStringLiteral("one"), QStringLiteral("by double-click"), true});
        const QModelIndex index = window().model().index(0, 1);
        const QPoint point = window().QAListView->visualRect(index).center();
        QTest::mouseClick(window().QAListView->viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(window().QAListView->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(app().entries.item(1).answer, QStringLiteral("by double-click"));
    }

    void editAndDeleteOnAnEmptyTableDoNothing() {
        window().edit_QACommand->trigger();
        window().delete_QACommand->trigger();
        QVERIFY(dialogs().questions.isEmpty());
        QVERIFY(!app().DataChanged);
    }

    void deleteAsksFirst() {
        addEntries({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
        window().entryCommands().setCurrentPosition(2);
        dialogs().answer(false).answer(true);
        window().delete_QACommand->trigger();
        QCOMPARE(app().entries.count(), 3);
        QVERIFY(!app().DataChanged);
        window().delete_QACommand->trigger();
        QCOMPARE(dialogs().questions.last().text,
                 QStringLiteral("この項目を削除してもいいですか？"));
        QCOMPARE(questions(app()), strings({u"one", u"three"}));
        QCOMPARE(window().entryCommands().currentPosition(), 2);
        QVERIFY(app().DataChanged);

        // Deleting the last entry makes the new last one current.
        dialogs().answer(true);
        window().delete_QACommand->trigger();
        QCOMPARE(window().entryCommands().currentPosition(), 1);
    }

    void sortAndClear() {
        addEntries({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")});
        dialogs().answer(false).answer(true);
        window().sort_QACommand->trigger();
        QCOMPARE(questions(app()), strings({u"b", u"a", u"c"}));
        window().sort_QACommand->trigger();
        QCOMPARE(dialogs().questions.last().text, QStringLiteral("FQAテーブルをソートしますか？"));
        QCOMPARE(questions(app()), strings({u"a", u"b", u"c"}));
        QCOMPARE(window().entryCommands().currentPosition(), 1);
        type({QStringLiteral("0 first in order"), QStringLiteral("x"), true});
        window().add_QACommand->trigger();
        QCOMPARE(questions(app()).last(), QStringLiteral("0 first in order"));

        app().DocumentTitle = QStringLiteral("kept");
        dialogs().answer(false).answer(true).answer(true);
        app().DataChanged = false;
        window().new_QACommand->trigger();
        QCOMPARE(app().entries.count(), 4);
        QVERIFY(!app().DataChanged);
        window().new_QACommand->trigger();
        QCOMPARE(dialogs().questions.last().text,
                 QStringLiteral("現在、FQAテーブル内にあるすべての情報を初期化してもいいですか？"));
        QVERIFY(app().entries.isEmpty());
        QCOMPARE(app().DocumentTitle, QStringLiteral("kept"));
        QVERIFY(app().DataChanged);
        // Asked and marked changed also on an empty table.
        app().DataChanged = false;
        window().new_QACommand->trigger();
        QVERIFY(app().DataChanged);
    }

    void changesWhilePreviewIsClosedDoNotReload() {
        dialogs().answer(true);
        window().new_QACommand->trigger();
        type({QStringLiteral("q"), QStringLiteral("a"), true});
        window().add_QACommand->trigger();
        QVERIFY(app().DataChanged);
        QCOMPARE(m_ui->preview.reloads, 0);
    }

    void copyPasteAndCut() {
        window().model().appendEntry(
            QAEntry{QStringLiteral("改行のある答え"), QStringLiteral("一\r\n\r\n二\r\n"), 2});
        window().entryCommands().setCurrentPosition(1);
        window().Copy_QACommand->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("BWK1.22改行のある答え\r\n一\r\n\r\n二\r\n"));
        QVERIFY(!app().DataChanged);

        window().Paste_QACommand->trigger();
        window().Paste_QACommand->trigger();
        QCOMPARE(app().entries.count(), 3);
        QCOMPARE(app().entries.item(3), app().entries.item(1));
        QCOMPARE(window().entryCommands().currentPosition(), 3);
        QVERIFY(app().DataChanged);

        QGuiApplication::clipboard()->setText(QStringLiteral("BWK1.22Why?\r\nBecause."));
        window().Paste_QACommand->trigger();
        QCOMPARE(app().entries.item(4),
                 (QAEntry{QStringLiteral("Why?"), QStringLiteral("Because."), 2}));

        QGuiApplication::clipboard()->setText(QStringLiteral("BWK1.2"));
        window().Paste_QACommand->trigger();
        QCOMPARE(app().entries.count(), 4);
        QCOMPARE(dialogs().beeps, 1);

        // Cut copies the current entry and removes it without a question.
        window().entryCommands().setCurrentPosition(4);
        window().Cut_QACommand->trigger();
        QCOMPARE(app().entries.count(), 3);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("BWK1.22Why?\r\nBecause."));
        QVERIFY(dialogs().questions.isEmpty());
    }

    void exitPrompt() {
        // Unchanged: no question.
        QVERIFY(window().close());
        QVERIFY(dialogs().questions.isEmpty());

        // Changed, No: closes and writes nothing.
        init();
        app().DataChanged = true;
        dialogs().answer(false);
        QVERIFY(window().close());
        QCOMPARE(dialogs().questions.value(0).text,
                 QStringLiteral("まだ、保存されていない情報がありますが保存しますか？"));

        // Changed, Yes, save dialog cancelled: the work stays open.
        init();
        app().DataChanged = true;
        dialogs().answer(true).file(QString());
        QVERIFY(!window().close());
        QVERIFY(window().isVisible());
        QVERIFY(app().DataChanged);

        // Changed, Yes, a name chosen: saved, then closed.
        QTemporaryDir dir;
        dialogs().answer(true).file(dir.filePath(QStringLiteral("kept")));
        QVERIFY(window().close());
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("kept.bwk"))));
        QVERIFY(!app().DataChanged);
    }

    void captionFollowsTheFile() {
        QTemporaryDir dir;
        dialogs().file(dir.filePath(QStringLiteral("faq")));
        window().FileSave_FileName->trigger();
        QCOMPARE(window().windowTitle(), QStringLiteral("faq - Brindlewick Ver1.2"));

        addEntries({QStringLiteral("saved")});
        window().FileUpSave_FileMenu->trigger();
        window().NewData_FileMenu->trigger();
        QCOMPARE(window().windowTitle(), QStringLiteral("Brindlewick Ver1.2"));
        QCOMPARE(window().model().rowCount(), 0);

        dialogs().file(dir.filePath(QStringLiteral("faq.bwk")));
        window().FileOpen_FileMenu->trigger();
        QCOMPARE(window().windowTitle(), QStringLiteral("faq.bwk - Brindlewick Ver1.2"));
        QCOMPARE(window().model().rowCount(), 1);
        QCOMPARE(window().entryCommands().currentPosition(), 1);
        QVERIFY(dialogs().allAnswered());
    }

    void resizeRulesInTwips() {
        QTreeView* table = window().QAListView;
        auto twips = [this](int pixels) { return Twips::fromPixels(pixels, &window()); };
        auto expectColumn2 = [&](int margin) {
            const int expected = std::max(0, table->width() - table->columnWidth(0) -
                                                 Twips::toPixels(margin, &window()));
            QCOMPARE(table->columnWidth(1), expected);
        };

        window().resize(window().width() + 150, window().height() + 40);
        QCoreApplication::processEvents();
        expectColumn2(70);

        table->setColumnWidth(0, table->columnWidth(0) + 30);
        const int before = table->columnWidth(1);
        window().resize(window().width() + 60, window().height());
        QCoreApplication::processEvents();
        expectColumn2(70);
        QCOMPARE(table->columnWidth(1), before + 60 - 30);

        QTest::mouseClick(table->header()->viewport(), Qt::LeftButton, {},
                          QPoint(table->header()->sectionPosition(1) + 5, 5));
        expectColumn2(60);

        // Narrower than column 1: column 2 is zero, not negative.
        table->setColumnWidth(0, table->width() + 100);
        window().resize(window().width() - 1, window().height());
        QCoreApplication::processEvents();
        QCOMPARE(table->columnWidth(1), 0);
        QVERIFY(twips(table->columnWidth(0)) > 0);
    }

    void exportFromTheFileMenu() {
        window().html_FileMenu->trigger();
        QCOMPARE(dialogs().beeps, 1);
        QCOMPARE(dialogs().reports.value(0),
                 (ScriptedDialogs::Shown{
                     QStringLiteral(
                         "ドキュメント情報が詳細に定義されていないためhtml出力ができません。"),
                     QStringLiteral("B.W.K")}));

        app().DocumentTitle = app().DocumentCreater = app().DocumentMail = QStringLiteral("x");
        app().DocumentDataview = QStringLiteral("d");
        app().DocumentCode = QStringLiteral("standard\\faq.ddc");
        app().DocumentCodeFolder = QStringLiteral("standard");
        addEntries({QStringLiteral("q")});
        app().DataChanged = false;

        QTemporaryDir dir;
        dialogs().file(QString());
        window().html_FileMenu->trigger();
        QCOMPARE(dialogs().filters.last(), QStringLiteral("B.W.K.Folder"));
        QCOMPARE(dialogs().reports.size(), 1);

        const QString output = dir.filePath(QStringLiteral("faq"));
        dialogs().file(output);
        window().html_FileMenu->trigger();
        QCOMPARE(dialogs().reports.last().text, QStringLiteral("htmlファイルを書き出しました。"));
        QVERIFY(QFile::exists(output + QStringLiteral("/faq.html")));
        QVERIFY(QFile::exists(output + QStringLiteral("/style.css")));
        QVERIFY(!app().DataChanged);

        dialogs().file(output);
        window().html_FileMenu->trigger();
        QVERIFY(dialogs().reports.last().text.contains(output));
        QVERIFY(dialogs().reports.last().text != QStringLiteral("htmlファイルを書き出しました。"));
    }
};

QTEST_MAIN(MainFormTest)
#include "tst_mainform.moc"
