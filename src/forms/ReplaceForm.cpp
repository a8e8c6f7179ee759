#include "forms/ReplaceForm.h"

#include "app/ReplaceCommand.h"
#include "forms/FixedDialog.h"
#include "forms/Named.h"
#include "forms/Twips.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

ReplaceForm::ReplaceForm(ReplaceCommand& command, QWidget* parent)
    : QDialog(parent, fixedDialogFlags())
    , m_command(command) {
    setWindowTitle(QStringLiteral("置換"));
    buildControls();
    layOut();
    connect(FindTextEdit, &QLineEdit::textChanged, this, &ReplaceForm::FindTextEdit_Change);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &ReplaceForm::ReplaceAllButton_Click);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    FindTextEdit_Change();
    FindTextEdit->setFocus();
}

void ReplaceForm::buildControls() {
    FindTextEdit = named(new QLineEdit(this), u"FindTextEdit");
    ReplaceTextEdit = named(new QLineEdit(this), u"ReplaceTextEdit");
    for (QLineEdit* edit : {FindTextEdit, ReplaceTextEdit}) {
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setMinimumWidth(Twips::toPixels(4200, this));
    }
    QuestionTarget = named(new QRadioButton(QStringLiteral("質問"), this), u"QuestionTarget");
    AnswerTarget = named(new QRadioButton(QStringLiteral("答え"), this), u"AnswerTarget");
    BothTarget = named(new QRadioButton(QStringLiteral("両方"), this), u"BothTarget");
    BothTarget->setChecked(true);
    MatchCaseCheck =
        named(new QCheckBox(QStringLiteral("大文字と小文字を区別する"), this), u"MatchCaseCheck");
    ReplaceAllButton =
        named(new QPushButton(QStringLiteral("すべて置換"), this), u"ReplaceAllButton");
    CloseButton = named(new QPushButton(QStringLiteral("閉じる"), this), u"CloseButton");
    // Enter replaces, as the dialog's one action; the step can be undone.
    ReplaceAllButton->setDefault(true);
    CloseButton->setAutoDefault(false);
}

void ReplaceForm::layOut() {
    auto caption = [this](const char16_t* text, QWidget* buddy) {
        auto* label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(buddy);
        return label;
    };
    auto* targets = new QGroupBox(QStringLiteral("対象"), this);
    auto* targetRow = new QHBoxLayout(targets);
    for (QRadioButton* target : {QuestionTarget, AnswerTarget, BothTarget})
        targetRow->addWidget(target);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ReplaceAllButton);
    buttons->addWidget(CloseButton);

    auto* grid = new QGridLayout(this);
    grid->addWidget(caption(u"検索する文字列", FindTextEdit), 0, 0);
    grid->addWidget(FindTextEdit, 0, 1);
    grid->addWidget(caption(u"置換後の文字列", ReplaceTextEdit), 1, 0);
    grid->addWidget(ReplaceTextEdit, 1, 1);
    grid->addWidget(targets, 2, 0, 1, 2);
    grid->addWidget(MatchCaseCheck, 3, 0, 1, 2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(FindTextEdit, ReplaceTextEdit);
    setTabOrder(ReplaceTextEdit, QuestionTarget);
    setTabOrder(QuestionTarget, AnswerTarget);
    setTabOrder(AnswerTarget, BothTarget);
    setTabOrder(BothTarget, MatchCaseCheck);
    setTabOrder(MatchCaseCheck, ReplaceAllButton);
    setTabOrder(ReplaceAllButton, CloseButton);
}

EntryReplacement::Request ReplaceForm::request() const {
    using Target = EntryReplacement::Target;
    const Target target = QuestionTarget->isChecked() ? Target::Questions
                          : AnswerTarget->isChecked() ? Target::Answers
                                                      : Target::Both;
    return {FindTextEdit->text(), ReplaceTextEdit->text(), target,
            MatchCaseCheck->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive};
}

void ReplaceForm::FindTextEdit_Change() {
    ReplaceAllButton->setEnabled(!FindTextEdit->text().isEmpty());
}

void ReplaceForm::ReplaceAllButton_Click() {
    if (FindTextEdit->text().isEmpty())
        return;
    m_command.replaceAll(request());
}
