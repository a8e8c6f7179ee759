#include "forms/PageSourceWindow.h"

#include "app/Cp932Codec.h"
#include "app/FileWriter.h"
#include "app/TextFile.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

PageSourceWindow::PageSourceWindow(const QString& path, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_path(path) {
    setWindowTitle(path);
    setAttribute(Qt::WA_DeleteOnClose);
    SourceEdit = new QPlainTextEdit(this);
    SourceEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    SourceEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString error;
    SourceEdit->setPlainText(TextFile::read(path, &error)
                                 .value_or(error)
                                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    SaveButton = new QPushButton(QStringLiteral("保存"), this);
    auto* status = new QLabel(this);

    connect(SaveButton, &QPushButton::clicked, this, [this, status] {
        const QString failure = save();
        status->setText(failure.isEmpty() ? QStringLiteral("保存しました。") : failure);
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status, 1);
    bottom->addWidget(SaveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SourceEdit);
    layout->addLayout(bottom);
    resize(720, 560);
}

QString PageSourceWindow::save() {
    QByteArray bytes;
    Cp932Codec::encodeForHtml(SourceEdit->toPlainText().replace(u'\n', QStringLiteral("\r\n")),
                              bytes);
    return FileWriter::replaceAtomically(m_path, bytes);
}
