#include "app/ExportCommands.h"

#include "app/ExportFolders.h"
#include "design/HtmlExporter.h"

#include <QFileInfo>

ExportCommands::ExportCommands(MApp& app, ProgramFolder program, UserDialogs& dialogs)
    : m_app(app)
    , m_program(std::move(program))
    , m_dialogs(dialogs) {}

bool ExportCommands::canExportAgain() const {
    return !m_app.LastExportFolder.isEmpty() && HtmlExporter::holdsExport(m_app.LastExportFolder);
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
    const HtmlExporter exporter(m_app.project, m_program);
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
    const HtmlExporter exporter(m_app.project, m_program);
    const std::optional<QString> page = render(exporter);
    if (!page)
        return false;
    return finish(exporter.rewrite(*page, m_app.LastExportFolder));
}

bool ExportCommands::finish(const Result<QString>& written) {
    m_dialogs.beep();
    if (!written) {
        m_dialogs.report(QStringLiteral("html出力ができませんでした。\n\n") + written.error(),
                         UserDialogs::boxTitle());
        return false;
    }
    m_app.LastExportFolder = QFileInfo(*written).absolutePath();
    if (!m_app.CurrentFilePath.isEmpty())
        ExportFolders::remember(m_app.CurrentFilePath, m_app.LastExportFolder);
    m_dialogs.report(HtmlExporter::doneMessage(), UserDialogs::boxTitle());
    return true;
}
