#pragma once

#include "app/UserDialogs.h"

#include <QFileDialog>

// A save dialog that asks before replacing the file the program will write,
// which may be named differently from what was typed ("faq" is saved as
// faq.bwk). It asks in the file dialog's own words, and No leaves the user
// in the dialog.
class SaveFileDialog : public QFileDialog {
    Q_OBJECT

public:
    SaveFileDialog(QWidget* parent, const QString& filter, UserDialogs::SavePath savePath);

    void accept() override;

private:
    bool replaceConfirmed(const QString& fileName);

    UserDialogs::SavePath m_savePath;
};
