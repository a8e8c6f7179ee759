#pragma once

#include "design/ProgramFolder.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QString>

// Writes a project out as a finished page: a new folder holding the page and
// the chosen design's resources.
//
// The export runs in two steps because the page text is made before the user
// is asked where to put it: render() first, then write() with the chosen path.
class HtmlExporter {
public:
    HtmlExporter(const Project& project, ProgramFolder program);

    static QString incompleteMessage() {
        return QStringLiteral("ドキュメント情報が詳細に定義されていないためhtml出力ができません。");
    }
    static QString doneMessage() { return QStringLiteral("htmlファイルを書き出しました。"); }

    // The page text; fails when the document information is incomplete or
    // the design cannot be read.
    Result<QString> render() const;

    // Creates outputPath, copies the design's resources into it and writes
    // outputPath/NAME.html (NAME being the folder's own name) with the page
    // text and one more line end. Gives the page's path; a failure leaves
    // nothing behind.
    Result<QString> write(const QString& page, const QString& outputPath) const;

    // Exports again into outputPath, a folder that write() made earlier: the
    // new page and resources are built beside it and take its place in one
    // step, so a failure leaves the published folder as it was. Gives the
    // page's path.
    Result<QString> rewrite(const QString& page, const QString& outputPath) const;

    // Whether the folder still holds the page that an export wrote there.
    static bool holdsExport(const QString& outputPath);

    // Writes the page file at path: the page text in code page 932, with
    // character references for what the code page lacks, and one more line
    // end.
    static Status writePageFile(const QString& path, const QString& page);

private:
    // The export made in a new hidden folder beside output, or why not.
    Result<QString> buildBeside(const QString& page, const QString& output) const;

    const Project& m_project;
    ProgramFolder m_program;
};
