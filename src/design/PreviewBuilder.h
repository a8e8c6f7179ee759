#pragma once

#include "design/ProgramFolder.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QByteArray>
#include <QString>

// Rebuilds the live preview's folder: the page as "default.html" beside a
// copy of the chosen design's resources.
class PreviewBuilder {
public:
    static QString pageFileName() { return QStringLiteral("default.html"); }

    PreviewBuilder(const Project& project, ProgramFolder program);

    // Makes the page first, then empties the folder of its plain files
    // (sub-folders and hidden files stay), copies the design and writes the
    // page. Gives the page's path; a failed build leaves no half-copied design
    // behind.
    Result<QString> build(const QString& previewFolder) const;

    // Deletes the plain, non-hidden files of folder.
    static Status removePlainFiles(const QString& folder);

    // What a build left in the preview folder: the page's bytes, and a
    // digest of the design's files beside it, which tells whether a rebuild
    // changed more than the page.
    struct Built {
        QByteArray page;
        QByteArray resources;
    };
    static Built readBack(const QString& previewFolder);

private:
    const Project& m_project;
    ProgramFolder m_program;
};
