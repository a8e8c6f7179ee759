#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Every question, report and file dialog the program shows goes through this
// interface. The window program implements it with message boxes and file
// dialogs; tests replace it with scripted answers.
class UserDialogs {
public:
    // What a file dialog returned: the full path and the file's name without
    // its folder. Both are empty when the user cancelled.
    struct FileChoice {
        QString fileName;
        QString fileTitle;
        // The file type chosen, one of the filter's types; the first when
        // the dialog offers no choice.
        QString fileType;

        bool cancelled() const { return fileName.isEmpty(); }
    };

    // Where the program writes the file for a name chosen in a save dialog.
    using SavePath = std::function<QString(const QString& chosen)>;

    // The title of the program's questions and ordinary reports.
    static QString boxTitle() { return QStringLiteral("B.W.K"); }

    virtual ~UserDialogs() = default;

    // The button Enter presses.
    enum class Preselected { Yes, No };

    // A question with Yes and No. Returns true for Yes. A question whose Yes
    // would overwrite someone else's work preselects No.
    virtual bool askYesNo(const QString& text, const QString& title,
                          Preselected preselected = Preselected::Yes) = 0;
    // A question with the caller's buttons, the first preselected. Returns
    // the index of the button pressed; Esc and the close box press the last
    // one, which is to be the one that changes nothing.
    virtual int askChoice(const QString& text, const QString& title,
                          const QStringList& buttons) = 0;
    // A report with an OK button only.
    virtual void report(const QString& text, const QString& title) = 0;
    virtual void beep() = 0;

    // filter is shown as given, e.g. "B.W.Kファイル (*.bwk)".
    virtual FileChoice chooseFileToOpen(const QString& filter) = 0;
    // A save dialog for a name that need not exist yet. Names that exist are
    // not asked about: the export refuses them itself.
    virtual FileChoice chooseFileToSave(const QString& filter) = 0;
    // A save dialog for a file the program then writes at savePath(name).
    // When that file exists, the dialog asks before it is replaced; No
    // leaves the user in the dialog to choose another name or cancel.
    virtual FileChoice chooseFileToReplace(const QString& filter, const SavePath& savePath) = 0;
};
