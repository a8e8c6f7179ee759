#pragma once

#include "app/UserDialogs.h"

#include <QPointer>
#include <QWidget>

// Questions and reports as message boxes without an icon, files chosen in
// Qt's own file dialogs, which speak the program's language whatever the
// desktop's dialogs would.
class WidgetDialogs : public UserDialogs {
public:
    explicit WidgetDialogs(QWidget* parent = nullptr)
        : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    bool askYesNo(const QString& text, const QString& title,
                  Preselected preselected = Preselected::Yes) override;
    int askChoice(const QString& text, const QString& title, const QStringList& buttons) override;
    void report(const QString& text, const QString& title) override;
    void beep() override;
    FileChoice chooseFileToOpen(const QString& filter) override;
    FileChoice chooseFileToSave(const QString& filter) override;
    FileChoice chooseFileToReplace(const QString& filter, const SavePath& savePath) override;

private:
    // Cleared with the window, so that a last report can still be shown
    // after it has gone.
    QPointer<QWidget> m_parent;
};
