#include "forms/BrowserPages.h"

#include "app/UserDialogs.h"

#include <QDesktopServices>

bool BrowserPages::open(const QUrl& page, UserDialogs& dialogs) {
    if (QDesktopServices::openUrl(page))
        return true;
    const QString shown = page.isLocalFile() ? page.toLocalFile() : page.toString();
    dialogs.beep();
    dialogs.report(QStringLiteral("ウェブブラウザを起動できませんでした。次のページをブラウザで"
                                  "開いてください。\n\n%1")
                       .arg(shown),
                   UserDialogs::boxTitle());
    return false;
}
