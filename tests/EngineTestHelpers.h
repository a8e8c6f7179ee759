#pragma once

#include "design/WrepClass.h"
#include "project/Project.h"

#include <QMap>

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

// Each enabled entry's question and the anchor the engine gives it.
inline QMap<QString, QString> anchorsOf(const Project& project) {
    const QString page =
        run(project, QStringLiteral("[loop::][question.]\t[question.anchor]\n[::loop]"));
    QMap<QString, QString> anchors;
    for (const QString& line : page.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u'\t');
        if (parts.size() == 2 && !parts[0].isEmpty())
            anchors.insert(parts[0], parts[1]);
    }
    return anchors;
}
