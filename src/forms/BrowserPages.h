#pragma once

#include <QUrl>

class UserDialogs;

// Opens a page in the desktop's web browser, and says so, naming the page,
// when no browser can be started: a menu item that does nothing visible
// leaves the user guessing.
class BrowserPages {
public:
    static bool open(const QUrl& page, UserDialogs& dialogs);
};
