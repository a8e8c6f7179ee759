#include "forms/OutOfMemoryGuard.h"

#include "app/UserDialogs.h"

#include <new>

QString OutOfMemoryGuard::message() {
    return QStringLiteral("メモリが足りません。");
}

int OutOfMemoryGuard::run(const std::function<int()>& run, UserDialogs& dialogs) {
    try {
        return run();
    } catch (const std::bad_alloc&) {
        // What failed has been unwound by now, which frees enough for the
        // message.
        dialogs.beep();
        dialogs.report(message(), UserDialogs::boxTitle());
        return 1;
    }
}
