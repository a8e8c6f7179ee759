#include "FormTestHelpers.h"
#include "app/ReplaceCommand.h"
#include "forms/ReplaceForm.h"
#include "project/EntryReplacement.h"

#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

// What the user does in the next replace dialog: the texts, the target's
// radio button, whether case matters; then すべて置換 and 閉じる.
struct ReplaceInput {
    QString find;
    QString replacement;
    const char* target = "BothTarget";
    bool matchCase = false;
};

void replaceIn(const ReplaceInput& input) {
    whenOpen<ReplaceForm>([input](ReplaceForm& dialog) {
        child<QLineEdit>(dialog, "FindTextEdit").setText(input.find);
        child<QLineEdit>(dialog, "ReplaceTextEdit").setText(input.replacement);
        child<QRadioButton>(dialog, input.target).setChecked(true);
        child<QCheckBox>(dialog, "MatchCaseCheck").setChecked(input.matchCase);
        click(dialog, "ReplaceAllButton");
        click(dialog, "CloseButton");
    });
}

} // namespace

class ReplaceTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowUnderTest> ui;

    // Entries as if just read, the second current.
    void setEntries(const QList<QAEntry>& entries) {
        Project project;
        for (const QAEntry& entry : entries)
            project.entries.append(entry);
        ui->project().replaceProject(project, ProjectModel::Marking::Unmodified);
        ui->window.entryCommands().setCurrentPosition(2);
    }

    QStringList texts() {
        QStringList shown;
        for (const QAEntry& entry : ui->project().entries())
            shown << entry.question + u'/' + entry.answer;
        return shown;
    }

private slots:
    void init() { ui = WindowUnderTest::openFresh(); }

    void cleanup() { WindowUnderTest::closeAnswered(ui); }

    void replaceAllIsOneStepOfTheHistory() {
        setEntries({{u"Tel 03-1111"_s, u"03-1111 か 03-1111"_s, 1},
                    {u"住所"_s, u"なし"_s, 2},
                    {u"FAX"_s, u"03-1111\r\n(夜)"_s, 1}});
        const QStringList before = texts();
        ui->previewOutdated.clear();
        replaceIn({u"03-1111"_s, u"06-2222"_s});
        ui->trigger("replace_QACommand");
        const QStringList after{u"Tel 06-2222/06-2222 か 06-2222"_s, u"住所/なし"_s,
                                u"FAX/06-2222\r\n(夜)"_s};
        QCOMPARE(texts(), after);
        QCOMPARE(ui->dialogs.reports,
                 QList<ScriptedDialogs::Shown>(
                     {{u"2件の項目で 4 か所を置換しました。"_s, UserDialogs::boxTitle()}}));
        QCOMPARE(ui->rows(), u"Tel 06-2222[住所]FAX"_s);
        QVERIFY(ui->dataChanged());
        QCOMPARE(ui->previewReloads(), 1);
        QCOMPARE(ui->historyItems(), QStringList{u"元に戻す: 置換"_s});

        ui->trigger("undo_QACommand");
        QCOMPARE(texts(), before);
        QVERIFY(!ui->dataChanged());
        ui->trigger("redo_QACommand");
        QCOMPARE(texts(), after);
    }

    // An entry counts once however many places in it change.
    void targetsAndCaseChooseTheMatches() {
        QAEntryTable entries;
        entries.append({u"ab Ab"_s, u"ab abaa"_s, 1});
        entries.append({u"B"_s, u"ab"_s, 1});
        using enum EntryReplacement::Target;
        const std::tuple<EntryReplacement::Target, Qt::CaseSensitivity, QString> cases[] = {
            {Both, Qt::CaseInsensitive, u"x x/x xaa|B/x 2 5"_s},
            {Both, Qt::CaseSensitive, u"x Ab/x xaa|B/x 2 4"_s},
            {Questions, Qt::CaseInsensitive, u"x x/ab abaa|B/ab 1 2"_s},
            {Answers, Qt::CaseInsensitive, u"ab Ab/x xaa|B/x 2 3"_s}};
        for (const auto& [target, sensitivity, expected] : cases) {
            const Result<EntryReplacement::Outcome> outcome =
                EntryReplacement::apply(entries, {u"ab"_s, u"x"_s, target, sensitivity});
            QStringList shown;
            for (const QAEntry& entry : outcome->entries)
                shown << entry.question + u'/' + entry.answer;
            QCOMPARE(u"%1 %2 %3"_s.arg(shown.join(u'|'))
                         .arg(outcome->changedEntries)
                         .arg(outcome->places),
                     expected);
        }
    }

    // Nothing found, or a result the file could not hold: no change and no
    // step. An empty text cannot be replaced at all.
    void refusedOrFruitlessReplacementChangesNothing() {
        setEntries({{u"q"_s, u"a"_s, 1}, {u"Q2"_s, u"a"_s, 1}});
        const QStringList before = texts();
        replaceIn({u"zzz"_s, u"y"_s});
        ui->trigger("replace_QACommand");
        replaceIn({u"a"_s, u"😀"_s, "AnswerTarget"});
        ui->trigger("replace_QACommand");
        replaceIn({u"a"_s, u"\"x\""_s});
        ui->trigger("replace_QACommand");
        QCOMPARE(texts(), before);
        QVERIFY(!ui->dataChanged());
        QVERIFY(!ui->enabled("undo_QACommand"));
        QCOMPARE(ui->dialogs.beeps, 2);
        QCOMPARE(ui->dialogs.shown,
                 (QStringList{ReplaceCommand::notFoundMessage(u"zzz"_s),
                              u"置換後の文字列の文字「😀」(U+1F600)はbwkファイルに保存できませ"
                              u"ん。\n代わりに &#x1F600; と入力してください（ページではこの文字"
                              u"として表示されます）。"_s,
                              u"置換後の文字列に半角の二重引用符（\"）を含めることはできません。"
                              u"\n代わりに ” か &quot; と入力してください（&quot; はページで \" "
                              u"と表示されます）。"_s}));
        // Questions can hold a double quote.
        replaceIn({u"q"_s, u"\"x\""_s, "QuestionTarget", true});
        ui->trigger("replace_QACommand");
        QCOMPARE(ui->project().entries().item(1).question, u"\"x\""_s);

        bool disabled = false;
        whenOpen<ReplaceForm>([&disabled](ReplaceForm& dialog) {
            child<QLineEdit>(dialog, "ReplaceTextEdit").setText(u"y"_s);
            disabled = !child<QPushButton>(dialog, "ReplaceAllButton").isEnabled();
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        ui->trigger("replace_QACommand");
        QVERIFY(disabled);
    }
};

QTEST_MAIN(ReplaceTest)
#include "tst_replace.moc"
