#pragma once

#include "design/WrepClass.h"
#include "project/Project.h"

// A small project: title Sample, author Taro, three entries of which the
// second is disabled.
inline Project sampleProject() {
    Project project;
    project.document.DocumentTitle = QStringLiteral("Sample");
    project.document.DocumentCreater = QStringLiteral("Taro");
    project.entries.append(QAEntry{QStringLiteral("How?"), QStringLiteral("Like this."), 1});
    project.entries.append(QAEntry{QStringLiteral("Old?"), QStringLiteral("Gone."), 2});
    project.entries.append(QAEntry{QStringLiteral("Why?"), QStringLiteral("Because."), 1});
    return project;
}

// The page that design text makes for the project, or why there is none.
inline Result<QString> tryRun(const Project& project, const QString& design) {
    WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
    if (Status run = engine.runText(design); !run)
        return Failure{run.error()};
    return engine.sorce();
}

// The page that design text makes for the project; empty if the run fails.
inline QString run(const Project& project, const QString& design) {
    Result<QString> page = tryRun(project, design);
    return page ? std::move(*page) : QString();
}

inline QString run(const QString& design) {
    return run(sampleProject(), design);
}
