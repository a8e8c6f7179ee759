#include "forms/WidgetDialogs.h"

#include "forms/SaveFileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString titleOrProgramName(const QString& title) {
    return title.isEmpty() ? QApplication::applicationName() : title;
}

UserDialogs::FileChoice choiceFor(const QString& fileName) {
    if (fileName.isEmpty())
        return {};
    return {fileName, QFileInfo(fileName).fileName()};
}

} // namespace

bool WidgetDialogs::askYesNo(const QString& text, const QString& title, Preselected preselected) {
    QMessageBox box(QMessageBox::NoIcon, titleOrProgramName(title), text,
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(preselected == Preselected::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void WidgetDialogs::report(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, titleOrProgramName(title), text, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

void WidgetDialogs::beep() {
    QApplication::beep();
}

UserDialogs::FileChoice WidgetDialogs::chooseFileToOpen(const QString& filter) {
    return choiceFor(QFileDialog::getOpenFileName(m_parent, QString(), QString(), filter, nullptr,
                                                  QFileDialog::DontUseNativeDialog));
}

UserDialogs::FileChoice WidgetDialogs::chooseFileToSave(const QString& filter) {
    return choiceFor(QFileDialog::getSaveFileName(m_parent, QString(), QString(), filter, nullptr,
                                                  QFileDialog::DontConfirmOverwrite |
                                                      QFileDialog::DontUseNativeDialog));
}

UserDialogs::FileChoice WidgetDialogs::chooseFileToReplace(const QString& filter,
                                                           const SavePath& savePath) {
    SaveFileDialog dialog(m_parent, filter, savePath);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return choiceFor(dialog.selectedFiles().value(0));
}
