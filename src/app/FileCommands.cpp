#include "app/FileCommands.h"

#include "app/ProjectHistory.h"
#include "app/ProjectLock.h"
#include "app/ProjectModel.h"
#include "app/RecentFiles.h"
#include "app/RecoveryCopy.h"
#include "app/RecoveryStore.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "text/FileWriter.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <QLocale>

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

FileCommands::FileCommands(ProjectModel& model, ProjectHistory& history, ProjectLock& lock,
                           UserDialogs& dialogs, ProgramFolder program, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_history(history)
    , m_lock(lock)
    , m_dialogs(dialogs)
    , m_export(model, m_file, std::move(program), dialogs) {}

QString FileCommands::caption(const ProjectFile& file) {
    const QString mark = QStringLiteral("[*]");
    if (file.title.isEmpty())
        return programCaption() + mark;
    // Qt shows a doubled placeholder as the characters themselves.
    QString title = file.title;
    title.replace(mark, mark + mark);
    return title + mark + QStringLiteral(" - ") + programCaption();
}

QString FileCommands::withExtension(const QString& path) {
    const QString extension = QStringLiteral(".bwk");
    return QFileInfo(path).fileName().contains(extension, Qt::CaseInsensitive) ? path
                                                                               : path + extension;
}

bool FileCommands::announceReplaced(bool replaced) {
    if (replaced)
        emit projectReplaced();
    return announce(replaced);
}

bool FileCommands::announce(bool done) {
    emit finished();
    return done;
}

bool FileCommands::newProject() {
    return announceReplaced(startNew());
}

bool FileCommands::open() {
    return announceReplaced(readChosen());
}

bool FileCommands::openFile(const QString& path) {
    return announceReplaced(readNamed(path));
}

bool FileCommands::openRecent(const QString& path) {
    if (!QFileInfo::exists(path))
        RecentFiles::remove(path);
    return openFile(path);
}

bool FileCommands::saveAs() {
    return announce(saveUnderNewName());
}

bool FileCommands::overwriteSave() {
    return announce(saveInPlace());
}

bool FileCommands::exportPage() {
    return announce(m_export.exportPage());
}

bool FileCommands::exportAgain() {
    return announce(m_export.exportAgain());
}

bool FileCommands::mayClose() {
    if (!m_history.DataChanged() ||
        !m_dialogs.askYesNo(QStringLiteral("まだ、保存されていない情報がありますが保存しますか？"),
                            UserDialogs::boxTitle()))
        return true;
    overwriteSave();
    return !m_history.DataChanged();
}

bool FileCommands::unsavedChangesMayGo(const QString& question) {
    return !m_history.DataChanged() || m_dialogs.askYesNo(question, UserDialogs::boxTitle());
}

bool FileCommands::otherWindowMayShare(const QString& path) {
    return !m_lock.heldElsewhere(path) ||
           m_dialogs.askYesNo(ProjectLock::openedQuestion().arg(QFileInfo(path).fileName()),
                              UserDialogs::boxTitle(), UserDialogs::Preselected::No);
}

bool FileCommands::startNew() {
    if (!unsavedChangesMayGo(QStringLiteral("現在の情報はなくなりますがよろしいですか？")))
        return false;
    m_model.replaceProject(Project{DocumentInfo::forNewProject(), {}},
                           ProjectModel::Marking::Unmodified);
    // A new project has no file yet, so the next overwrite save asks for a
    // name instead of overwriting the file of the previous project.
    m_file = {};
    m_export.followFile(QString());
    m_lock.release();
    return true;
}

bool FileCommands::readChosen() {
    if (!unsavedChangesMayGo(kOpenQuestion))
        return false;
    const UserDialogs::FileChoice choice = m_dialogs.chooseFileToOpen(fileFilter());
    if (choice.cancelled())
        return false;
    return read(withExtension(choice.fileName), choice.fileTitle);
}

bool FileCommands::readNamed(const QString& path) {
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
        bytes ? BwkReader::openBytes(*bytes) : Result<BwkReader::Opened>(bytes.failure());
    if (!opened) {
        // The project in memory stays as it was: the file was read into a
        // copy, and a damaged file is no reason to end the program.
        m_dialogs.beep();
        m_dialogs.report(BwkReader::damagedMessage() + QStringLiteral("\n\n") + opened.error(),
                         QStringLiteral("エラー"));
        return false;
    }
    m_model.replaceProject(std::move(opened->project), ProjectModel::Marking::Unmodified);
    m_file.stamp = FileStamp::of(path, *bytes);
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
    m_file.path = path;
    m_file.title = title;
    m_export.followFile(path);
    if (path.isEmpty())
        m_lock.release();
    else
        m_lock.take(path);
}

bool FileCommands::mayOverwrite(const QString& path) {
    if (!sameFile(path, m_file.path) || m_file.stamp.matches(path))
        return true;
    return m_dialogs.askYesNo(changedOnDiskQuestion().arg(QFileInfo(path).fileName()),
                              UserDialogs::boxTitle(), UserDialogs::Preselected::No);
}

bool FileCommands::save(const QString& path) {
    if (!mayOverwrite(path))
        return false;
    Result<QByteArray> bytes = BwkWriter::encode(m_model.document(), m_model.entries());
    Status written = bytes ? FileWriter::replaceAtomically(path, *bytes) : bytes.failure();
    if (written) {
        m_file.stamp = FileStamp::of(path, *bytes);
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

bool FileCommands::saveUnderNewName() {
    const UserDialogs::FileChoice choice =
        m_dialogs.chooseFileToReplace(fileFilter(), &FileCommands::withExtension);
    if (choice.cancelled())
        return false;
    const QString path = withExtension(choice.fileName);
    if (!save(path))
        return false;
    saved(path);
    m_file.path = path;
    m_file.title = choice.fileTitle;
    m_lock.take(path);
    m_export.followCopy(path);
    return true;
}

bool FileCommands::saveInPlace() {
    // Save as writes the file itself; writing it a second time would only
    // double the chance of a failure.
    if (m_file.path.isEmpty())
        return saveUnderNewName();
    if (!save(m_file.path))
        return false;
    saved(m_file.path);
    return true;
}

void FileCommands::offerRecovery(RecoveryStore& store) {
    const QStringList left = store.claimLeftCopies();
    for (const QString& file : left) {
        Result<RecoveryCopy> copy = RecoveryStore::read(file);
        if (!copy || !mayRestore(*copy)) {
            store.discard(file);
            continue;
        }
        // Taken over before the project is, so the copy is never without an
        // owner that would write or remove it.
        store.adopt(file);
        restore(std::move(*copy));
        announceReplaced(true);
        break;
    }
    store.releaseClaims();
}

bool FileCommands::mayRestore(const RecoveryCopy& copy) {
    const QString project = copy.projectPath.isEmpty()
                                ? QStringLiteral("（名前を付けて保存されていないプロジェクト）")
                                : copy.projectPath;
    const QString when =
        QLocale(QLocale::Japanese).toString(copy.madeAt, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return m_dialogs.askYesNo(RecoveryStore::restoreQuestion() + QStringLiteral("\n\n") + project +
                                  u'\n' + when,
                              UserDialogs::boxTitle());
}

void FileCommands::restore(RecoveryCopy copy) {
    m_model.replaceProject(std::move(copy.project), ProjectModel::Marking::Unmodified);
    m_history.markUnsaved();
    m_file.stamp = copy.stamp;
    fileChosen(copy.projectPath, QFileInfo(copy.projectPath).fileName());
}
