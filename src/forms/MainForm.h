#pragma once

#include "design/ProgramFolder.h"

#include <QKeySequence>
#include <QMainWindow>
#include <memory>

struct MApp;
struct ProjectChange;
class CrashRecovery;
class DocumentViewForm;
class EntryCommands;
class ExportCommands;
class FileCommands;
class ProjectHistory;
class ProjectLock;
class ProjectModel;
class QAListModel;
class QAction;
class QLabel;
class QMenu;
class QTreeView;
class RecentFilesMenu;
class RecoveryStore;
class UserDialogs;

// The main window: the entry table, the menus and the status bar. It owns the
// program's start values and its end, hands the menu commands to the objects
// that carry them out, and follows every change of the project: the caption
// shows whether the history counts it unsaved, and an open preview is
// rebuilt.
class MainForm : public QMainWindow {
    Q_OBJECT

public:
    MainForm(MApp& app, UserDialogs& dialogs, ProgramFolder program, QWidget* parent = nullptr);
    ~MainForm() override;

    // The name its place is kept under in the user's settings.
    static QString placeName() { return QStringLiteral("MainForm"); }

    // Where a window keeps its recovery copy and marks the file it has open.
    struct StateFolders {
        QString recovery;
        QString openFiles;
        static StateFolders ofUser();
    };

    MainForm(MApp& app, UserDialogs& dialogs, ProgramFolder program, const StateFolders& folders,
             QWidget* parent = nullptr);

    // Opens a project named on the command line; a file that cannot be read
    // is reported and leaves the empty project.
    void openAtStart(const QString& path);
    // Offers the projects that windows left unsaved when they ended; one
    // that the user takes back replaces the empty project.
    void offerRecovery();

    // The preview window, made when first needed.
    DocumentViewForm& documentView();
    // Every change of the project goes through this model.
    ProjectModel& projectModel() { return *m_projectModel; }
    ProjectHistory& projectHistory() { return *m_history; }
    CrashRecovery& crashRecovery() { return *m_crashRecovery; }
    EntryCommands& entryCommands() { return *m_entryCommands; }

signals:
    // The open preview no longer shows the project and is to be rebuilt.
    void previewOutdated();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Form_Load();
    void buildTable();
    void buildMenus();
    void buildFileMenu();
    void buildProjectMenu();
    void buildQACommandMenu();
    void buildHelpMenu();
    void projectChanged(const ProjectChange& change);
    void refreshPreview();
    FileCommands fileCommands();
    ExportCommands exportCommands();
    void afterProjectReplaced();
    void afterSave();
    void updateCaption();
    // Column 2 takes the rest of the table's width less the given twips.
    void fitAnswerColumn(int marginTwips);
    void replayHistory(void (ProjectHistory::*step)());
    void historyReplayed(qsizetype position);

    // The enabling rule of the "Q.Aコマンド" menu, run when it opens; its
    // parts run after every change of the table or its current row, and of
    // the clipboard.
    void QACommandMenu_Click();
    void updateEntryItems();
    void updatePasteItem();
    // The enabling rule of the "ファイル" menu, run when it opens and when
    // the window becomes active (an exported folder may have gone).
    void FileMenu_Click();
    void reDataEdit();
    void end_FileMenu_Click() { close(); }
    void NewData_FileMenu_Click();
    void FileOpen_FileMenu_Click();
    void FileSave_FileName_Click();
    void FileUpSave_FileMenu_Click();
    void html_FileMenu_Click();
    void htmlAgain_FileMenu_Click();
    void RecentFiles_FileMenu_Click(const QString& path);
    void undo_QACommand_Click();
    void redo_QACommand_Click();
    void Document_ProjectMenu_Click();
    void DocumentView_ProjectMenu_Click();
    void AutoDocument_ProjectMenu_Click();
    void Help_HelpMenu_Click();
    void HollowfenHP_HelpMenu_Click();
    void AboutShow_HelpMenu_Click();

    MApp& m_app;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
    ProjectModel* m_projectModel;
    QAListModel* m_tableModel;
    ProjectHistory* m_history;
    std::unique_ptr<ProjectLock> m_lock;
    std::unique_ptr<RecoveryStore> m_recoveryStore;
    CrashRecovery* m_crashRecovery;
    EntryCommands* m_entryCommands = nullptr;
    DocumentViewForm* m_documentView = nullptr;
    // While the settings dialog is open or a step is undone, the changes
    // wait for it to finish.
    bool m_previewHeld = false;

    QTreeView* QAListView = nullptr;
    QLabel* PostSBar = nullptr;
    QMenu* FileMenu = nullptr;
    QAction* NewData_FileMenu = nullptr;
    QAction* FileSave_FileName = nullptr;
    QAction* FileUpSave_FileMenu = nullptr;
    QAction* FileOpen_FileMenu = nullptr;
    QAction* html_FileMenu = nullptr;
    QAction* end_FileMenu = nullptr;
    QAction* htmlAgain_FileMenu = nullptr;
    RecentFilesMenu* RecentFiles_FileMenu = nullptr;
    QMenu* ProjectMenu = nullptr;
    QAction* Document_ProjectMenu = nullptr;
    QAction* DocumentView_ProjectMenu = nullptr;
    QAction* AutoDocument_ProjectMenu = nullptr;
    QMenu* QACommandMenu = nullptr;
    QAction* new_QACommand = nullptr;
    QAction* Copy_QACommand = nullptr;
    QAction* Cut_QACommand = nullptr;
    QAction* Paste_QACommand = nullptr;
    QAction* add_QACommand = nullptr;
    QAction* edit_QACommand = nullptr;
    QAction* delete_QACommand = nullptr;
    QAction* sort_QACommand = nullptr;
    QAction* up_QACommand = nullptr;
    QAction* down_QACommand = nullptr;
    QAction* undo_QACommand = nullptr;
    QAction* redo_QACommand = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* Help_HelpMenu = nullptr;
    QAction* HollowfenHP_HelpMenu = nullptr;
    QAction* AboutShow_HelpMenu = nullptr;
};
