#pragma once

#include "app/MApp.h"
#include "design/WrepClass.h"

// The project of the engine's first worked example: title Sample, author
// Taro, three entries of which the second is disabled.
inline MApp sampleProject() {
    MApp app;
    app.DocumentTitle = QStringLiteral("Sample");
    app.DocumentCreater = QStringLiteral("Taro");
    app.entries.append(QAEntry{QStringLiteral("How?"), QStringLiteral("Like this."), 1});
    app.entries.append(QAEntry{QStringLiteral("Old?"), QStringLiteral("Gone."), 2});
    app.entries.append(QAEntry{QStringLiteral("Why?"), QStringLiteral("Because."), 1});
    return app;
}

// The page that design text makes for the project.
inline QString run(MApp& app, const QString& design) {
    WrepClass engine(app, ProgramFolder(QStringLiteral("/nonexistent")));
    engine.runText(design);
    return engine.sorce();
}

inline QString run(const QString& design) {
    MApp app = sampleProject();
    return run(app, design);
}
