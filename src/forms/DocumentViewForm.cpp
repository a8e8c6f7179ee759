#include "forms/DocumentViewForm.h"

#include "app/ProjectCommands.h"
#include "app/ProjectModel.h"
#include "design/PageSourceCopy.h"
#include "design/PreviewBuilder.h"
#include "forms/Named.h"
#include "forms/PageSourceWindow.h"
#include "forms/PreviewProfile.h"
#include "forms/PreviewScheme.h"
#include "forms/TextEditorLauncher.h"
#include "forms/Twips.h"
#include "forms/WindowPlace.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int kButtonRowTwips = 375;

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
    resize(Twips::toPixels(5145, this), Twips::toPixels(4425, this));
    const int row = Twips::toPixels(kButtonRowTwips, this);
    PushButton->setGeometry(0, 0, width() - row, row);
    ShowButton->setGeometry(PushButton->width(), 0, row, row);
    WebBrowserCtrl->setGeometry(0, Twips::toPixels(360, this), width(), height() - row);
    WindowPlace::restore(*this, placeName());

    connect(PushButton, &QPushButton::clicked, this, &DocumentViewForm::PushButton_Click);
    connect(ShowButton, &QPushButton::clicked, this, &DocumentViewForm::ShowButton_Click);
    // Without an editor the page itself is shown, not the copy the editor
    // would have had.
    connect(m_editor, &TextEditorLauncher::noEditor, this,
            [this] { (new PageSourceWindow(pagePath(), this))->show(); });
    connect(WebBrowserCtrl, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (m_restoreScroll) {
            m_restoreScroll = false;
            WebBrowserCtrl->page()->runJavaScript(QStringLiteral("window.scrollTo(%1, %2);")
                                                      .arg(m_pendingScroll.x())
                                                      .arg(m_pendingScroll.y()));
        }
        emit loadFinished(ok);
    });
}

DocumentViewForm::~DocumentViewForm() {
    // The page goes before the profile it was made with.
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
    // The reader stays where they were reading.
    m_pendingScroll = WebBrowserCtrl->page()->scrollPosition();
    m_restoreScroll = true;
    navigate();
}

void DocumentViewForm::navigate() {
    if (!m_notice.isEmpty()) {
        showNotice(m_notice);
        return;
    }
    WebBrowserCtrl->setUrl(PreviewScheme::urlOf(PreviewBuilder::pageFileName()));
}

void DocumentViewForm::showNotice(const QString& notice) {
    m_restoreScroll = false;
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

void DocumentViewForm::closeEvent(QCloseEvent* event) {
    WindowPlace::save(*this, placeName());
    QWidget::closeEvent(event);
}
