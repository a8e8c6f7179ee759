#pragma once

#include "project/QAEntry.h"

#include <QDialog>
#include <optional>

class UserDialogs;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The entry dialog "Q&A設定": one question, its answer and whether the entry
// is enabled. It shows the entry it is given, or empty fields for a new one,
// and hands back the entry confirmed with OK.
class DataProcForm : public QDialog {
    Q_OBJECT

public:
    DataProcForm(UserDialogs& dialogs, const std::optional<QAEntry>& shown,
                 QWidget* parent = nullptr);

    // The entry confirmed, its icon the enabled mark; nothing while the
    // dialog has not been confirmed, and after it was let go.
    const std::optional<QAEntry>& confirmed() const { return m_confirmed; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void okButton_Click();
    void buildControls();
    void placeControls(QWidget* questionLabel, QWidget* answerLabel);

    UserDialogs& m_dialogs;
    std::optional<QAEntry> m_confirmed;
    QLineEdit* QuestionEdit;
    QPlainTextEdit* AnswerEdit;
    QCheckBox* checks_check;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
