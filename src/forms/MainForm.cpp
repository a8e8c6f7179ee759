#include "forms/MainForm.h"

#include "app/FileCommands.h"
#include "app/MApp.h"
#include "app/ProjectModel.h"
#include "app/QuickDocumentSettings.h"
#include "app/UserDialogs.h"
#include "design/HtmlExporter.h"
#include "forms/AboutForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/EntryCommands.h"
#include "forms/IconImageList.h"
#include "forms/Named.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"
#include "project/ClipboardEntry.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTreeView>
#include <QUrl>

namespace {

// A menu item, named after the member that holds it, that runs a handler of
// receiver.
template <typename Receiver>
QAction* menuItem(QMenu* menu, const char16_t* name, const char16_t* caption, Receiver* receiver,
                  void (Receiver::*handler)(), const QKeySequence& shortcut = {}) {
    QAction* action = named(menu->addAction(QString::fromUtf16(caption)), name);
    action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, receiver, handler);
    return action;
}

} // namespace

MainForm::MainForm(MApp& app, UserDialogs& dialogs, ProgramFolder program, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_dialogs(dialogs)
    , m_program(std::move(program))
    , m_projectModel(new ProjectModel(app.project, this))
    , m_tableModel(new QAListModel(*m_projectModel, this)) {
    setWindowIcon(IconImageList::programIcon());
    connect(m_projectModel, &ProjectModel::changed, this, &MainForm::projectChanged);
    buildTable();
    m_entryCommands = new EntryCommands(app, *m_projectModel, *QAListView, dialogs, this);
    buildMenus();
    Form_Load();
}

MainForm::~MainForm() = default;

void MainForm::buildTable() {
    QAListView = named(new QTreeView(this), u"QAListView");
    QAListView->setModel(m_tableModel);
    QAListView->setRootIsDecorated(false);
    QAListView->setItemsExpandable(false);
    QAListView->setUniformRowHeights(true);
    QAListView->setAllColumnsShowFocus(true);
    QAListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    QAListView->setSelectionMode(QAbstractItemView::SingleSelection);
    QAListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QAListView->header()->setStretchLastSection(false);
    QAListView->header()->setSectionsClickable(true);
    QAListView->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setCentralWidget(QAListView);

    connect(QAListView, &QTreeView::doubleClicked, this, &MainForm::reDataEdit);
    connect(QAListView->header(), &QHeaderView::sectionClicked, this,
            [this] { fitAnswerColumn(60); });
}

void MainForm::buildMenus() {
    buildFileMenu();
    buildProjectMenu();
    buildQACommandMenu();
    buildHelpMenu();
}

void MainForm::buildFileMenu() {
    FileMenu = named(menuBar()->addMenu(QStringLiteral("ファイル(&F)")), u"FileMenu");
    NewData_FileMenu = menuItem(FileMenu, u"NewData_FileMenu", u"新規作成", this,
                                &MainForm::NewData_FileMenu_Click);
    FileSave_FileName = menuItem(FileMenu, u"FileSave_FileName", u"名前を付けて保存", this,
                                 &MainForm::FileSave_FileName_Click);
    FileUpSave_FileMenu = menuItem(FileMenu, u"FileUpSave_FileMenu", u"上書き保存", this,
                                   &MainForm::FileUpSave_FileMenu_Click);
    FileOpen_FileMenu = menuItem(FileMenu, u"FileOpen_FileMenu", u"ファイルを開く", this,
                                 &MainForm::FileOpen_FileMenu_Click);
    FileMenu->addSeparator();
    html_FileMenu = menuItem(FileMenu, u"html_FileMenu", u"HTML出力", this,
                             &MainForm::html_FileMenu_Click, Qt::Key_F2);
    FileMenu->addSeparator();
    end_FileMenu =
        menuItem(FileMenu, u"end_FileMenu", u"終了", this, &MainForm::end_FileMenu_Click);
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
                             &EntryCommands::add, QKeySequence(QStringLiteral("Ctrl+A")));
    edit_QACommand = menuItem(QACommandMenu, u"edit_QACommand", u"編集", commands,
                              &EntryCommands::edit, QKeySequence(QStringLiteral("Ctrl+E")));
    delete_QACommand =
        menuItem(QACommandMenu, u"delete_QACommand", u"削除", commands, &EntryCommands::remove);
    QACommandMenu->addSeparator();
    sort_QACommand =
        menuItem(QACommandMenu, u"sort_QACommand", u"ソート", commands, &EntryCommands::sort);
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
    m_app.DocumentViewOpen = false;
    PostSBar = named(new QLabel(QStringLiteral("Hollowfen 2026"), this), u"PostSBar");
    statusBar()->addWidget(PostSBar);
    statusBar()->setSizeGripEnabled(true);

    // The client area (below the menu bar) is 6705 x 3615 twips at first.
    const int clientWidth = Twips::toPixels(6705, this);
    resize(clientWidth, Twips::toPixels(3615, this) + menuBar()->sizeHint().height());
    // The table spans the client width; the layout places it there once the
    // window is shown, so the widths are computed from that width already.
    QAListView->resize(clientWidth, QAListView->height());
    QAListView->setColumnWidth(QAListModel::QuestionColumn, clientWidth / 2);
    fitAnswerColumn(60);

    DocumentInfo start = m_projectModel->document();
    start.DocumentHomepage = QStringLiteral("http://");
    start.DocumentCode = DocumentInfo::noDesignCode();
    m_projectModel->setDocument(start, ProjectModel::Marking::Unmodified);
    m_app.DataChanged = false;
    updateCaption();
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

void MainForm::closeEvent(QCloseEvent* event) {
    if (m_app.DataChanged &&
        m_dialogs.askYesNo(QStringLiteral("まだ、保存されていない情報がありますが保存しますか？"),
                           UserDialogs::boxTitle())) {
        FileUpSave_FileMenu_Click();
        // The user asked to keep the work: when it was not saved (the dialog
        // was cancelled, the disk refused), the program stays open with it.
        if (m_app.DataChanged) {
            event->ignore();
            return;
        }
    }
    event->accept();
    QApplication::closeAllWindows();
}

void MainForm::projectChanged(const ProjectChange& change) {
    if (!change.modifies())
        return;
    m_app.DataChanged = true;
    if (!m_previewHeld)
        refreshPreview();
}

void MainForm::refreshPreview() {
    if (m_app.DocumentViewOpen)
        emit previewOutdated();
}

void MainForm::QACommandMenu_Click() {
    const bool hasEntries = !m_projectModel->entries().isEmpty();
    for (QAction* action : {Copy_QACommand, Cut_QACommand, edit_QACommand, delete_QACommand})
        action->setEnabled(hasEntries);
    Paste_QACommand->setEnabled(ClipboardEntry::hasTag(QGuiApplication::clipboard()->text()));
}

void MainForm::reDataEdit() {
    m_entryCommands->edit();
}

void MainForm::updateCaption() {
    setWindowTitle(FileCommands::caption(m_app));
}

FileCommands MainForm::fileCommands() {
    return FileCommands(m_app, *m_projectModel, m_dialogs);
}

void MainForm::afterProjectReplaced() {
    m_entryCommands->setCurrentPosition(1);
    updateCaption();
}

void MainForm::NewData_FileMenu_Click() {
    if (fileCommands().newProject())
        afterProjectReplaced();
}

void MainForm::FileOpen_FileMenu_Click() {
    if (fileCommands().open())
        afterProjectReplaced();
}

void MainForm::FileSave_FileName_Click() {
    fileCommands().saveAs();
    updateCaption();
}

void MainForm::FileUpSave_FileMenu_Click() {
    fileCommands().overwriteSave();
    updateCaption();
}

void MainForm::html_FileMenu_Click() {
    const HtmlExporter exporter(m_projectModel->project(), m_program);
    const Result<QString> page = exporter.render();
    if (!page) {
        m_dialogs.beep();
        m_dialogs.report(page.error(), UserDialogs::boxTitle());
        return;
    }
    const UserDialogs::FileChoice choice =
        m_dialogs.chooseFileToSave(QStringLiteral("B.W.K.Folder"));
    if (choice.cancelled())
        return;
    if (const Result<QString> written = exporter.write(*page, choice.fileName); !written) {
        m_dialogs.beep();
        m_dialogs.report(QStringLiteral("html出力ができませんでした。\n\n") + written.error(),
                         UserDialogs::boxTitle());
        return;
    }
    m_dialogs.beep();
    m_dialogs.report(HtmlExporter::doneMessage(), UserDialogs::boxTitle());
}

DocumentViewForm& MainForm::documentView() {
    if (!m_documentView) {
        m_documentView = new DocumentViewForm(m_app, m_program, this);
        connect(this, &MainForm::previewOutdated, m_documentView, &DocumentViewForm::reload);
    }
    return *m_documentView;
}

void MainForm::Document_ProjectMenu_Click() {
    // The preview shows what the dialog changed once it has closed, and is
    // rebuilt then whichever button closed it.
    {
        const QScopedValueRollback hold(m_previewHeld, true);
        DocumentDataForm settings(*m_projectModel, m_dialogs, m_program, this);
        settings.exec();
    }
    refreshPreview();
}

void MainForm::DocumentView_ProjectMenu_Click() {
    if (!m_projectModel->document().isCompleteForPage()) {
        m_dialogs.beep();
        m_dialogs.report(DocumentViewForm::preconditionMessage(), UserDialogs::boxTitle());
        return;
    }
    DocumentViewForm& view = documentView();
    view.build();
    m_app.DocumentViewOpen = true;
    if (view.isVisible()) {
        // An open preview keeps what it shows until it is reloaded.
        view.raise();
        view.activateWindow();
        return;
    }
    view.show();
    view.navigate();
}

void MainForm::AutoDocument_ProjectMenu_Click() {
    // This question carries the program's name as its title.
    if (!m_dialogs.askYesNo(QuickDocumentSettings::confirmation(), QString()))
        return;
    DocumentInfo filled = m_projectModel->document();
    QuickDocumentSettings::apply(filled, m_program);
    m_projectModel->setDocument(filled, ProjectModel::Marking::Unmodified);
}

void MainForm::Help_HelpMenu_Click() {
    // Whether a browser could be started is not reported, as with any link.
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_program.helpStartPage()));
}

void MainForm::HollowfenHP_HelpMenu_Click() {
    QDesktopServices::openUrl(QUrl(AboutForm::homepageAddress()));
}

void MainForm::AboutShow_HelpMenu_Click() {
    AboutForm about(this);
    about.exec();
}
