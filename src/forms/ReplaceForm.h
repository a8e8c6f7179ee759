#pragma once

#include "project/EntryReplacement.h"

#include <QDialog>

class ReplaceCommand;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The replace dialog "置換": a text, what replaces it, in which fields and
// whether case matters. "すべて置換" changes every entry at once and may be
// pressed again; "閉じる" and Esc close the dialog.
class ReplaceForm : public QDialog {
    Q_OBJECT

public:
    explicit ReplaceForm(ReplaceCommand& command, QWidget* parent = nullptr);

    // What the fields ask for now.
    EntryReplacement::Request request() const;

private:
    void buildControls();
    void layOut();
    void ReplaceAllButton_Click();
    void FindTextEdit_Change();

    ReplaceCommand& m_command;
    QLineEdit* FindTextEdit;
    QLineEdit* ReplaceTextEdit;
    QRadioButton* QuestionTarget;
    QRadioButton* AnswerTarget;
    QRadioButton* BothTarget;
    QCheckBox* MatchCaseCheck;
    QPushButton* ReplaceAllButton;
    QPushButton* CloseButton;
};
