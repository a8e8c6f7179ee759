#include "BenchProjects.h"

#include "ProjectGenerator.h"
#include "project/BwkWriter.h"
#include "text/TextFile.h"

#include <cstdio>
#include <cstdlib>

BenchProjects& BenchProjects::instance() {
    static BenchProjects projects;
    return projects;
}

BenchProjects::BenchProjects()
    : m_program(QStringLiteral(BRINDLEWICK_BENCH_DIR)) {
    const QString designFile = m_program.designRoot() + u'/' +
                               ProjectGenerator::designFolderName() + QStringLiteral("/bench.ddc");
    const Result<QString> design = TextFile::read(designFile);
    if (!design || !m_dir.isValid()) {
        std::fprintf(stderr, "bench set-up failed: %s\n", qPrintable(design.error()));
        std::exit(1);
    }
    m_designText = *design;
}

const Project& BenchProjects::project(int entryCount) {
    auto found = m_projects.find(entryCount);
    if (found == m_projects.end())
        found = m_projects.emplace(entryCount, ProjectGenerator::make(entryCount)).first;
    return found->second;
}

QString BenchProjects::projectFile(int entryCount) {
    auto found = m_files.find(entryCount);
    if (found != m_files.end())
        return found->second;
    const QString path = scratchPath(QStringLiteral("project-%1.bwk").arg(entryCount));
    const Project& source = project(entryCount);
    const Status written = BwkWriter::writeFile(path, source.document, source.entries);
    if (!written) {
        std::fprintf(stderr, "bench set-up failed: %s\n", qPrintable(written.error()));
        std::exit(1);
    }
    return m_files.emplace(entryCount, path).first->second;
}

QString BenchProjects::scratchPath(const QString& name) const {
    return m_dir.filePath(name);
}
