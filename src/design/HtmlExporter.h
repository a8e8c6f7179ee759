#pragma once

#include "design/DesignRoot.h"
#include "design/ProgramFolder.h"
#include "project/Project.h"
#include "text/FolderHandle.h"
#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <functional>

// Writes a project out as a finished page: a folder holding the page and
// the chosen design's resources.
//
// The export runs in two steps because the page text is made before the user
// is asked where to put it: render() first, then write() with the chosen path.
class HtmlExporter {
public:
    HtmlExporter(const Project& project, ProgramFolder program);

    static QString incompleteMessage() { return DocumentInfo::incompleteMessage(); }
    static QString doneMessage() { return QStringLiteral("htmlファイルを書き出しました。"); }

    // The page text; fails when the document information is incomplete or
    // the design cannot be read.
    Result<QString> render() const;

    // Creates outputPath, copies the design's resources into it and writes
    // outputPath/NAME.html (NAME being the folder's own name) with the page
    // text and one more line end. The folder is built hidden beside it and
    // takes its name only when complete, never over anything that has the
    // name. Gives the page's path; a failure leaves nothing behind.
    Result<QString> write(const QString& page, const QString& outputPath) const;

    // Exports again into outputPath, a folder that write() made earlier:
    // the page and the design's resources are replaced, each file whole or
    // not at all and keeping its permissions; everything else in the folder
    // stays as it is. Nothing outside the folder is touched, even when it is
    // moved or replaced by a link meanwhile. Gives the page's path.
    Result<QString> rewrite(const QString& page, const QString& outputPath) const;

    // Whether the folder still holds the page that an export wrote there.
    static bool holdsExport(const QString& outputPath);

    // Writes the page file at path: the page text in code page 932, with
    // character references for what the code page lacks, and one more line
    // end.
    static Status writePageFile(const QString& path, const QString& page);

    // For tests only: what runs once everything is checked, just before the
    // export is written or put in place, and a file system that refuses
    // flags when renaming (as NFS, vfat and exfat do).
    struct TestHooks {
        std::function<void()> beforeWriting;
        bool renameFlagsRefused = false;
    };
    void setTestHooks(TestHooks hooks) { m_testHooks = std::move(hooks); }

private:
    // A design folder and its resources, every one checked.
    struct Resources {
        QString folder;
        QStringList names;
    };
    Result<Resources> designResources(const DesignRoot& designs) const;

    // Writes the resources and then the page into folder.
    static Status writeExport(const FolderHandle& folder, const Resources& resources,
                              const QString& page, const QString& pageName);

    void runBeforeWriting() const;

    const Project& m_project;
    ProgramFolder m_program;
    TestHooks m_testHooks;
};
