#include "app/ExportCommands.h"

#include "app/ExportFolders.h"
#include "app/ProjectFile.h"
#include "app/ProjectModel.h"
#include "design/HtmlExporter.h"

#include <QFileInfo>

ExportCommands::ExportCommands(const ProjectModel& model, const ProjectFile& file,
                               ProgramFolder program, UserDialogs& dialogs)
    : m_model(model)
    , m_file(file)
    , m_program(std::move(program))
    , m_dialogs(dialogs) {}

bool ExportCommands::canExportAgain() const {
    return !m_lastFolder.isEmpty() && HtmlExporter::holdsExport(m_lastFolder);
}

void ExportCommands::followFile(const QString& path) {
    m_lastFolder = path.isEmpty() ? QString() : ExportFolders::lastFor(path);
}

void ExportCommands::followCopy(const QString& path) const {
    if (!m_lastFolder.isEmpty())
        ExportFolders::remember(path, m_lastFolder);
}

std::optional<QString> ExportCommands::render(const HtmlExporter& exporter) {
    Result<QString> page = exporter.render();
    if (page)
        return std::move(*page);
    m_dialogs.beep();
    m_dialogs.report(page.error(), UserDialogs::boxTitle());
    return std::nullopt;
}

bool ExportCommands::exportPage() {
    const HtmlExporter exporter(m_model.project(), m_program);
    const std::optional<QString> page = render(exporter);
    if (!page)
        return false;
    const UserDialogs::FileChoice choice =
        m_dialogs.chooseFileToSave(QStringLiteral("B.W.K.Folder"));
    if (choice.cancelled())
        return false;
    return finish(exporter.write(*page, choice.fileName));
}

bool ExportCommands::exportAgain() {
    const HtmlExporter exporter(m_model.project(), m_program);
    const std::optional<QString> page = render(exporter);
    if (!page)
        return false;
    return finish(exporter.rewrite(*page, m_lastFolder));
}

bool ExportCommands::finish(const Result<QString>& written) {
    m_dialogs.beep();
    if (!written) {
        m_dialogs.report(QStringLiteral("html出力ができませんでした。\n\n") + written.error(),
                         UserDialogs::boxTitle());
        return false;
    }
    m_lastFolder = QFileInfo(*written).absolutePath();
    if (!m_file.path.isEmpty())
        ExportFolders::remember(m_file.path, m_lastFolder);
    m_dialogs.report(HtmlExporter::doneMessage(), UserDialogs::boxTitle());
    return true;
}
