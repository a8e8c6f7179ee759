#pragma once

#include "app/EntryEditor.h"
#include "app/ProjectWindows.h"
#include "app/TableCursor.h"
#include "design/ProgramFolder.h"

#include <QKeySequence>
#include <QMainWindow>
#include <memory>

class CrashRecovery;
class CsvCommands;
class DocumentViewForm;
class EntryCommands;
class EntryFilter;
class FileCommands;
class PreviewUpdates;
class ProjectCommands;
class ProjectHistory;
class ProjectLock;
class ProjectModel;
class QAFilterBar;
class QAFilterModel;
class QAListModel;
class QAction;
class QLabel;
class QMenu;
class QTreeView;
class RecentFilesMenu;
class RecoveryStore;
class UserDialogs;

// The main window: the entry table, the menus and the status bar. It builds
// the menus and hands each item to the command object of its menu, shows the
// dialogs and the preview those ask for, and follows what they leave: the
// caption shows the file and whether the history counts the project
// unsaved, and the menu items can be chosen when their commands can act.
class MainForm : public QMainWindow,
                 private TableCursor,
                 private EntryEditor,
                 private ProjectWindows {
    Q_OBJECT

public:
    MainForm(UserDialogs& dialogs, ProgramFolder program, QWidget* parent = nullptr);
    ~MainForm() override;

    // The name its place is kept under in the user's settings.
    static QString placeName() { return QStringLiteral("MainForm"); }

    // Where a window keeps its recovery copy and marks the file it has open.
    struct StateFolders {
        QString recovery;
        QString openFiles;
        static StateFolders ofUser();
    };

    MainForm(UserDialogs& dialogs, ProgramFolder program, const StateFolders& folders,
             QWidget* parent = nullptr);

    // Opens a project named on the command line; a file that cannot be read
    // is reported and leaves the empty project.
    void openAtStart(const QString& path);
    // Offers the projects that windows left unsaved when they ended; one
    // that the user takes back replaces the empty project.
    void offerRecovery();

    // The preview window, made when first needed.
    DocumentViewForm& documentView();
    // The project, and every change of it.
    ProjectModel& projectModel() { return *m_projectModel; }
    ProjectHistory& projectHistory() { return *m_history; }
    CrashRecovery& crashRecovery() { return *m_crashRecovery; }
    FileCommands& fileCommands() { return *m_fileCommands; }
    EntryCommands& entryCommands() { return *m_entryCommands; }

signals:
    // The project the preview shows has changed; an open preview rebuilds
    // itself.
    void previewOutdated();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The windows the commands ask for.
    int currentRow() const override;
    void setCurrentRow(int row) override;
    std::optional<QAEntry> editEntry(const std::optional<QAEntry>& shown) override;
    void editDocumentSettings() override;
    void showPreview() override;

    void Form_Load();
    void buildTable();
    void buildFindBar();
    void buildMenus();
    void buildFileMenu();
    void buildProjectMenu();
    void buildQACommandMenu();
    void buildHelpMenu();
    void updateCaption();
    // Column 2 takes the rest of the table's width less the given twips.
    void fitAnswerColumn(int marginTwips);

    // The enabling rule of the "Q.Aコマンド" menu, run when it opens; its
    // parts run after every change of the table or its current row, and of
    // the clipboard.
    void QACommandMenu_Click();
    void updateEntryItems();
    void updatePasteItem();
    // The table shows the entries the query leaves, its current entry in
    // sight; the status bar counts them.
    void filterTable(const QString& query);
    void updateEntryCount();
    // The enabling rule of the "ファイル" menu, run when it opens, after each
    // of its commands, and when the window becomes active (an exported
    // folder may have gone).
    void FileMenu_Click();
    void reDataEdit();
    void end_FileMenu_Click() { close(); }
    void NewData_FileMenu_Click();
    void FileOpen_FileMenu_Click();
    void FileSave_FileName_Click();
    void FileUpSave_FileMenu_Click();
    void html_FileMenu_Click();
    void htmlAgain_FileMenu_Click();
    void CsvImport_FileMenu_Click();
    void CsvExport_FileMenu_Click();
    void RecentFiles_FileMenu_Click(const QString& path);
    void undo_QACommand_Click();
    void redo_QACommand_Click();
    void find_QACommand_Click();
    void replace_QACommand_Click();
    void Document_ProjectMenu_Click();
    void DocumentView_ProjectMenu_Click();
    void AutoDocument_ProjectMenu_Click();
    void Help_HelpMenu_Click();
    void HollowfenHP_HelpMenu_Click();
    void AboutShow_HelpMenu_Click();

    UserDialogs& m_dialogs;
    ProgramFolder m_program;
    ProjectModel* m_projectModel;
    QAListModel* m_tableModel;
    EntryFilter* m_entryFilter = nullptr;
    QAFilterModel* m_filterModel = nullptr;
    ProjectHistory* m_history;
    PreviewUpdates* m_previewUpdates;
    std::unique_ptr<ProjectLock> m_lock;
    std::unique_ptr<RecoveryStore> m_recoveryStore;
    FileCommands* m_fileCommands;
    ProjectCommands* m_projectCommands;
    EntryCommands* m_entryCommands;
    CrashRecovery* m_crashRecovery;
    std::unique_ptr<CsvCommands> m_csvCommands;
    DocumentViewForm* m_documentView = nullptr;

    QAFilterBar* FindBar = nullptr;
    QTreeView* QAListView = nullptr;
    QLabel* PostSBar = nullptr;
    QLabel* EntryCountLabel = nullptr;
    QMenu* FileMenu = nullptr;
    QAction* NewData_FileMenu = nullptr;
    QAction* FileSave_FileName = nullptr;
    QAction* FileUpSave_FileMenu = nullptr;
    QAction* FileOpen_FileMenu = nullptr;
    QAction* html_FileMenu = nullptr;
    QAction* end_FileMenu = nullptr;
    QAction* htmlAgain_FileMenu = nullptr;
    QAction* CsvImport_FileMenu = nullptr;
    QAction* CsvExport_FileMenu = nullptr;
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
    QAction* find_QACommand = nullptr;
    QAction* replace_QACommand = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* Help_HelpMenu = nullptr;
    QAction* HollowfenHP_HelpMenu = nullptr;
    QAction* AboutShow_HelpMenu = nullptr;
};
