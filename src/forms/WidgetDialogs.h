#pragma once

#include "app/UserDialogs.h"

class QWidget;

// Questions and reports as message boxes without an icon, files chosen in
// file dialogs.
class WidgetDialogs : public UserDialogs {
public:
    explicit WidgetDialogs(QWidget* parent = nullptr)
        : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }

    bool askYesNo(const QString& text, const QString& title) override;
    void report(const QString& text, const QString& title) override;
    void beep() override;
    FileChoice chooseFileToOpen(const QString& filter) override;
    FileChoice chooseFileToSave(const QString& filter) override;

private:
    QWidget* m_parent;
};
