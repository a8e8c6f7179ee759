#include "forms/PageSourceWindow.h"

#include "forms/Named.h"
#include "text/Cp932Codec.h"
#include "text/FileWriter.h"
#include "text/LineEnds.h"
#include "text/TextFile.h"

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
    SourceEdit = named(new QPlainTextEdit(this), u"SourceEdit");
    SourceEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    SourceEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    const Result<QString> source = TextFile::read(path);
    SourceEdit->setPlainText(source ? LineEnds::toLf(*source) : source.error());
    SaveButton = named(new QPushButton(QStringLiteral("保存"), this), u"SaveButton");
    auto* status = new QLabel(this);

    connect(SaveButton, &QPushButton::clicked, this, [this, status] {
        const Status saved = save();
        status->setText(saved ? QStringLiteral("保存しました。") : saved.error());
    });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status, 1);
    bottom->addWidget(SaveButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SourceEdit);
    layout->addLayout(bottom);
    resize(720, 560);
}

Status PageSourceWindow::save() {
    QByteArray bytes;
    Cp932Codec::encodeForHtml(LineEnds::toCrLf(SourceEdit->toPlainText()), bytes);
    return FileWriter::replaceAtomically(m_path, bytes);
}
