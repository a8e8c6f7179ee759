#include "app/ProjectCommands.h"

#include "app/PreviewUpdates.h"
#include "app/ProjectHistory.h"
#include "app/ProjectModel.h"
#include "app/ProjectWindows.h"
#include "app/QuickDocumentSettings.h"
#include "app/UserDialogs.h"

ProjectCommands::ProjectCommands(ProjectModel& model, ProjectHistory& history,
                                 PreviewUpdates& preview, ProjectWindows& windows,
                                 UserDialogs& dialogs, ProgramFolder program, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_history(history)
    , m_preview(preview)
    , m_windows(windows)
    , m_dialogs(dialogs)
    , m_program(std::move(program)) {}

void ProjectCommands::editDocument() {
    const PreviewUpdates::Hold hold(m_preview);
    const ProjectHistory::Step step(m_history, QStringLiteral("ドキュメント設定"));
    m_windows.editDocumentSettings();
}

void ProjectCommands::showPreview() {
    if (const Status ready = m_model.document().checkForPage(previewPreconditionMessage());
        !ready) {
        m_dialogs.beep();
        m_dialogs.report(ready.error(), UserDialogs::boxTitle());
        return;
    }
    m_windows.showPreview();
}

void ProjectCommands::fillDocument() {
    // This question carries the program's name as its title.
    if (!m_dialogs.askYesNo(QuickDocumentSettings::confirmation(), QString()))
        return;
    DocumentInfo filled = m_model.document();
    QuickDocumentSettings::apply(filled, m_program);
    const ProjectHistory::Step step(m_history, QStringLiteral("簡易自動ドキュメント設定"));
    m_model.setDocument(filled, ProjectModel::Marking::Unmodified);
}
