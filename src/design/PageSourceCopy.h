#pragma once

#include "text/Result.h"

#include <QString>

// A UTF-8 copy of the preview page for the desktop's text editor, which reads
// code page 932 as garbage when it guesses UTF-8. It sits beside the preview
// folder, never in it: that folder is served to the page. Editing the copy
// changes nothing of the project; the edits reach the preview's page only
// when the preview is shown again from its file ("更新"), until the next
// build writes the page anew.
class PageSourceCopy {
public:
    // Where the copy of the page at pagePath goes: beside the page's folder,
    // named after the page, "default（UTF-8のコピー）.html".
    static QString pathFor(const QString& pagePath);

    // Writes the copy of the page at pagePath, replacing an older one, and
    // gives its path.
    static Result<QString> write(const QString& pagePath);

    // When the copy was edited after the page was last written (it is newer
    // and its text differs), its text goes back into the page in code page
    // 932, the declaration as the page had it and characters the code page
    // lacks as numeric references, so that the page shows the edits. True
    // when the page was written.
    static Result<bool> writeBack(const QString& pagePath);

    // The page's text as the copy holds it: the same text, only a meta tag's
    // Shift_JIS declaration names UTF-8 instead, so that an editor or a
    // browser that believes the declaration reads the copy right.
    static QString copyText(QString pageText);
};
