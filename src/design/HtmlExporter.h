#pragma once

#include "app/MApp.h"
#include "app/ProgramFolder.h"

#include <QString>
#include <optional>

// Writes the project out as a finished page: a new folder holding the page
// and the chosen design's resources.
//
// The export runs in two steps because the page text is made before the user
// is asked where to put it: render() first, then write() with the chosen path.
class HtmlExporter {
public:
    HtmlExporter(MApp& app, ProgramFolder program);

    static QString incompleteMessage() {
        return QStringLiteral("ドキュメント情報が詳細に定義されていないためhtml出力ができません。");
    }
    static QString doneMessage() { return QStringLiteral("htmlファイルを書き出しました。"); }

    // The page text, or nothing when the document information is incomplete
    // or the design cannot be read; errorString() says which.
    std::optional<QString> render();

    // Creates outputPath, copies the design's resources into it and writes
    // outputPath/NAME.html (NAME being the folder's own name) with the page
    // text and one more line end. Returns the page's path, or nothing; then
    // errorString() gives the reason and nothing is left behind.
    std::optional<QString> write(const QString& page, const QString& outputPath);

    const QString& errorString() const { return m_error; }

private:
    std::optional<QString> fail(const QString& message);

    MApp& m_app;
    ProgramFolder m_program;
    QString m_error;
};
