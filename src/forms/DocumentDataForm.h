#pragma once

#include "design/ProgramFolder.h"
#include "text/Result.h"

#include <QDialog>

class ProjectModel;
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
    DocumentDataForm(ProjectModel& model, UserDialogs& dialogs, ProgramFolder program,
                     QWidget* parent = nullptr);

private:
    void buildControls();
    void layOut();
    void Form_Load();
    void datainfoButton_Click();
    void okButton_Click();
    Status checkStorable() const;
    QString description() const;

    ProjectModel& m_model;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
    // The description as the project holds it and as the editor first
    // showed it: unedited, it is stored back as it was.
    QString m_loadedDescription;
    QString m_shownDescription;
    QLineEdit* PageTitleEdit;
    QLineEdit* CreaterEdit;
    QLineEdit* HomePageEdit;
    QLineEdit* MailEdit;
    QLabel* DocumentCodeEdit;
    QPlainTextEdit* DocumentViewEdit;
    QPushButton* datainfoButton;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
