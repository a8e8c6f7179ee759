#include "design/WrepClass.h"

#include "design/DesignLocation.h"
#include "design/TemplateScanner.h"
#include "text/TextFile.h"

WrepClass::WrepClass(const Project& project, ProgramFolder program)
    : m_project(project)
    , m_program(std::move(program)) {}

Status WrepClass::ddc_datacode() {
    const Result<QString> path =
        DesignLocation::designFile(m_program, m_project.document.DocumentCode);
    if (!path)
        return Failure{path.error()};
    const Result<QString> design = TextFile::read(*path);
    if (!design)
        return Failure{QStringLiteral("デザインファイルを読み込めません: %1").arg(design.error())};
    runText(*design);
    return {};
}

void WrepClass::runText(QStringView designText) {
    // Every run starts from the same counters, so the same project and design
    // always give the same page.
    m_sorce = TemplateScanner(m_project).run(designText);
}
