#include "forms/DataProcForm.h"

#include "app/UserDialogs.h"
#include "forms/FixedDialog.h"
#include "forms/Named.h"
#include "forms/Twips.h"
#include "project/BwkWriter.h"
#include "text/LineEnds.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <limits>

namespace {

QString textOf(const QWidget* edit) {
    if (const auto* line = qobject_cast<const QLineEdit*>(edit))
        return line->text();
    return static_cast<const QPlainTextEdit*>(edit)->toPlainText();
}

// Replaces the whole text as one change that the field's own undo takes
// back.
void replaceTextOf(QWidget* edit, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        line->selectAll();
        line->insert(text);
        return;
    }
    QTextCursor cursor(static_cast<QPlainTextEdit*>(edit)->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
}

// Gives the field the focus with the cursor before the character at index.
void showCharacterAt(QWidget* edit, qsizetype index) {
    edit->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(edit)) {
        line->setCursorPosition(int(index));
        return;
    }
    auto* text = static_cast<QPlainTextEdit*>(edit);
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(int(index));
    text->setTextCursor(cursor);
}

} // namespace

DataProcForm::DataProcForm(UserDialogs& dialogs, const std::optional<QAEntry>& shown,
                           QWidget* parent)
    : QDialog(parent, fixedDialogFlags())
    , m_dialogs(dialogs) {
    buildControls();
    if (shown) {
        QuestionEdit->setText(shown->question);
        AnswerEdit->setPlainText(LineEnds::toLf(shown->answer));
        checks_check->setChecked(shown->isEnabled());
    }
    QuestionEdit->setFocus();
}

void DataProcForm::buildControls() {
    setWindowTitle(QStringLiteral("Q&A設定"));
    setFixedSize(Twips::toPixels(5910, this), Twips::toPixels(2550, this));

    auto* questionLabel = new QLabel(QStringLiteral("Question"), this);
    QuestionEdit = named(new QLineEdit(this), u"QuestionEdit");
    // A question read from a file may be longer than Qt's default limit;
    // it is never cut.
    QuestionEdit->setMaxLength(std::numeric_limits<int>::max());
    auto* answerLabel = new QLabel(QStringLiteral("Answer"), this);
    AnswerEdit = named(new QPlainTextEdit(this), u"AnswerEdit");
    AnswerEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AnswerEdit->setTabChangesFocus(true);
    checks_check =
        named(new QCheckBox(QStringLiteral("この項目を有効項目にする"), this), u"checks_check");
    checks_check->setChecked(true);
    okButton = named(new QPushButton(QStringLiteral("確定"), this), u"okButton");
    cancelButton = named(new QPushButton(QStringLiteral("キャンセル"), this), u"cancelButton");
    // Neither button is the default: Enter in a field must not end the
    // dialog.
    for (QPushButton* button : {okButton, cancelButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    // Ctrl+Return confirms from any field, and in the answer does not break
    // the line.
    auto* confirm = new QShortcut(this);
    confirm->setKeys(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    connect(confirm, &QShortcut::activated, okButton, &QPushButton::click);
    questionLabel->setBuddy(QuestionEdit);
    answerLabel->setBuddy(AnswerEdit);
    placeControls(questionLabel, answerLabel);

    setTabOrder(QuestionEdit, AnswerEdit);
    setTabOrder(AnswerEdit, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, checks_check);

    connect(okButton, &QPushButton::clicked, this, &DataProcForm::okButton_Click);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void DataProcForm::placeControls(QWidget* questionLabel, QWidget* answerLabel) {
    Twips::place(questionLabel, {120, 60, 5670, 255});
    Twips::place(QuestionEdit, {120, 315, 5670, 330});
    Twips::place(answerLabel, {120, 720, 5670, 255});
    Twips::place(AnswerEdit, {120, 975, 5670, 1005});
    Twips::place(checks_check, {120, 2085, 3180, 330});
    Twips::place(okButton, {3420, 2070, 1125, 375});
    Twips::place(cancelButton, {4665, 2070, 1125, 375});
}

void DataProcForm::keyPressEvent(QKeyEvent* event) {
    // Esc does not close the dialog either; only the buttons and the close
    // box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Enter presses the button that has the focus, as it does on Windows;
    // from anywhere else it does nothing.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool DataProcForm::makeStorable(QWidget* edit, BwkWriter::FieldForm form, const QString& name) {
    const QString text = textOf(edit);
    const Status storable = BwkWriter::checkField(text, form, name);
    if (storable)
        return true;
    m_dialogs.beep();
    if (const std::optional<QString> standIns = BwkWriter::withStandIns(text, form)) {
        const QString offer =
            QStringLiteral("\n\n%1の保存できない文字をすべて、ページで同じ文字として表示"
                           "される &quot; や &#x...; の形に置き換えますか？"
                           "（いいえを押すと入力欄に戻ります）")
                .arg(name);
        if (m_dialogs.askYesNo(storable.error() + offer, UserDialogs::boxTitle())) {
            replaceTextOf(edit, *standIns);
            return true;
        }
    } else {
        m_dialogs.report(storable.error(), UserDialogs::boxTitle());
    }
    showCharacterAt(edit, BwkWriter::findUnstorable(text, form).value_or(0));
    return false;
}

void DataProcForm::okButton_Click() {
    if (QuestionEdit->text().isEmpty() || AnswerEdit->toPlainText().isEmpty()) {
        if (m_dialogs.askYesNo(QStringLiteral("値は編集されていません。それでも終了しますか？"),
                               UserDialogs::boxTitle()))
            reject();
        return;
    }
    // Text the project file cannot hold is pointed out here, where it was
    // typed, and not only at the next save.
    using Form = BwkWriter::FieldForm;
    if (!makeStorable(QuestionEdit, Form::Line, QStringLiteral("質問")) ||
        !makeStorable(AnswerEdit, Form::Quoted, QStringLiteral("答え")))
        return;
    const QString question = QuestionEdit->text();
    const QString answer = LineEnds::toCrLf(AnswerEdit->toPlainText());
    m_confirmed =
        QAEntry{question, answer,
                checks_check->isChecked() ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon};
    accept();
}
