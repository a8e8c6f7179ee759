#include "app/FileCommands.h"

#include "project/BwkReader.h"
#include "project/BwkWriter.h"

FileCommands::FileCommands(MApp& app, ProjectModel& model, UserDialogs& dialogs)
    : m_app(app)
    , m_model(model)
    , m_dialogs(dialogs) {}

QString FileCommands::caption(const MApp& app) {
    if (app.CurrentFileTitle.isEmpty())
        return programCaption();
    return app.CurrentFileTitle + QStringLiteral(" - ") + programCaption();
}

QString FileCommands::withExtension(const UserDialogs::FileChoice& choice) {
    const QString extension = QStringLiteral(".bwk");
    return choice.fileTitle.contains(extension) ? choice.fileName : choice.fileName + extension;
}

bool FileCommands::newProject() {
    if (m_app.DataChanged &&
        !m_dialogs.askYesNo(QStringLiteral("現在の情報はなくなりますがよろしいですか？"),
                            UserDialogs::boxTitle()))
        return false;
    m_model.replaceProject(Project{DocumentInfo::forNewProject(), {}},
                           ProjectModel::Marking::Unmodified);
    m_app.DataChanged = false;
    // A new project has no file yet, so the next overwrite save asks for a
    // name instead of overwriting the file of the previous project.
    m_app.CurrentFilePath.clear();
    m_app.CurrentFileTitle.clear();
    return true;
}

bool FileCommands::open() {
    if (m_app.DataChanged &&
        !m_dialogs.askYesNo(
            QStringLiteral("現在保存されていない情報がまだありますが、ファイルを開きますか？"),
            UserDialogs::boxTitle()))
        return false;
    const UserDialogs::FileChoice choice = m_dialogs.chooseFileToOpen(fileFilter());
    if (choice.cancelled())
        return false;

    const QString path = withExtension(choice);
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
    m_app.CurrentFileTitle = choice.fileTitle;
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

bool FileCommands::saveAs() {
    const UserDialogs::FileChoice choice = m_dialogs.chooseFileToSave(fileFilter());
    if (choice.cancelled())
        return false;
    const QString path = withExtension(choice);
    if (!save(path))
        return false;
    m_app.DataChanged = false;
    m_app.CurrentFilePath = path;
    m_app.CurrentFileTitle = choice.fileTitle;
    return true;
}

bool FileCommands::overwriteSave() {
    // Save as writes the file itself; writing it a second time would only
    // double the chance of a failure.
    if (m_app.CurrentFilePath.isEmpty())
        return saveAs();
    if (!save(m_app.CurrentFilePath))
        return false;
    m_app.DataChanged = false;
    return true;
}
