#pragma once

#include "app/MApp.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"

#include <QString>

// New, open, save as and overwrite save: moving the whole project between
// memory and a project file, guarding unsaved changes and keeping the current
// file's path and name. A new or opened project replaces the old one through
// the model, as a change that leaves the project unmodified. Files opened or
// saved join the recent files.
class FileCommands {
public:
    static QString programCaption() { return QStringLiteral("Brindlewick Ver1.2"); }
    static QString fileFilter() { return QStringLiteral("B.W.Kファイル (*.bwk)"); }

    FileCommands(MApp& app, ProjectModel& model, UserDialogs& dialogs);

    // The window caption for the current file, with Qt's "[*]" placeholder
    // where the unsaved mark goes: after the file's name, or after the
    // program's name while there is no file.
    static QString caption(const MApp& app);

    // The path a chosen name is read from and saved at: with ".bwk" appended
    // when the file's name does not hold it anywhere, in any case, so that
    // FAQ.BWK from a Windows machine stays itself.
    static QString withExtension(const QString& path);

    // Each returns true when it replaced the project in memory (the windows
    // then show the new entries) or wrote it (for the saves).
    bool newProject();
    bool open();
    // Opens the file at path as named, as given on the command line or
    // chosen from the recent files; asks first when there are unsaved
    // changes, like open().
    bool openFile(const QString& path);
    bool saveAs();
    bool overwriteSave();

private:
    bool unsavedChangesMayGo(const QString& question);
    bool read(const QString& path, const QString& title);
    bool save(const QString& path);
    void saved(const QString& path);

    MApp& m_app;
    ProjectModel& m_model;
    UserDialogs& m_dialogs;
};
