#pragma once

#include "app/MApp.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"

#include <QString>

// New, open, save as and overwrite save: moving the whole project between
// memory and a project file, guarding unsaved changes and keeping the current
// file's path and name. A new or opened project replaces the old one through
// the model, as a change that leaves the project unmodified.
class FileCommands {
public:
    static QString programCaption() { return QStringLiteral("Brindlewick Ver1.2"); }
    static QString fileFilter() { return QStringLiteral("B.W.Kファイル (*.bwk)"); }

    FileCommands(MApp& app, ProjectModel& model, UserDialogs& dialogs);

    // The window caption for the current file.
    static QString caption(const MApp& app);

    // Each returns true when it replaced the project in memory (the windows
    // then show the new entries) or wrote it (for the saves).
    bool newProject();
    bool open();
    bool saveAs();
    bool overwriteSave();

private:
    // The dialog's answer with ".bwk" appended to the path when the file's
    // name does not hold it anywhere (case-sensitively).
    static QString withExtension(const UserDialogs::FileChoice& choice);
    bool save(const QString& path);

    MApp& m_app;
    ProjectModel& m_model;
    UserDialogs& m_dialogs;
};
