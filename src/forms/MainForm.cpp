#include "forms/MainForm.h"

#include "app/CrashRecovery.h"
#include "app/CsvCommands.h"
#include "app/EntryCommands.h"
#include "app/EntryFilter.h"
#include "app/FileCommands.h"
#include "app/PreviewUpdates.h"
#include "app/ProjectCommands.h"
#include "app/ProjectHistory.h"
#include "app/ProjectLock.h"
#include "app/ProjectModel.h"
#include "app/RecoveryStore.h"
#include "app/ReplaceCommand.h"
#include "app/UserDialogs.h"
#include "forms/AboutForm.h"
#include "forms/BrowserPages.h"
#include "forms/DataProcForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/IconImageList.h"
#include "forms/Named.h"
#include "forms/QAFilterBar.h"
#include "forms/QAFilterModel.h"
#include "forms/QAListModel.h"
#include "forms/RecentFilesMenu.h"
#include "forms/ReplaceForm.h"
#include "forms/Twips.h"
#include "forms/WindowPlace.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace {

using Keys = QList<QKeySequence>;

// A menu item, named after the member that holds it, that runs a handler of
// receiver. The first key is the one the menu shows.
template <typename Receiver>
QAction* menuItem(QMenu* menu, const char16_t* name, const char16_t* caption, Receiver* receiver,
                  void (Receiver::*handler)(), const Keys& shortcuts = {}) {
    QAction* action = named(menu->addAction(QString::fromUtf16(caption)), name);
    action->setShortcuts(shortcuts);
    QObject::connect(action, &QAction::triggered, receiver, handler);
    return action;
}

// The keys desktop users reach for first, then whatever else the desktop
// binds to the same command.
Keys keys(Keys first, QKeySequence::StandardKey standard) {
    for (const QKeySequence& bound : QKeySequence::keyBindings(standard)) {
        if (!first.contains(bound))
            first.append(bound);
    }
    return first;
}

} // namespace

MainForm::StateFolders MainForm::StateFolders::ofUser() {
    return {RecoveryStore::defaultFolder(), ProjectLock::defaultFolder()};
}

MainForm::MainForm(UserDialogs& dialogs, ProgramFolder program, QWidget* parent)
    : MainForm(dialogs, std::move(program), StateFolders::ofUser(), parent) {}

MainForm::MainForm(UserDialogs& dialogs, ProgramFolder program, const StateFolders& folders,
                   QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_program(std::move(program))
    , m_projectModel(new ProjectModel({}, this))
    , m_tableModel(new QAListModel(*m_projectModel, this))
    , m_history(new ProjectHistory(*m_projectModel, this))
    , m_previewUpdates(new PreviewUpdates(*m_projectModel, this))
    , m_lock(std::make_unique<ProjectLock>(folders.openFiles))
    , m_recoveryStore(std::make_unique<RecoveryStore>(folders.recovery))
    , m_fileCommands(
          new FileCommands(*m_projectModel, *m_history, *m_lock, dialogs, m_program, this))
    , m_projectCommands(new ProjectCommands(*m_projectModel, *m_history, *m_previewUpdates, *this,
                                            dialogs, m_program, this))
    , m_entryCommands(new EntryCommands(*m_projectModel, *m_history, *m_previewUpdates, *this,
                                        *this, dialogs, this))
    , m_crashRecovery(new CrashRecovery(*m_recoveryStore, *m_projectModel, *m_history,
                                        m_fileCommands->file(), this))
    , m_csvCommands(std::make_unique<CsvCommands>(*m_projectModel, *m_history,
                                                  static_cast<TableCursor&>(*this), dialogs)) {
    setWindowIcon(IconImageList::programIcon());
    connect(m_projectModel, &ProjectModel::changed, this, &MainForm::updateEntryItems);
    connect(m_history, &ProjectHistory::cleanChanged, this, &MainForm::updateCaption);
    connect(m_previewUpdates, &PreviewUpdates::outdated, this, &MainForm::previewOutdated);
    // A project opened or started is shown whole.
    connect(m_fileCommands, &FileCommands::projectReplaced, this, [this] {
        FindBar->clear();
        m_entryCommands->setCurrentPosition(1);
    });
    connect(m_fileCommands, &FileCommands::finished, this, [this] {
        updateCaption();
        FileMenu_Click();
    });
    buildTable();
    connect(m_tableModel, &QAListModel::entryDropped, m_entryCommands, &EntryCommands::moveTo);
    buildMenus();
    Form_Load();
}

// The recovery copy is written while the store exists.
MainForm::~MainForm() {
    delete m_crashRecovery;
}

void MainForm::buildTable() {
    m_entryFilter = new EntryFilter(*m_projectModel, this);
    m_filterModel = new QAFilterModel(*m_tableModel, *m_entryFilter, this);
    QAListView = named(new QTreeView(this), u"QAListView");
    QAListView->setModel(m_filterModel);
    QAListView->setRootIsDecorated(false);
    QAListView->setItemsExpandable(false);
    QAListView->setUniformRowHeights(true);
    QAListView->setAllColumnsShowFocus(true);
    QAListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    QAListView->setSelectionMode(QAbstractItemView::SingleSelection);
    QAListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QAListView->setDragDropMode(QAbstractItemView::InternalMove);
    QAListView->setDefaultDropAction(Qt::MoveAction);
    QAListView->header()->setStretchLastSection(false);
    QAListView->header()->setSectionsClickable(true);
    QAListView->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The table sits below the search field, whose layout may size it after
    // the window has had its own resize: column 2 follows the table itself.
    QAListView->installEventFilter(this);
    buildFindBar();

    connect(QAListView, &QTreeView::doubleClicked, this, &MainForm::reDataEdit);
    connect(QAListView->header(), &QHeaderView::sectionClicked, this,
            [this] { fitAnswerColumn(60); });
}

// The search field above the table; the table keeps the window's width.
void MainForm::buildFindBar() {
    FindBar = named(new QAFilterBar(this), u"FindBar");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FindBar);
    layout->addWidget(QAListView);
    setCentralWidget(central);
    connect(FindBar, &QAFilterBar::queryChanged, this, &MainForm::filterTable);
    connect(FindBar, &QAFilterBar::entryChosen, this, [this] { edit_QACommand->trigger(); });
    connect(FindBar, &QAFilterBar::tableWanted, this, [this] { QAListView->setFocus(); });
}

