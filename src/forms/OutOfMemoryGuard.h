#pragma once

#include <QString>
#include <functional>

class UserDialogs;

// The last line of defence against running out of memory: an allocation
// that fails anywhere in the program ends it with a message instead of an
// abort without a word.
class OutOfMemoryGuard {
public:
    static QString message();

    // Returns what run returns, or 1 after reporting the failure.
    static int run(const std::function<int()>& run, UserDialogs& dialogs);
};
