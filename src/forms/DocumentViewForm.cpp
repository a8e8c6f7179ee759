#include "forms/DocumentViewForm.h"

#include "app/ProjectCommands.h"
#include "app/ProjectModel.h"
#include "design/PageChanges.h"
#include "design/PageSourceCopy.h"
#include "design/PreviewBuilder.h"
#include "forms/Named.h"
#include "forms/PageSourceWindow.h"
#include "forms/PreviewPageScript.h"
#include "forms/PreviewProfile.h"
#include "forms/PreviewScheme.h"
#include "forms/TextEditorLauncher.h"
#include "forms/Twips.h"
#include "forms/WindowPlace.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {

constexpr int kButtonRowTwips = 375;
// How long a restored page is given to take its reader's place: checks a
// frame apart.
constexpr int kSettlingChecks = 60;
constexpr int kSettlingInterval = 16;

bool isWritableFolder(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString noticePage(const QString& notice) {
    return QStringLiteral("<!DOCTYPE html><html lang=\"ja\"><head><meta charset=\"UTF-8\">"
                          "<style>body{font-family:sans-serif;margin:2em;color:#333}"
                          "p{max-width:40em;line-height:1.7}</style></head><body>"
                          "<h1 style=\"font-size:1.2em\">プレビューを表示できません</h1><p>") +
           notice.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")) +
           QStringLiteral("</p></body></html>");
}

} // namespace