void MainForm::buildMenus() {
    buildFileMenu();
    buildProjectMenu();
    buildQACommandMenu();
    buildHelpMenu();
}

void MainForm::buildFileMenu() {
    FileMenu = named(menuBar()->addMenu(QStringLiteral("ファイル(&F)")), u"FileMenu");
    connect(FileMenu, &QMenu::aboutToShow, this, &MainForm::FileMenu_Click);
    NewData_FileMenu = menuItem(FileMenu, u"NewData_FileMenu", u"新規作成", this,
                                &MainForm::NewData_FileMenu_Click,
                                keys({Qt::CTRL | Qt::Key_N}, QKeySequence::New));
    FileSave_FileName = menuItem(FileMenu, u"FileSave_FileName", u"名前を付けて保存", this,
                                 &MainForm::FileSave_FileName_Click,
                                 keys({Qt::CTRL | Qt::SHIFT | Qt::Key_S}, QKeySequence::SaveAs));
    FileUpSave_FileMenu = menuItem(FileMenu, u"FileUpSave_FileMenu", u"上書き保存", this,
                                   &MainForm::FileUpSave_FileMenu_Click,
                                   keys({Qt::CTRL | Qt::Key_S}, QKeySequence::Save));
    FileOpen_FileMenu = menuItem(FileMenu, u"FileOpen_FileMenu", u"ファイルを開く", this,
                                 &MainForm::FileOpen_FileMenu_Click,
                                 keys({Qt::CTRL | Qt::Key_O}, QKeySequence::Open));
    FileMenu->addSeparator();
    html_FileMenu = menuItem(FileMenu, u"html_FileMenu", u"HTML出力", this,
                             &MainForm::html_FileMenu_Click, {Qt::Key_F2});
    htmlAgain_FileMenu =
        menuItem(FileMenu, u"htmlAgain_FileMenu", u"前回のフォルダへHTML出力", this,
                 &MainForm::htmlAgain_FileMenu_Click, {Qt::SHIFT | Qt::Key_F2});
    FileMenu->addSeparator();
    CsvImport_FileMenu = menuItem(FileMenu, u"CsvImport_FileMenu", u"CSVから読み込み...", this,
                                  &MainForm::CsvImport_FileMenu_Click);
    CsvExport_FileMenu = menuItem(FileMenu, u"CsvExport_FileMenu", u"CSVに書き出し...", this,
                                  &MainForm::CsvExport_FileMenu_Click);
    FileMenu->addSeparator();
    RecentFiles_FileMenu = named(new RecentFilesMenu(FileMenu), u"RecentFiles_FileMenu");
    FileMenu->addMenu(RecentFiles_FileMenu);
    connect(RecentFiles_FileMenu, &RecentFilesMenu::fileChosen, this,
            &MainForm::RecentFiles_FileMenu_Click);
    FileMenu->addSeparator();
    end_FileMenu = menuItem(FileMenu, u"end_FileMenu", u"終了", this, &MainForm::end_FileMenu_Click,
                            keys({Qt::CTRL | Qt::Key_Q}, QKeySequence::Quit));
}

