#pragma once

class QCoreApplication;

// Qt's own texts in Japanese, as every text of the program is: the buttons
// of the message boxes (はい, いいえ) and the file dialogs. Installed at start
// whatever the desktop's language; Qt's translation comes with the system's
// Qt (Debian's qt6-translations-l10n).
class JapaneseTranslation {
public:
    // Returns false when Qt's translation is not installed; Qt's texts then
    // stay English.
    static bool install(QCoreApplication& application);
};
