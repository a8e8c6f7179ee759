#pragma once

#include "app/MApp.h"
#include "app/ProgramFolder.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Rebuilds the live preview's folder: the page as "default.html" beside a
// copy of the chosen design's resources.
class PreviewBuilder {
public:
    static QString pageFileName() { return QStringLiteral("default.html"); }

    PreviewBuilder(MApp& app, ProgramFolder program);

    // Makes the page first, then empties the folder of its plain files
    // (sub-folders and hidden files stay), copies the design and writes the
    // page. Returns the page's path, or nothing with errorString() set; a
    // failed build leaves no half-copied design behind.
    std::optional<QString> build(const QString& previewFolder);

    const QString& errorString() const { return m_error; }

    // Deletes the plain, non-hidden files of folder. Returns the reason on
    // failure.
    static QString removePlainFiles(const QString& folder);

private:
    std::optional<QString> fail(const QString& folder, const QString& message);

    MApp& m_app;
    ProgramFolder m_program;
    QString m_error;
};