void MainForm::buildProjectMenu() {
    ProjectMenu = named(menuBar()->addMenu(QStringLiteral("プロジェクト(&P)")), u"ProjectMenu");
    Document_ProjectMenu = menuItem(ProjectMenu, u"Document_ProjectMenu", u"ドキュメント設定", this,
                                    &MainForm::Document_ProjectMenu_Click);
    ProjectMenu->addSeparator();
    DocumentView_ProjectMenu =
        menuItem(ProjectMenu, u"DocumentView_ProjectMenu", u"ドキュメントビュー", this,
                 &MainForm::DocumentView_ProjectMenu_Click);
    AutoDocument_ProjectMenu =
        menuItem(ProjectMenu, u"AutoDocument_ProjectMenu", u"簡易自動ドキュメント設定", this,
                 &MainForm::AutoDocument_ProjectMenu_Click);
}

void MainForm::buildQACommandMenu() {
    QACommandMenu = named(menuBar()->addMenu(QStringLiteral("Q.Aコマンド")), u"QACommandMenu");
    connect(QACommandMenu, &QMenu::aboutToShow, this, &MainForm::QACommandMenu_Click);
    EntryCommands* commands = m_entryCommands;
    new_QACommand =
        menuItem(QACommandMenu, u"new_QACommand", u"初期化", commands, &EntryCommands::clearTable);
    QACommandMenu->addSeparator();
    Copy_QACommand =
        menuItem(QACommandMenu, u"Copy_QACommand", u"コピー", commands, &EntryCommands::copy);
    Cut_QACommand =
        menuItem(QACommandMenu, u"Cut_QACommand", u"切り取り", commands, &EntryCommands::cut);
    Paste_QACommand =
        menuItem(QACommandMenu, u"Paste_QACommand", u"貼り付け", commands, &EntryCommands::paste);
    QACommandMenu->addSeparator();
    add_QACommand = menuItem(QACommandMenu, u"add_QACommand", u"追加", commands,
                             &EntryCommands::add, {Qt::CTRL | Qt::Key_A});
    // The table is all the window holds, so Enter and Delete act on its
    // current row.
    edit_QACommand =
        menuItem(QACommandMenu, u"edit_QACommand", u"編集", commands, &EntryCommands::edit,
                 {Qt::CTRL | Qt::Key_E, Qt::Key_Return, Qt::Key_Enter});
    delete_QACommand = menuItem(QACommandMenu, u"delete_QACommand", u"削除", commands,
                                &EntryCommands::remove, {Qt::Key_Delete});
    QACommandMenu->addSeparator();
    sort_QACommand =
        menuItem(QACommandMenu, u"sort_QACommand", u"ソート", commands, &EntryCommands::sort);
    QACommandMenu->addSeparator();
    up_QACommand = menuItem(QACommandMenu, u"up_QACommand", u"上へ移動", commands,
                            &EntryCommands::moveUp, {Qt::ALT | Qt::Key_Up});
    down_QACommand = menuItem(QACommandMenu, u"down_QACommand", u"下へ移動", commands,
                              &EntryCommands::moveDown, {Qt::ALT | Qt::Key_Down});
    QACommandMenu->addSeparator();
    undo_QACommand =
        menuItem(QACommandMenu, u"undo_QACommand", u"元に戻す", this,
                 &MainForm::undo_QACommand_Click, keys({Qt::CTRL | Qt::Key_Z}, QKeySequence::Undo));
    redo_QACommand = menuItem(
        QACommandMenu, u"redo_QACommand", u"やり直し", this, &MainForm::redo_QACommand_Click,
        keys({Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}, QKeySequence::Redo));
    QACommandMenu->addSeparator();
    find_QACommand =
        menuItem(QACommandMenu, u"find_QACommand", u"検索", this, &MainForm::find_QACommand_Click,
                 keys({Qt::CTRL | Qt::Key_F}, QKeySequence::Find));
    replace_QACommand = menuItem(QACommandMenu, u"replace_QACommand", u"置換...", this,
                                 &MainForm::replace_QACommand_Click,
                                 keys({Qt::CTRL | Qt::Key_H}, QKeySequence::Replace));
    m_history->bindUndoAction(undo_QACommand);
    m_history->bindRedoAction(redo_QACommand);
    // Reading the clipboard may wait for the program that holds it, so it
    // is read when it changes, not after every change of the table.
    connect(QAListView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainForm::updateEntryItems);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &MainForm::updatePasteItem);
}

