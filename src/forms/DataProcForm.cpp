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
#include <limits>

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
    // Neither button is pressed by Enter: a slip of the key must not end the
    // dialog.
    for (QPushButton* button : {okButton, cancelButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
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
    QDialog::keyPressEvent(event);
}

void DataProcForm::okButton_Click() {
    const QString question = QuestionEdit->text();
    const QString answer = LineEnds::toCrLf(AnswerEdit->toPlainText());
    if (question.isEmpty() || answer.isEmpty()) {
        if (m_dialogs.askYesNo(QStringLiteral("値は編集されていません。それでも終了しますか？"),
                               UserDialogs::boxTitle()))
            reject();
        return;
    }
    // Text the project file cannot hold is pointed out here, where it was
    // typed, and not only at the next save.
    if (const Status storable = BwkWriter::checkEntry({question, answer}); !storable) {
        m_dialogs.beep();
        m_dialogs.report(storable.error(), UserDialogs::boxTitle());
        return;
    }
    m_confirmed =
        QAEntry{question, answer,
                checks_check->isChecked() ? QAEntry::kEnabledIcon : QAEntry::kDisabledIcon};
    accept();
}
