#include "app/FileCommands.h"

#include "app/ExportFolders.h"
#include "app/RecentFiles.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"

#include <QFileInfo>

namespace {

const QString kOpenQuestion =
    QStringLiteral("現在保存されていない情報がまだありますが、ファイルを開きますか？");

} // namespace

FileCommands::FileCommands(MApp& app, ProjectModel& model, UserDialogs& dialogs)
    : m_app(app)
    , m_model(model)
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
    return !m_app.DataChanged || m_dialogs.askYesNo(question, UserDialogs::boxTitle());
}

bool FileCommands::newProject() {
    if (!unsavedChangesMayGo(QStringLiteral("現在の情報はなくなりますがよろしいですか？")))
        return false;
    m_model.replaceProject(Project{DocumentInfo::forNewProject(), {}},
                           ProjectModel::Marking::Unmodified);
    m_app.DataChanged = false;
    // A new project has no file yet, so the next overwrite save asks for a
    // name instead of overwriting the file of the previous project.
    m_app.CurrentFilePath.clear();
    m_app.CurrentFileTitle.clear();
    m_app.LastExportFolder.clear();
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
    Result<Project> project = BwkReader::readFile(path);
    if (!project) {
        // The project in memory stays as it was: the file was read into a
        // copy, and a damaged file is no reason to end the program.
        m_dialogs.beep();
        m_dialogs.report(BwkReader::damagedMessage() + QStringLiteral("\n\n") + project.error(),
                         QStringLiteral("エラー"));
        return false;
    }
    m_model.replaceProject(std::move(*project), ProjectModel::Marking::Unmodified);
    m_app.DataChanged = false;
    m_app.CurrentFilePath = path;
    m_app.CurrentFileTitle = title;
    m_app.LastExportFolder = ExportFolders::lastFor(path);
    RecentFiles::add(path);
    return true;
}

bool FileCommands::save(const QString& path) {
    const Status written = BwkWriter::writeFile(path, m_model.document(), m_model.entries());
    if (written)
        return true;
    m_dialogs.beep();
    m_dialogs.report(QStringLiteral("保存できませんでした。\n\n") + written.error(),
                     UserDialogs::boxTitle());
    return false;
}

void FileCommands::saved(const QString& path) {
    m_app.DataChanged = false;
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