void MainForm::buildHelpMenu() {
    HelpMenu = named(menuBar()->addMenu(QStringLiteral("ヘルプ(&H)")), u"HelpMenu");
    Help_HelpMenu =
        menuItem(HelpMenu, u"Help_HelpMenu", u"B.W.Kヘルプ", this, &MainForm::Help_HelpMenu_Click);
    HelpMenu->addSeparator();
    HollowfenHP_HelpMenu = menuItem(HelpMenu, u"HollowfenHP_HelpMenu", u"Hollowfen.HP を開く", this,
                                    &MainForm::HollowfenHP_HelpMenu_Click);
    HelpMenu->addSeparator();
    AboutShow_HelpMenu = menuItem(HelpMenu, u"AboutShow_HelpMenu", u"バージョン情報", this,
                                  &MainForm::AboutShow_HelpMenu_Click);
}

void MainForm::Form_Load() {
    PostSBar = named(new QLabel(QStringLiteral("Hollowfen 2026"), this), u"PostSBar");
    statusBar()->addWidget(PostSBar);
    EntryCountLabel = named(new QLabel(this), u"EntryCountLabel");
    statusBar()->addPermanentWidget(EntryCountLabel);
    connect(m_projectModel, &ProjectModel::changed, this, &MainForm::updateEntryCount);
    connect(m_filterModel, &QAFilterModel::rowsInserted, this, &MainForm::updateEntryCount);
    connect(m_filterModel, &QAFilterModel::rowsRemoved, this, &MainForm::updateEntryCount);
    connect(m_filterModel, &QAFilterModel::layoutChanged, this, &MainForm::updateEntryCount);
    updateEntryCount();
    statusBar()->setSizeGripEnabled(true);

    // The client area (below the menu bar) is 6705 x 3615 twips at first.
    const int clientWidth = Twips::toPixels(6705, this);
    resize(clientWidth, Twips::toPixels(3615, this) + menuBar()->sizeHint().height() +
                            FindBar->sizeHint().height());
    // The table spans the client width; the layout places it there once the
    // window is shown, so the widths are computed from that width already.
    QAListView->resize(clientWidth, QAListView->height());
    QAListView->setColumnWidth(QAListModel::QuestionColumn, clientWidth / 2);
    fitAnswerColumn(60);
    QAListView->setFocus();
    WindowPlace::restore(*this, placeName());

    updateCaption();
    QACommandMenu_Click();
    FileMenu_Click();
}

void MainForm::fitAnswerColumn(int marginTwips) {
    const int tableWidth = QAListView->width();
    const int questionWidth = QAListView->columnWidth(QAListModel::QuestionColumn);
    QAListView->setColumnWidth(
        QAListModel::AnswerColumn,
        std::max(0, tableWidth - questionWidth - Twips::toPixels(marginTwips, this)));
}

void MainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    // The layout has placed the table over the client area less the status
    // bar; only column 2 follows the window.
    fitAnswerColumn(70);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QAListView && event->type() == QEvent::Resize && !isMinimized())
        fitAnswerColumn(70);
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FileMenu_Click();
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (!m_fileCommands->mayClose()) {
        event->ignore();
        return;
    }
    // Whatever was not saved, the user chose to let go: the recovery copy
    // goes with the window.
    event->accept();
    WindowPlace::save(*this, placeName());
    QApplication::closeAllWindows();
}

void MainForm::QACommandMenu_Click() {
    updateEntryItems();
    updatePasteItem();
}

// While the user searches, the commands act on the rows in sight, and
// entries stay where they are: their neighbours are hidden.
void MainForm::updateEntryItems() {
    for (QAction* action : {Copy_QACommand, Cut_QACommand, edit_QACommand, delete_QACommand})
        action->setEnabled(m_filterModel->rowCount() > 0);
    const bool mayMove = !m_entryFilter->isActive();
    up_QACommand->setEnabled(mayMove && m_entryCommands->canMoveUp());
    down_QACommand->setEnabled(mayMove && m_entryCommands->canMoveDown());
}

void MainForm::updatePasteItem() {
    Paste_QACommand->setEnabled(EntryCommands::canPaste());
}

