#pragma once

#include "text/Result.h"

#include "design/ProgramFolder.h"

#include <QDialog>

struct MApp;
class UserDialogs;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The document settings dialog "ドキュメント設定": the page title, author,
// homepage and mail addresses, description, and the chosen design, which is
// picked in the design selection dialog behind "...".
class DocumentDataForm : public QDialog {
    Q_OBJECT

public:
    DocumentDataForm(MApp& app, UserDialogs& dialogs, ProgramFolder program,
                     QWidget* parent = nullptr);

    QLineEdit* PageTitleEdit;
    QLineEdit* CreaterEdit;
    QLineEdit* HomePageEdit;
    QLineEdit* MailEdit;
    QLabel* DocumentCodeEdit;
    QPlainTextEdit* DocumentViewEdit;
    QPushButton* datainfoButton;
    QPushButton* okButton;
    QPushButton* cancelButton;

private:
    void Form_Load();
    void datainfoButton_Click();
    void okButton_Click();
    Status checkStorable() const;
    QString description() const;

    MApp& m_app;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
};
