#pragma once

#include <QDialog>

class QPushButton;

// The version box: the program's icon, name and version, and the credits.
class AboutForm : public QDialog {
    Q_OBJECT

public:
    explicit AboutForm(QWidget* parent = nullptr);

    static QString homepageAddress() { return QStringLiteral("http://hollowfen.example.com/"); }

private:
    QPushButton* okButton;
};
