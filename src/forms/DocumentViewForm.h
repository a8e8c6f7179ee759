#pragma once

#include "design/PageOutline.h"
#include "design/ProgramFolder.h"

#include <QWidget>
#include <memory>

class PreviewProfile;
class ProjectModel;
class QPushButton;
class QWebEngineView;
class TextEditorLauncher;

// The live preview "ドキュメントビュー": the page the project would produce,
// rebuilt in the preview folder after every change while the window is open.
// Whether it is open is the window's own to say: it is while it is shown.
// A window of the main window: it stays above it, and opens beside it the
// first time.
class DocumentViewForm : public QWidget {
    Q_OBJECT

public:
    DocumentViewForm(const ProjectModel& model, ProgramFolder program, QWidget* parent = nullptr);
    ~DocumentViewForm() override;

    // The name its place is kept under in the user's settings.
    static QString placeName() { return QStringLiteral("DocumentViewForm"); }

    // Where the preview is built: "default" below the program folder, or the
    // same folder below the user's cache when that one cannot be written
    // (a program installed read-only).
    static QString previewFolderFor(const ProgramFolder& program);

    // Builds the page and shows the window; an open preview comes to the
    // front and keeps what it shows until it is reloaded. Where the user has
    // not left it before, it opens beside its main window.
    void open();
    // The project has changed: an open preview is rebuilt, a closed one is
    // left alone.
    void projectChanged();
    // Builds the preview folder. Returns false when the page could not be
    // made; the window then shows a notice saying why.
    bool build();
    // Rebuilds and shows the page, keeping the reader's place in it, the
    // text of its search and the answers they opened: the page shown takes
    // over only what changed, or is loaded anew and told what the reader
    // had done when more changed than the body.
    void reload();
    // Shows the page file as it is on disk.
    void navigate();

    // The page file on disk; the browser reads it under the preview's own
    // address, which gives it no other file.
    QString pagePath() const;
    // The last notice shown instead of the page; empty after a good build.
    const QString& notice() const { return m_notice; }

signals:
    // The view has finished loading what it was given (the page or a notice),
    // or the page shown has taken over a rebuild.
    void loadFinished(bool ok);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PushButton_Click();
    void ShowButton_Click();
    void showNotice(const QString& notice);
    void layOut();
    void placeBesideMainWindow();
    // Takes the rebuilt page into the one shown; false when it must be
    // loaded anew.
    bool updateInPlace();
    void reloadKeepingState();
    void pageLoaded(bool ok);
    // Says the page is loaded once the restored page stopped moving.
    void finishWhenSettled(int checksLeft);

    const ProjectModel& m_model;
    ProgramFolder m_program;
    QString m_previewFolder;
    QString m_notice;
    TextEditorLauncher* m_editor;
    PreviewProfile* m_profile;
    // The page the view shows, as built, with the digest of the design's
    // files beside it; whether it is shown and ready for changes.
    std::unique_ptr<PageOutline> m_shownPage;
    QByteArray m_shownResources;
    bool m_pageShown = false;
    // What the reader had done in the page, to restore once the page being
    // loaded is shown; whether it is still being asked for.
    QString m_pendingState;
    bool m_askingState = false;
    bool m_placed = false;
    bool m_closing = false;
    QPushButton* PushButton;
    QPushButton* ShowButton;
    QWebEngineView* WebBrowserCtrl;
};
