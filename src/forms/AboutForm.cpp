#include "forms/AboutForm.h"

#include "forms/FixedDialog.h"
#include "forms/IconImageList.h"
#include "forms/Named.h"
#include "forms/Twips.h"
#include "text/Version.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutForm::AboutForm(QWidget* parent)
    : QDialog(parent, fixedDialogFlags()) {
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto* IconBox = new QLabel(this);
    IconBox->setPixmap(IconImageList::programIcon().pixmap(32, 32));
    IconBox->setAlignment(Qt::AlignTop);

    auto* productName = new QLabel(QStringLiteral("Brindlewick"), this);
    QFont productFont = productName->font();
    productFont.setPointSize(12);
    productName->setFont(productFont);
    auto* version = new QLabel(QStringLiteral("Ver" BRINDLEWICK_VERSION), this);

    auto* StaticLine = new QFrame(this);
    StaticLine->setFrameShape(QFrame::HLine);
    StaticLine->setFrameShadow(QFrame::Sunken);

    auto* developers = new QLabel(QStringLiteral("開発: Brindlewick 開発チーム"), this);
    auto* maker = new QLabel(QStringLiteral("Hollowfen 2026"), this);

    okButton = named(new QPushButton(QStringLiteral("OK"), this), u"okButton");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(Twips::toPixels(240, this));
    grid->addWidget(IconBox, 0, 0, 2, 1);
    grid->addWidget(productName, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(StaticLine, 2, 0, 1, 2);
    grid->addWidget(developers, 3, 0, 1, 2);
    grid->addWidget(maker, 4, 0, 1, 2);
    grid->addWidget(okButton, 5, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
