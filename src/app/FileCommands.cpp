#include "app/FileCommands.h"

#include "app/ExportFolders.h"
#include "app/ProjectHistory.h"
#include "app/ProjectLock.h"
#include "app/RecentFiles.h"
#include "app/RecoveryCopy.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

#include <QFileInfo>

namespace {

const QString kOpenQuestion =
    QStringLiteral("現在保存されていない情報がまだありますが、ファイルを開きますか？");

// The same file, however it was named.
bool sameFile(const QString& a, const QString& b) {
    const QFileInfo first(a);
    const QFileInfo second(b);
    return first.absoluteFilePath() == second.absoluteFilePath() ||
           (first.exists() && first.canonicalFilePath() == second.canonicalFilePath());
}

} // namespace

FileCommands::FileCommands(MApp& app, ProjectModel& model, ProjectHistory& history,
                           ProjectLock& lock, UserDialogs& dialogs)
    : m_app(app)
    , m_model(model)
    , m_history(history)
    , m_lock(lock)
    , m_dialogs(dialogs) {}

QString FileCommands::caption(const MApp& app) {
    const QString mark = QStringLiteral("[*]");
    if (app.CurrentFileTitle.isEmpty())
        return programCaption() + mark;
    // Qt shows a doubled placeholder as the characters themselves.
    QString title = app.CurrentFileTitle;
    title.replace(mark, mark + mark);
    return title + mark + QStringLiteral(" - ") + programCaption();
}

QString FileCommands::withExtension(const QString& path) {
    const QString extension = QStringLiteral(".bwk");
    return QFileInfo(path).fileName().contains(extension, Qt::CaseInsensitive) ? path
                                                                               : path + extension;
}

bool FileCommands::unsavedChangesMayGo(const QString& question) {
    return !m_history.DataChanged() || m_dialogs.askYesNo(question, UserDialogs::boxTitle());
}

bool FileCommands::otherWindowMayShare(const QString& path) {
    return !m_lock.heldElsewhere(path) ||
           m_dialogs.askYesNo(ProjectLock::openedQuestion().arg(QFileInfo(path).fileName()),
                              UserDialogs::boxTitle(), UserDialogs::Preselected::No);
}

bool FileCommands::newProject() {
    if (!unsavedChangesMayGo(QStringLiteral("現在の情報はなくなりますがよろしいですか？")))
        return false;
    m_model.replaceProject(Project{DocumentInfo::forNewProject(), {}},
                           ProjectModel::Marking::Unmodified);
    // A new project has no file yet, so the next overwrite save asks for a
    // name instead of overwriting the file of the previous project.
    m_app.CurrentFilePath.clear();
    m_app.CurrentFileTitle.clear();
    m_app.CurrentFileStamp = {};
    m_app.LastExportFolder.clear();
    m_lock.release();
    return true;
}

bool FileCommands::open() {
    if (!unsavedChangesMayGo(kOpenQuestion))
        return false;
    const UserDialogs::FileChoice choice = m_dialogs.chooseFileToOpen(fileFilter());
    if (choice.cancelled())
        return false;
    return read(withExtension(choice.fileName), choice.fileTitle);
}

bool FileCommands::openFile(const QString& path) {
    if (!unsavedChangesMayGo(kOpenQuestion))
        return false;
    const QFileInfo file(path);
    return read(file.absoluteFilePath(), file.fileName());
}

bool FileCommands::read(const QString& path, const QString& title) {
    if (!otherWindowMayShare(path))
        return false;
    // Only a regular file of bounded size: a pipe would keep the window
    // waiting for a writer, a device reading without end.
    const Result<QByteArray> bytes = TextFile::readRegularFileBytes(path);
    Result<BwkReader::Opened> opened =
        bytes ? BwkReader::openBytes(*bytes) : Result<BwkReader::Opened>(Failure{bytes.error()});
    if (!opened) {
        // The project in memory stays as it was: the file was read into a
        // copy, and a damaged file is no reason to end the program.
        m_dialogs.beep();
        m_dialogs.report(BwkReader::damagedMessage() + QStringLiteral("\n\n") + opened.error(),
                         QStringLiteral("エラー"));
        return false;
    }
    m_model.replaceProject(std::move(opened->project), ProjectModel::Marking::Unmodified);
    m_app.CurrentFileStamp = FileStamp::of(path, *bytes);
    fileChosen(path, title);
    RecentFiles::add(path);
    // Said once, where it happened first: every later save refuses the
    // replacement characters until they are gone.
    if (opened->firstUndecodableLine > 0) {
        m_dialogs.beep();
        m_dialogs.report(BwkReader::undecodableMessage(path, opened->firstUndecodableLine),
                         UserDialogs::boxTitle());
    }
    return true;
}

void FileCommands::fileChosen(const QString& path, const QString& title) {
    m_app.CurrentFilePath = path;
    m_app.CurrentFileTitle = title;
    m_app.LastExportFolder = path.isEmpty() ? QString() : ExportFolders::lastFor(path);
    if (path.isEmpty())
        m_lock.release();
    else
        m_lock.take(path);
}

bool FileCommands::mayOverwrite(const QString& path) {
    if (!sameFile(path, m_app.CurrentFilePath) || m_app.CurrentFileStamp.matches(path))
        return true;
    return m_dialogs.askYesNo(changedOnDiskQuestion().arg(QFileInfo(path).fileName()),
                              UserDialogs::boxTitle(), UserDialogs::Preselected::No);
}

bool FileCommands::save(const QString& path) {
    if (!mayOverwrite(path))
        return false;
    Result<QByteArray> bytes = BwkWriter::encode(m_model.document(), m_model.entries());
    Status written = bytes ? FileWriter::replaceAtomically(path, *bytes) : Failure{bytes.error()};
    if (written) {
        m_app.CurrentFileStamp = FileStamp::of(path, *bytes);
        return true;
    }
    m_dialogs.beep();
    m_dialogs.report(QStringLiteral("保存できませんでした。\n\n") + written.error(),
                     UserDialogs::boxTitle());
    return false;
}

void FileCommands::saved(const QString& path) {
    m_history.setClean();
    RecentFiles::add(path);
}

bool FileCommands::saveAs() {
    const UserDialogs::FileChoice choice =
        m_dialogs.chooseFileToReplace(fileFilter(), &FileCommands::withExtension);
    if (choice.cancelled())
        return false;
    const QString path = withExtension(choice.fileName);
    if (!save(path))
        return false;
    saved(path);
    m_app.CurrentFilePath = path;
    m_app.CurrentFileTitle = choice.fileTitle;
    m_lock.take(path);
    // The copy is the same project: its page was exported where the
    // original's was.
    if (!m_app.LastExportFolder.isEmpty())
        ExportFolders::remember(path, m_app.LastExportFolder);
    return true;
}

bool FileCommands::overwriteSave() {
    // Save as writes the file itself; writing it a second time would only
    // double the chance of a failure.
    if (m_app.CurrentFilePath.isEmpty())
        return saveAs();
    if (!save(m_app.CurrentFilePath))
        return false;
    saved(m_app.CurrentFilePath);
    return true;
}

void FileCommands::restore(RecoveryCopy copy) {
    m_model.replaceProject(std::move(copy.project), ProjectModel::Marking::Unmodified);
    m_history.markUnsaved();
    m_app.CurrentFileStamp = copy.stamp;
    fileChosen(copy.projectPath, QFileInfo(copy.projectPath).fileName());
}
