#pragma once

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

    // A page can be produced only when the design is chosen and all six texts
    // are filled. Nothing is trimmed: a text of blanks counts as filled.
    bool isCompleteForPage() const {
        return hasDesign() && !DocumentCreater.isEmpty() && !DocumentHomepage.isEmpty() &&
               !DocumentMail.isEmpty() && !DocumentDataview.isEmpty() && !DocumentTitle.isEmpty();
    }

    friend bool operator==(const DocumentInfo&, const DocumentInfo&) = default;
};
