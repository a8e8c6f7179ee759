#pragma once

#include <QDialog>

struct MApp;
class UserDialogs;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The entry dialog "Q&A設定": one question, its answer and whether the entry
// is enabled. It takes its start values from, and hands its result back
// through, the hand-over fields of the program's state.
class DataProcForm : public QDialog {
    Q_OBJECT

public:
    DataProcForm(MApp& app, UserDialogs& dialogs, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void okButton_Click();
    void buildControls();
    void placeControls(QWidget* questionLabel, QWidget* answerLabel);

    MApp& m_app;
    UserDialogs& m_dialogs;
    QLineEdit* QuestionEdit;
    QPlainTextEdit* AnswerEdit;
    QCheckBox* checks_check;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
