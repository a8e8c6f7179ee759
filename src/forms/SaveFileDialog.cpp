#include "forms/SaveFileDialog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

SaveFileDialog::SaveFileDialog(QWidget* parent, const QString& filter,
                               UserDialogs::SavePath savePath)
    : QFileDialog(parent, QString(), QString(), filter)
    , m_savePath(std::move(savePath)) {
    setAcceptMode(AcceptSave);
    // The dialog would ask about the typed name; the question is about the
    // name written.
    setOptions(DontUseNativeDialog | DontConfirmOverwrite);
}

void SaveFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    // A folder typed as the name is opened by the dialog, not saved over.
    if (chosen.size() == 1 && !QFileInfo(chosen.first()).isDir()) {
        const QFileInfo target(m_savePath(chosen.first()));
        if (target.exists() && !replaceConfirmed(target.fileName()))
            return;
    }
    QFileDialog::accept();
}

bool SaveFileDialog::replaceConfirmed(const QString& fileName) {
    const QString question = QCoreApplication::translate(
        "QFileDialog", "%1 already exists.\nDo you want to replace it?");
    return QMessageBox::warning(this, windowTitle(), question.arg(fileName),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}
