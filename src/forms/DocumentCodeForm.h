#pragma once

#include "design/DesignCatalog.h"
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
// A design that cannot be read closes the dialog with a message; failed()
// then tells the caller. Each handler reads the designs afresh.
class DocumentCodeForm : public QDialog {
    Q_OBJECT

public:
    DocumentCodeForm(ProjectModel& model, UserDialogs& dialogs, ProgramFolder program,
                     QWidget* parent = nullptr);

    static QString creditText();

    // Whether the dialog closed because a design could not be read.
    bool failed() const { return m_failed; }

    // Shows the dialog modally unless loading already failed.
    int exec() override;

private:
    void buildControls();
    void Form_Load();
    void DocumentCodeCombo_Click();
    void okButton_Click();
    void fail(const QString& message);
    void failKeeping(const DocumentInfo& chosenBefore);
    bool canReadDesignFile(const DesignCatalog::Design& design) const;
    // The installed designs, each with at least this many procode lines;
    // otherwise the dialog fails with the given message.
    std::optional<QList<DesignCatalog::Design>> readDesigns(qsizetype procodeLines,
                                                            const QString& failure);

    ProjectModel& m_model;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
    bool m_failed = false;
    QComboBox* DocumentCodeCombo;
    QLabel* ProData;
    QPushButton* okButton;
    QPushButton* cancelButton;
};
