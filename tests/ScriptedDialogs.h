#pragma once

#include "app/UserDialogs.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>

// Answers the program's questions and file dialogs from a script, and keeps
// what it was shown. A question or dialog that the script does not expect is
// recorded in `unexpected` and answered No / cancelled.
class ScriptedDialogs : public UserDialogs {
public:
    struct Shown {
        QString text;
        QString title;
        Preselected preselected = Preselected::Yes;
        bool operator==(const Shown&) const = default;
    };

    // The answers to the next questions, Yes being true.
    QList<bool> answers;
    // The buttons pressed in the next questions with the caller's buttons,
    // by their index.
    QList<int> choices;
    // The paths the next file dialogs return; an empty one cancels.
    QStringList files;
    // The file types chosen in the next file dialogs; the first of the
    // filter when none is given.
    QStringList fileTypes;
    QList<Shown> questions;
    QList<Shown> reports;
    // The text of every question and report and the filter of every file
    // dialog, in the order shown.
    QStringList shown;
    int beeps = 0;
    QStringList unexpected;

    bool askYesNo(const QString& text, const QString& title,
                  Preselected preselected = Preselected::Yes) override {
        questions.append({text, title, preselected});
        shown.append(text);
        if (answers.isEmpty())
            unexpected.append(text);
        return !answers.isEmpty() && answers.takeFirst();
    }
    int askChoice(const QString& text, const QString& title, const QStringList& buttons) override {
        questions.append({text, title});
        shown.append(text);
        if (choices.isEmpty())
            unexpected.append(text);
        return choices.isEmpty() ? int(buttons.size()) - 1 : choices.takeFirst();
    }
    void report(const QString& text, const QString& title) override {
        reports.append({text, title});
        shown.append(text);
    }
    void beep() override { ++beeps; }
    FileChoice chooseFileToOpen(const QString& filter) override { return nextFile(filter); }
    FileChoice chooseFileToSave(const QString& filter) override { return nextFile(filter); }
    // No question about a file that would be replaced: the real dialog asks
    // that, and is tested as such.
    FileChoice chooseFileToReplace(const QString& filter, const SavePath&) override {
        return nextFile(filter);
    }

    bool allAnswered() const {
        return answers.isEmpty() && choices.isEmpty() && files.isEmpty() && fileTypes.isEmpty() &&
               unexpected.isEmpty();
    }

private:
    FileChoice nextFile(const QString& filter) {
        shown.append(filter);
        if (files.isEmpty())
            unexpected.append(QStringLiteral("file dialog ") + filter);
        const QString path = files.isEmpty() ? QString() : files.takeFirst();
        const QString type = fileTypes.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0)
                                                 : fileTypes.takeFirst();
        return path.isEmpty() ? FileChoice{} : FileChoice{path, QFileInfo(path).fileName(), type};
    }
};
