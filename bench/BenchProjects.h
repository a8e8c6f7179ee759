#pragma once

#include "design/ProgramFolder.h"
#include "project/Project.h"

#include <QString>
#include <QTemporaryDir>
#include <map>

// What the benchmarks work on, made once per process: the generated projects
// by entry count, their .bwk files in a temporary folder, and the program
// folder that holds the bench design.
class BenchProjects {
public:
    static BenchProjects& instance();

    const Project& project(int entryCount);
    // The project's .bwk file, written on first use.
    QString projectFile(int entryCount);
    // A path in the temporary folder that nothing else uses.
    QString scratchPath(const QString& name) const;

    const ProgramFolder& programFolder() const { return m_program; }
    const QString& designText() const { return m_designText; }

private:
    BenchProjects();

    QTemporaryDir m_dir;
    ProgramFolder m_program;
    QString m_designText;
    std::map<int, Project> m_projects;
    std::map<int, QString> m_files;
};