DocumentViewForm::DocumentViewForm(const ProjectModel& model, ProgramFolder program,
                                   QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_model(model)
    , m_program(std::move(program))
    , m_previewFolder(previewFolderFor(m_program))
    , m_editor(new TextEditorLauncher(this))
    , m_profile(new PreviewProfile(m_previewFolder, this)) {
    setWindowTitle(QStringLiteral("ドキュメントビュー"));
    PushButton = named(new QPushButton(QStringLiteral("更新"), this), u"PushButton");
    ShowButton = named(new QPushButton(QStringLiteral("▼"), this), u"ShowButton");
    WebBrowserCtrl = named(new QWebEngineView(this), u"WebBrowserCtrl");
    WebBrowserCtrl->setPage(new QWebEnginePage(m_profile, WebBrowserCtrl));
    WebBrowserCtrl->page()->scripts().insert(PreviewPageScript::helper());
    resize(Twips::toPixels(5145, this), Twips::toPixels(4425, this));
    const int row = Twips::toPixels(kButtonRowTwips, this);
    PushButton->setGeometry(0, 0, width() - row, row);
    ShowButton->setGeometry(PushButton->width(), 0, row, row);
    WebBrowserCtrl->setGeometry(0, Twips::toPixels(360, this), width(), height() - row);
    m_placed = WindowPlace::restore(*this, placeName());

    connect(PushButton, &QPushButton::clicked, this, &DocumentViewForm::PushButton_Click);
    connect(ShowButton, &QPushButton::clicked, this, &DocumentViewForm::ShowButton_Click);
    // Without an editor the page itself is shown, not the copy the editor
    // would have had.
    connect(m_editor, &TextEditorLauncher::noEditor, this,
            [this] { (new PageSourceWindow(pagePath(), this))->show(); });
    connect(WebBrowserCtrl, &QWebEngineView::loadFinished, this, &DocumentViewForm::pageLoaded);
}

DocumentViewForm::~DocumentViewForm() {
    // The page goes before the profile it was made with, and answers to
    // what was asked of it find no window.
    m_closing = true;
    delete WebBrowserCtrl;
}

QString DocumentViewForm::previewFolderFor(const ProgramFolder& program) {
    if (isWritableFolder(program.previewFolder()))
        return program.previewFolder();
    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                    QStringLiteral("/default");
    QDir().mkpath(cache);
    return cache;
}

QString DocumentViewForm::pagePath() const {
    return m_previewFolder + u'/' + PreviewBuilder::pageFileName();
}

void DocumentViewForm::open() {
    build();
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    if (!m_placed)
        placeBesideMainWindow();
    m_placed = true;
    show();
    navigate();
}

void DocumentViewForm::projectChanged() {
    if (isVisible())
        reload();
}

bool DocumentViewForm::build() {
    // Said as the menu command refuses to open the preview.
    if (const Status ready =
            m_model.document().checkForPage(ProjectCommands::previewPreconditionMessage());
        !ready) {
        m_notice = ready.error();
        return false;
    }
    const Result<QString> page =
        PreviewBuilder(m_model.project(), m_program).build(m_previewFolder);
    if (!page) {
        m_notice = page.error();
        return false;
    }
    m_notice.clear();
    return true;
}

void DocumentViewForm::reload() {
    if (!build()) {
        showNotice(m_notice);
        return;
    }
    if (!updateInPlace())
        reloadKeepingState();
}

bool DocumentViewForm::updateInPlace() {
    if (!m_pageShown || !m_shownPage)
        return false;
    PreviewBuilder::Built built = PreviewBuilder::readBack(m_previewFolder);
    if (built.resources != m_shownResources)
        return false;
    auto next = std::make_unique<PageOutline>(std::move(built.page));
    const std::optional<std::vector<PageChanges::Region>> changes =
        PageChanges::between(*m_shownPage, *next);
    if (!changes)
        return false;
    m_shownPage = std::move(next);
    if (changes->empty()) {
        QMetaObject::invokeMethod(
            this, [this] { emit loadFinished(true); }, Qt::QueuedConnection);
        return true;
    }
    WebBrowserCtrl->page()->runJavaScript(PreviewPageScript::update(*changes),
                                          PreviewPageScript::kWorld,
                                          [this](const QVariant& result) {
                                              if (m_closing)
                                                  return;
                                              if (result.toString() == QStringLiteral("updated"))
                                                  emit loadFinished(true);
                                              else
                                                  reloadKeepingState();
                                          });
    return true;
}

void DocumentViewForm::reloadKeepingState() {
    // Asked already: the page loads once the answer is in.
    if (m_askingState)
        return;
    if (!m_pageShown) {
        navigate();
        return;
    }
    m_pageShown = false;
    m_askingState = true;
    WebBrowserCtrl->page()->runJavaScript(PreviewPageScript::state(), PreviewPageScript::kWorld,
                                          [this](const QVariant& saved) {
                                              if (m_closing)
                                                  return;
                                              m_askingState = false;
                                              m_pendingState = saved.toString();
                                              navigate();
                                          });
}

void DocumentViewForm::navigate() {
    if (!m_notice.isEmpty()) {
        showNotice(m_notice);
        return;
    }
    m_pageShown = false;
    PreviewBuilder::Built built = PreviewBuilder::readBack(m_previewFolder);
    m_shownPage = std::make_unique<PageOutline>(std::move(built.page));
    m_shownResources = built.resources;
    WebBrowserCtrl->setUrl(PreviewScheme::urlOf(PreviewBuilder::pageFileName()));
}

void DocumentViewForm::pageLoaded(bool ok) {
    m_pageShown =
        ok && m_shownPage &&
        WebBrowserCtrl->url().scheme() == QString::fromLatin1(PreviewScheme::schemeName());
    if (!m_pageShown) {
        emit loadFinished(ok);
        return;
    }
    QWebEnginePage* page = WebBrowserCtrl->page();
    if (m_pendingState.isEmpty())
        emit loadFinished(ok);
    else
        page->runJavaScript(PreviewPageScript::restore(std::exchange(m_pendingState, {})),
                            PreviewPageScript::kWorld, [this](const QVariant&) {
                                if (!m_closing)
                                    finishWhenSettled(kSettlingChecks);
                            });
    page->runJavaScript(PreviewPageScript::remember(*m_shownPage), PreviewPageScript::kWorld);
}

void DocumentViewForm::finishWhenSettled(int checksLeft) {
    WebBrowserCtrl->page()->runJavaScript(
        PreviewPageScript::settled(), PreviewPageScript::kWorld,
        [this, checksLeft](const QVariant& settled) {
            if (m_closing)
                return;
            if (settled.toBool() || checksLeft <= 0)
                emit loadFinished(true);
            else
                QTimer::singleShot(kSettlingInterval, this,
                                   [this, checksLeft] { finishWhenSettled(checksLeft - 1); });
        });
}

void DocumentViewForm::showNotice(const QString& notice) {
    m_pageShown = false;
    m_shownPage.reset();
    m_pendingState.clear();
    WebBrowserCtrl->setHtml(noticePage(notice));
}

void DocumentViewForm::PushButton_Click() {
    // Edits saved in the editor's copy are shown, as they would be had the
    // editor changed the page itself; the next rebuild writes it anew.
    if (const Result<bool> written = PageSourceCopy::writeBack(pagePath()); !written) {
        showNotice(written.error());
        return;
    }
    navigate();
}

void DocumentViewForm::ShowButton_Click() {
    // The editor gets a UTF-8 copy: one that guesses UTF-8 garbles the
    // page's code page 932.
    const Result<QString> copy = PageSourceCopy::write(pagePath());
    if (copy)
        m_editor->open(*copy);
    else
        (new PageSourceWindow(pagePath(), this))->show();
}

void DocumentViewForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void DocumentViewForm::layOut() {
    const int row = Twips::toPixels(kButtonRowTwips, this);
    if (isMinimized() || width() <= row || height() <= row)
        return;
    WebBrowserCtrl->resize(width(), height() - row);
    PushButton->resize(width() - row, PushButton->height());
    ShowButton->move(PushButton->width(), ShowButton->y());
}

void DocumentViewForm::placeBesideMainWindow() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner || !owner->isVisible())
        return;
    // The desktop's frame around a window, as it has put it around the
    // main window.
    const QSize frame = owner->frameGeometry().size() - owner->geometry().size();
    QRect menuBar;
    if (const auto* bar = owner->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly))
        menuBar = QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    const QRect place = WindowPlace::beside(owner->frameGeometry(), size() + frame,
                                            owner->screen()->availableGeometry(), menuBar);
    resize(place.size() - frame);
    move(place.topLeft());
}

void DocumentViewForm::closeEvent(QCloseEvent* event) {
    WindowPlace::save(*this, placeName());
    QWidget::closeEvent(event);
}
