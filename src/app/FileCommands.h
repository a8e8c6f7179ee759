#pragma once

#include "app/MApp.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"

#include <QString>

class ProjectHistory;
class ProjectLock;
struct RecoveryCopy;

// New, open, save as and overwrite save: moving the whole project between
// memory and a project file, guarding unsaved changes and keeping the current
// file's path and name. A new or opened project replaces the old one through
// the model, as a change that leaves the project unmodified. Files opened or
// saved join the recent files.
//
// Another program's work is never overwritten unasked: a save checks that
// the file still holds what was last read or written here, and opening a
// file that another window of the program has open asks first.
class FileCommands {
public:
    static QString programCaption() { return QStringLiteral("Brindlewick Ver1.2"); }
    static QString fileFilter() { return QStringLiteral("B.W.Kファイル (*.bwk)"); }

    FileCommands(MApp& app, ProjectModel& model, ProjectHistory& history, ProjectLock& lock,
                 UserDialogs& dialogs);

    static QString changedOnDiskQuestion() {
        return QStringLiteral(
            "「%1」は、開いた後にほかのプログラムで変更されています。上書きしますか？");
    }

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
    // Puts back a project that a window left unsaved when it ended: with
    // the file it belonged to, and marked as not saved.
    void restore(RecoveryCopy copy);

private:
    bool unsavedChangesMayGo(const QString& question);
    bool otherWindowMayShare(const QString& path);
    bool read(const QString& path, const QString& title);
    bool mayOverwrite(const QString& path);
    bool save(const QString& path);
    void saved(const QString& path);
    void fileChosen(const QString& path, const QString& title);

    MApp& m_app;
    ProjectModel& m_model;
    ProjectHistory& m_history;
    ProjectLock& m_lock;
    UserDialogs& m_dialogs;
};
