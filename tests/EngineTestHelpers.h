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

// The page that design text makes for the project.
inline QString run(const Project& project, const QString& design) {
    WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
    engine.runText(design);
    return engine.sorce();
}

inline QString run(const QString& design) {
    return run(sampleProject(), design);
}
