#pragma once

#include "text/Result.h"

#include <QString>

// The document information of a project: what the page says about itself and
// which design draws it. Saved with the entries in the project file.
struct DocumentInfo {
    // DocumentCode while no design is chosen: three full-width full stops.
    static QString noDesignCode() { return QStringLiteral("．．．"); }

    QString DocumentTitle;
    QString DocumentCreater;
    QString DocumentHomepage = QStringLiteral("http://");
    QString DocumentMail;
    // The design file relative to the design root, "folder\\base.ddc".
    QString DocumentCode = noDesignCode();
    QString DocumentCodeFolder;
    QString DocumentDataview;

    // What the new-project command starts from: unlike a fresh start, the
    // homepage address is empty too.
    static DocumentInfo forNewProject() {
        DocumentInfo info;
        info.DocumentHomepage.clear();
        return info;
    }

    bool hasDesign() const {
        return DocumentCode != noDesignCode() && !DocumentCodeFolder.isEmpty();
    }

    // Why no page can be made, as an export is refused.
    static QString incompleteMessage() {
        return QStringLiteral("ドキュメント情報が詳細に定義されていないためhtml出力ができません。");
    }

    // Whether a page can be made: the design is chosen and all six texts are
    // filled. Nothing is trimmed: a text of blanks counts as filled. Exports
    // are refused with the message; the preview asks the same and explains
    // in its own words.
    Status checkForPage() const {
        if (!hasDesign() || DocumentCreater.isEmpty() || DocumentHomepage.isEmpty() ||
            DocumentMail.isEmpty() || DocumentDataview.isEmpty() || DocumentTitle.isEmpty())
            return Failure{incompleteMessage()};
        return {};
    }

    // Whether the page text alone can be made, as the command line's render
    // prints it: only the design is needed, so that a design can be tried on
    // a project whose texts are still being written (empty texts make empty
    // places in the page).
    Status checkForPageText() const {
        if (!hasDesign())
            return Failure{incompleteMessage()};
        return {};
    }

    friend bool operator==(const DocumentInfo&, const DocumentInfo&) = default;
};
