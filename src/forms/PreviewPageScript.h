#pragma once

#include "design/PageChanges.h"

#include <QString>
#include <QWebEngineScript>
#include <vector>

// What the preview window asks of its page, as calls of the window's own
// script (PreviewPage.js). That script lives in a world of its own in each
// page it shows, so the page's scripts neither see it nor get in its way.
class PreviewPageScript {
public:
    // The world the window's script and these calls run in.
    static constexpr quint32 kWorld = QWebEngineScript::ApplicationWorld;

    // The script itself, put into every page the window shows.
    static QWebEngineScript helper();

    // Takes the changed stretches into the shown page; the call's value is
    // "updated", or "reload" when the page has to be loaded anew.
    static QString update(const std::vector<PageChanges::Region>& regions);
    // Reads the page's file into the script: what a change is compared
    // with. Asked for as soon as the page is shown, before a rebuild
    // replaces the file.
    // The long lists of the page are paired with the shown ones then too.
    static QString remember(const PageOutline& page);
    // What the reader did in the page (scroll position, search text, open
    // answers), as text for restore().
    static QString state();
    static QString restore(const QString& saved);
    // Whether the page restore() was given has been laid out at the
    // reader's place: true, or false while it still moves.
    static QString settled();
};
