#pragma once

#include "design/ProgramFolder.h"

#include <QObject>
#include <QString>

class PreviewUpdates;
class ProjectHistory;
class ProjectModel;
class ProjectWindows;
class UserDialogs;

// The commands of the "プロジェクト" menu: the document settings, the preview
// and the quick settings. The windows they open are asked for through
// ProjectWindows.
class ProjectCommands : public QObject {
    Q_OBJECT

public:
    ProjectCommands(ProjectModel& model, ProjectHistory& history, PreviewUpdates& preview,
                    ProjectWindows& windows, UserDialogs& dialogs, ProgramFolder program,
                    QObject* parent = nullptr);

    static QString previewPreconditionMessage() {
        return QStringLiteral("ドキュメントビューを利用するためにはドキュメント情報を設定していなけ"
                              "れば利用できません。");
    }

    // The design chosen and the settings confirmed are undone together. The
    // preview shows what the dialog changed once it has closed, and is
    // rebuilt then whichever button closed it.
    void editDocument();
    // Only a document complete for a page can be previewed.
    void showPreview();
    // Asks first, then fills what is empty (QuickDocumentSettings), as a
    // step that leaves the project unmodified.
    void fillDocument();

private:
    ProjectModel& m_model;
    ProjectHistory& m_history;
    PreviewUpdates& m_preview;
    ProjectWindows& m_windows;
    UserDialogs& m_dialogs;
    ProgramFolder m_program;
};
