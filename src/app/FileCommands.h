#pragma once

#include "app/ExportCommands.h"
#include "app/ProjectFile.h"
#include "app/UserDialogs.h"
#include "design/ProgramFolder.h"
#include "text/Version.h"

#include <QObject>
#include <QString>

class ProjectHistory;
class ProjectLock;
class ProjectModel;
class RecoveryStore;
struct RecoveryCopy;

// The commands of the "ファイル" menu. New, open, save as and overwrite save
// move the whole project between memory and a project file, guarding unsaved
// changes and keeping the file the project belongs to, which these commands
// alone change. A new or opened project replaces the old one through the
// model, as a change that leaves the project unmodified. Files opened or
// saved join the recent files. The exports, closing, and at start the
// projects that windows left unsaved, belong here too.
//
// Another program's work is never overwritten unasked: a save checks that
// the file still holds what was last read or written here, and opening a
// file that another window of the program has open asks first.
class FileCommands : public QObject {
    Q_OBJECT

public:
    static QString programCaption() {
        return QStringLiteral("Brindlewick Ver" BRINDLEWICK_VERSION);
    }
    static QString fileFilter() { return QStringLiteral("B.W.Kファイル (*.bwk)"); }

    FileCommands(ProjectModel& model, ProjectHistory& history, ProjectLock& lock,
                 UserDialogs& dialogs, ProgramFolder program, QObject* parent = nullptr);

    static QString changedOnDiskQuestion() {
        return QStringLiteral(
            "「%1」は、開いた後にほかのプログラムで変更されています。上書きしますか？");
    }

    // The window caption for the file, with Qt's "[*]" placeholder where the
    // unsaved mark goes: after the file's name, or after the program's name
    // while there is no file.
    static QString caption(const ProjectFile& file);

    // The path a chosen name is read from and saved at: with ".bwk" appended
    // when the file's name does not hold it anywhere, in any case, so that
    // FAQ.BWK from a Windows machine stays itself.
    static QString withExtension(const QString& path);

    const ProjectFile& file() const { return m_file; }
    const ExportCommands& exports() const { return m_export; }

    // Each returns true when it replaced the project in memory (the windows
    // then show the new entries), wrote it (for the saves) or wrote its page
    // (for the exports).
    bool newProject();
    bool open();
    // Opens the file at path as named, as given on the command line; asks
    // first when there are unsaved changes, like open().
    bool openFile(const QString& path);
    // Opens one of the recent files; one that has gone is dropped from the
    // list, and opening it reports it.
    bool openRecent(const QString& path);
    bool saveAs();
    bool overwriteSave();
    bool exportPage();
    bool exportAgain();
    // Asks before the program ends whether unsaved changes are to be saved.
    // False when the user wanted them kept and they were not saved (the
    // dialog was cancelled, the disk refused): the program stays open.
    bool mayClose();
    // Offers the projects that windows left unsaved when they ended; one that
    // the user takes back replaces the project in memory.
    void offerRecovery(RecoveryStore& store);

signals:
    // A project opened, restored or started anew is in memory.
    void projectReplaced();
    // A command has ended: the file, and so the caption, and the last export
    // may be others now.
    void finished();

private:
    // Each command ends by saying what it left; these pass its result on.
    bool announceReplaced(bool replaced);
    bool announce(bool done);
    bool startNew();
    bool unsavedChangesMayGo(const QString& question);
    bool otherWindowMayShare(const QString& path);
    bool readChosen();
    bool readNamed(const QString& path);
    bool read(const QString& path, const QString& title);
    bool mayOverwrite(const QString& path);
    bool save(const QString& path);
    void saved(const QString& path);
    bool saveUnderNewName();
    bool saveInPlace();
    bool mayRestore(const RecoveryCopy& copy);
    // Puts back a project that a window left unsaved when it ended: with
    // the file it belonged to, and marked as not saved.
    void restore(RecoveryCopy copy);
    void fileChosen(const QString& path, const QString& title);

    ProjectModel& m_model;
    ProjectHistory& m_history;
    ProjectLock& m_lock;
    UserDialogs& m_dialogs;
    ProjectFile m_file;
    ExportCommands m_export;
};
