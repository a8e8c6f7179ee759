#pragma once

#include "project/BwkWriter.h"
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
// and hands back the entry confirmed with OK (確定, or Ctrl+Return from any
// field). Enter presses only a button that has the focus and Esc does
// nothing, so a slip of the key in a field never ends the dialog.
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
    // Whether the field's text can be stored, if need be once the user has
    // let what it cannot hold be replaced by what the page shows the same;
    // if not, the field has the focus at the first such character.
    bool makeStorable(QWidget* edit, BwkWriter::FieldForm form, const QString& name);
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