void MainForm::filterTable(const QString& query) {
    m_entryFilter->setQuery(query);
    // The current entry stays current while shown; else the first row is.
    if (!QAListView->currentIndex().isValid())
        QAListView->setCurrentIndex(m_filterModel->index(0, 0));
    QAListView->scrollTo(QAListView->currentIndex());
    updateEntryItems();
}

void MainForm::updateEntryCount() {
    EntryCountLabel->setText(m_filterModel->countText());
}

void MainForm::FileMenu_Click() {
    htmlAgain_FileMenu->setEnabled(m_fileCommands->exports().canExportAgain());
    htmlAgain_FileMenu->setStatusTip(m_fileCommands->exports().lastFolder());
    RecentFiles_FileMenu->refresh();
}

void MainForm::reDataEdit() {
    m_entryCommands->edit();
}

void MainForm::updateCaption() {
    setWindowTitle(FileCommands::caption(m_fileCommands->file()));
    setWindowModified(m_history->DataChanged());
}

void MainForm::openAtStart(const QString& path) {
    m_fileCommands->openFile(path);
}

void MainForm::offerRecovery() {
    m_fileCommands->offerRecovery(*m_recoveryStore);
}

void MainForm::NewData_FileMenu_Click() {
    m_fileCommands->newProject();
}

void MainForm::FileOpen_FileMenu_Click() {
    m_fileCommands->open();
}

void MainForm::RecentFiles_FileMenu_Click(const QString& path) {
    m_fileCommands->openRecent(path);
}

void MainForm::FileSave_FileName_Click() {
    m_fileCommands->saveAs();
}

void MainForm::FileUpSave_FileMenu_Click() {
    m_fileCommands->overwriteSave();
}

void MainForm::html_FileMenu_Click() {
    m_fileCommands->exportPage();
}

void MainForm::htmlAgain_FileMenu_Click() {
    m_fileCommands->exportAgain();
}

void MainForm::CsvImport_FileMenu_Click() {
    m_csvCommands->importEntries();
}

void MainForm::CsvExport_FileMenu_Click() {
    m_csvCommands->exportEntries();
}

void MainForm::undo_QACommand_Click() {
    m_entryCommands->undo();
}

void MainForm::redo_QACommand_Click() {
    m_entryCommands->redo();
}

void MainForm::find_QACommand_Click() {
    FindBar->focusQuery();
}

void MainForm::replace_QACommand_Click() {
    ReplaceCommand command(*m_projectModel, *m_history, *this, m_dialogs);
    ReplaceForm replace(command, this);
    replace.exec();
}

void MainForm::Document_ProjectMenu_Click() {
    m_projectCommands->editDocument();
}

void MainForm::DocumentView_ProjectMenu_Click() {
    m_projectCommands->showPreview();
}

void MainForm::AutoDocument_ProjectMenu_Click() {
    m_projectCommands->fillDocument();
}

void MainForm::Help_HelpMenu_Click() {
    BrowserPages::open(QUrl::fromLocalFile(m_program.helpStartPage()), m_dialogs);
}

void MainForm::HollowfenHP_HelpMenu_Click() {
    BrowserPages::open(QUrl(AboutForm::homepageAddress()), m_dialogs);
}

void MainForm::AboutShow_HelpMenu_Click() {
    AboutForm about(this);
    about.exec();
}

// Rows here are the project's; the view shows some of them while the user
// searches. The first row in sight stands in for a lost current row.
int MainForm::currentRow() const {
    const QModelIndex current = QAListView->currentIndex();
    return int(m_filterModel->positionOf(current.isValid() ? current.row() : 0)) - 1;
}

// Entries a command adds or changes are in sight; after a delete or a sort
// the nearest row in sight is current.
void MainForm::setCurrentRow(int row) {
    const QModelIndex index = m_filterModel->index(m_filterModel->nearestRowOf(row + 1), 0);
    QAListView->setCurrentIndex(index);
    QAListView->scrollTo(index);
}

std::optional<QAEntry> MainForm::editEntry(const std::optional<QAEntry>& shown) {
    DataProcForm dialog(m_dialogs, shown, this);
    dialog.exec();
    return dialog.confirmed();
}

void MainForm::editDocumentSettings() {
    DocumentDataForm settings(*m_projectModel, m_dialogs, m_program, this);
    settings.exec();
}

DocumentViewForm& MainForm::documentView() {
    if (!m_documentView) {
        m_documentView = new DocumentViewForm(*m_projectModel, m_program, this);
        connect(this, &MainForm::previewOutdated, m_documentView,
                &DocumentViewForm::projectChanged);
    }
    return *m_documentView;
}

void MainForm::showPreview() {
    documentView().open();
}
