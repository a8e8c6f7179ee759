#include "forms/MainForm.h"

#include "project/ClipboardEntry.h"
#include "app/MApp.h"
#include "app/UserDialogs.h"
#include "design/HtmlExporter.h"
#include "app/QuickDocumentSettings.h"
#include "forms/AboutForm.h"
#include "forms/DocumentDataForm.h"
#include "forms/DocumentViewForm.h"
#include "forms/EntryCommands.h"
#include "forms/IconImageList.h"
#include "forms/PreviewReloader.h"
#include "forms/QAListModel.h"
#include "forms/Twips.h"
#include "app/FileCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeView>
#include <QUrl>

MainForm::MainForm(MApp& app, UserDialogs& dialogs, ProgramFolder program, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_dialogs(dialogs)
    , m_program(std::move(program))
    , m_model(new QAListModel(app, this)) {
    setWindowIcon(IconImageList::programIcon());
    buildTable();
    m_entryCommands = new EntryCommands(
        app, *m_model, *QAListView, dialogs, [this] { announceChange(); }, this);
    buildMenus();
    Form_Load();
}

MainForm::~MainForm() = default;

void MainForm::buildTable() {
    QAListView = new QTreeView(this);
    QAListView->setObjectName(QStringLiteral("QAListView"));
    QAListView->setModel(m_model);
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
    // A menu item that runs a handler of the given object.
    auto bound = [](QMenu* menu, const char16_t* caption, auto* receiver, auto handler,
                    const QKeySequence& shortcut) {
        QAction* action = menu->addAction(QString::fromUtf16(caption));
        action->setShortcut(shortcut);
        QObject::connect(action, &QAction::triggered, receiver, handler);
        return action;
    };
    auto item = [&](QMenu* menu, const char16_t* caption, void (MainForm::*handler)(),
                    const QKeySequence& shortcut = {}) {
        return bound(menu, caption, this, handler, shortcut);
    };
    auto command = [&](QMenu* menu, const char16_t* caption, void (EntryCommands::*handler)(),
                       const QKeySequence& shortcut = {}) {
        return bound(menu, caption, m_entryCommands, handler, shortcut);
    };

    FileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    NewData_FileMenu = item(FileMenu, u"新規作成", &MainForm::NewData_FileMenu_Click);
    FileSave_FileName = item(FileMenu, u"名前を付けて保存", &MainForm::FileSave_FileName_Click);
    FileUpSave_FileMenu = item(FileMenu, u"上書き保存", &MainForm::FileUpSave_FileMenu_Click);
    FileOpen_FileMenu = item(FileMenu, u"ファイルを開く", &MainForm::FileOpen_FileMenu_Click);
    FileMenu->addSeparator();
    html_FileMenu = item(FileMenu, u"HTML出力", &MainForm::html_FileMenu_Click, Qt::Key_F2);
    FileMenu->addSeparator();
    end_FileMenu = item(FileMenu, u"終了", &MainForm::end_FileMenu_Click);

    ProjectMenu = menuBar()->addMenu(QStringLiteral("プロジェクト(&P)"));
    Document_ProjectMenu =
        item(ProjectMenu, u"ドキュメント設定", &MainForm::Document_ProjectMenu_Click);
    ProjectMenu->addSeparator();
    DocumentView_ProjectMenu =
        item(ProjectMenu, u"ドキュメントビュー", &MainForm::DocumentView_ProjectMenu_Click);
    AutoDocument_ProjectMenu =
        item(ProjectMenu, u"簡易自動ドキュメント設定", &MainForm::AutoDocument_ProjectMenu_Click);

    QACommandMenu = menuBar()->addMenu(QStringLiteral("Q.Aコマンド"));
    connect(QACommandMenu, &QMenu::aboutToShow, this, &MainForm::QACommandMenu_Click);
    new_QACommand = command(QACommandMenu, u"初期化", &EntryCommands::clearTable);
    QACommandMenu->addSeparator();
    Copy_QACommand = command(QACommandMenu, u"コピー", &EntryCommands::copy);
    Cut_QACommand = command(QACommandMenu, u"切り取り", &EntryCommands::cut);
    Paste_QACommand = command(QACommandMenu, u"貼り付け", &EntryCommands::paste);
    QACommandMenu->addSeparator();
    add_QACommand = command(QACommandMenu, u"追加", &EntryCommands::add,
                            QKeySequence(QStringLiteral("Ctrl+A")));
    edit_QACommand = command(QACommandMenu, u"編集", &EntryCommands::edit,
                             QKeySequence(QStringLiteral("Ctrl+E")));
    delete_QACommand = command(QACommandMenu, u"削除", &EntryCommands::remove);
    QACommandMenu->addSeparator();
    sort_QACommand = command(QACommandMenu, u"ソート", &EntryCommands::sort);

    HelpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    Help_HelpMenu = item(HelpMenu, u"B.W.Kヘルプ", &MainForm::Help_HelpMenu_Click);
    HelpMenu->addSeparator();
    HollowfenHP_HelpMenu =
        item(HelpMenu, u"Hollowfen.HP を開く", &MainForm::HollowfenHP_HelpMenu_Click);
    HelpMenu->addSeparator();
    AboutShow_HelpMenu = item(HelpMenu, u"バージョン情報", &MainForm::AboutShow_HelpMenu_Click);
}

void MainForm::Form_Load() {
    m_app.DocumentViewOpen = false;
    PostSBar = new QLabel(QStringLiteral("Hollowfen 2026"), this);
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

    m_app.document().DocumentHomepage = QStringLiteral("http://");
    m_app.document().DocumentCode = DocumentInfo::noDesignCode();
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

void MainForm::announceChange() {
    m_app.DataChanged = true;
    if (m_app.DocumentViewOpen && m_preview)
        m_preview->reload();
}

void MainForm::QACommandMenu_Click() {
    const bool hasEntries = !m_app.entries().isEmpty();
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

void MainForm::afterProjectReplaced() {
    m_model->reloadAll();
    m_entryCommands->setCurrentPosition(1);
    updateCaption();
}

void MainForm::NewData_FileMenu_Click() {
    if (FileCommands(m_app, m_dialogs).newProject())
        afterProjectReplaced();
}

void MainForm::FileOpen_FileMenu_Click() {
    if (FileCommands(m_app, m_dialogs).open())
        afterProjectReplaced();
}

void MainForm::FileSave_FileName_Click() {
    FileCommands(m_app, m_dialogs).saveAs();
    updateCaption();
}

void MainForm::FileUpSave_FileMenu_Click() {
    FileCommands(m_app, m_dialogs).overwriteSave();
    updateCaption();
}

void MainForm::html_FileMenu_Click() {
    const HtmlExporter exporter(m_app.project, m_program);
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
        if (!m_preview)
            m_preview = m_documentView;
    }
    return *m_documentView;
}

void MainForm::Document_ProjectMenu_Click() {
    DocumentDataForm settings(m_app, m_dialogs, m_program, this);
    settings.exec();
    if (m_app.DocumentViewOpen && m_preview)
        m_preview->reload();
}

void MainForm::DocumentView_ProjectMenu_Click() {
    if (!m_app.document().isCompleteForPage()) {
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
    QuickDocumentSettings::apply(m_app.document(), m_program);
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
