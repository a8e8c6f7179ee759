#include "design/WrepClass.h"

#include "design/DesignRoot.h"
#include "design/TemplateInterpreter.h"

WrepClass::WrepClass(const Project& project, ProgramFolder program)
    : m_project(project)
    , m_program(std::move(program)) {}

Status WrepClass::ddc_datacode() {
    const DesignRoot designs(m_program);
    const Result<QString> path = designs.designFile(m_project.document.DocumentCode);
    if (!path)
        return path.failure();
    const Result<QString> design = designs.readDesignText(*path);
    if (!design)
        return Failure{QStringLiteral("デザインファイルを読み込めません: %1").arg(design.error())};
    return runText(*design);
}

Status WrepClass::runText(QStringView designText) {
    // Every run starts from the same counters, so the same project and design
    // always give the same page.
    Result<QString> page = TemplateInterpreter(m_project, m_pageSizeLimit).run(designText);
    if (!page)
        return page.failure();
    m_sorce = std::move(*page);
    return {};
}
