#pragma once

#include "design/DesignRoot.h"
#include "design/ProgramFolder.h"
#include "project/DocumentInfo.h"

#include <QDialog>

class ProjectModel;
class UserDialogs;
class QComboBox;
class QLabel;
class QPushButton;

// The design selection dialog "DocumentCode": lists the installed designs by
// their display names, shows the description of the one selected, and on
// "確定" records it as the chosen design.
//
// A design that cannot be read closes the dialog with a message, and the
// dialog ends as Failed. Each handler reads the designs afresh.
class DocumentCodeForm : public QDialog {
    Q_OBJECT

public:
    DocumentCodeForm(ProjectModel& model, UserDialogs& dialogs, ProgramFolder program,
                     QWidget* parent = nullptr);

    // How the dialog ended: what exec() gives and result() keeps.
    enum Outcome { Cancelled = QDialog::Rejected, Chosen = QDialog::Accepted, Failed };

    static QString creditText();

    // Shows the dialog modally unless loading already failed; the Outcome.
    int exec() override;

private:
    void buildControls();
    void Form_Load();
    void DocumentCodeCombo_Click();
    void okButton_Click();
    void fail(const QString& message);
    void failKeeping(const DocumentInfo& chosenBefore);
    bool canReadDesignFile(const DesignRoot::Design& design) const;
    // The installed designs, each with at least this many procode lines;
    // otherwise the dialog fails with the given message.
    std::optional<QList<DesignRoot::Design>> readDesigns(qsizetype procodeLines,
                                                         const QString& failure);

    ProjectModel& m_model;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
    QComboBox* DocumentCodeCombo;
    QLabel* ProData;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
