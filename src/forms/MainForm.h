#pragma once

#include "design/ProgramFolder.h"

#include <QMainWindow>

struct MApp;
class DocumentViewForm;
class EntryCommands;
class PreviewReloader;
class QAListModel;
class QAction;
class QLabel;
class QMenu;
class QTreeView;
class UserDialogs;

// The main window: the entry table, the menus and the status bar. It owns the
// program's start values and its end, and hands the menu commands to the
// objects that carry them out.
class MainForm : public QMainWindow {
    Q_OBJECT

public:
    MainForm(MApp& app, UserDialogs& dialogs, ProgramFolder program, QWidget* parent = nullptr);
    ~MainForm() override;

    // The preview to rebuild after changes, in place of the preview window.
    void setPreviewReloader(PreviewReloader* preview) { m_preview = preview; }
    // The preview window, made when first needed.
    DocumentViewForm& documentView();

    // Marks the project changed and rebuilds an open preview.
    void announceChange();

    EntryCommands& entryCommands() { return *m_entryCommands; }
    QAListModel& model() { return *m_model; }

    QTreeView* QAListView;
    QLabel* PostSBar;

    QMenu* FileMenu;
    QAction* NewData_FileMenu;
    QAction* FileSave_FileName;
    QAction* FileUpSave_FileMenu;
    QAction* FileOpen_FileMenu;
    QAction* html_FileMenu;
    QAction* end_FileMenu;
    QMenu* ProjectMenu;
    QAction* Document_ProjectMenu;
    QAction* DocumentView_ProjectMenu;
    QAction* AutoDocument_ProjectMenu;
    QMenu* QACommandMenu;
    QAction* new_QACommand;
    QAction* Copy_QACommand;
    QAction* Cut_QACommand;
    QAction* Paste_QACommand;
    QAction* add_QACommand;
    QAction* edit_QACommand;
    QAction* delete_QACommand;
    QAction* sort_QACommand;
    QMenu* HelpMenu;
    QAction* Help_HelpMenu;
    QAction* HollowfenHP_HelpMenu;
    QAction* AboutShow_HelpMenu;

    // The enabling rule of the "Q.Aコマンド" menu, run each time it opens.
    void QACommandMenu_Click();
    // Column 2 takes the rest of the table's width less the given twips.
    void fitAnswerColumn(int marginTwips);

    void reDataEdit();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void buildMenus();
    void buildTable();
    void afterProjectReplaced();
    void updateCaption();

    void end_FileMenu_Click() { close(); }
    void NewData_FileMenu_Click();
    void FileOpen_FileMenu_Click();
    void FileSave_FileName_Click();
    void FileUpSave_FileMenu_Click();
    void html_FileMenu_Click();

    void Document_ProjectMenu_Click();
    void DocumentView_ProjectMenu_Click();
    void AutoDocument_ProjectMenu_Click();
    void Help_HelpMenu_Click();
    void HollowfenHP_HelpMenu_Click();
    void AboutShow_HelpMenu_Click();

    MApp& m_app;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
    QAListModel* m_model;
    EntryCommands* m_entryCommands;
    PreviewReloader* m_preview = nullptr;
    DocumentViewForm* m_documentView = nullptr;
};
