#include "forms/WidgetDialogs.h"

#include "forms/SaveFileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString titleOrProgramName(const QString& title) {
    return title.isEmpty() ? QApplication::applicationName() : title;
}

UserDialogs::FileChoice choiceFor(const QString& fileName) {
    if (fileName.isEmpty())
        return {};
    return {fileName, QFileInfo(fileName).fileName(), QString()};
}

} // namespace

bool WidgetDialogs::askYesNo(const QString& text, const QString& title, Preselected preselected) {
    QMessageBox box(QMessageBox::NoIcon, titleOrProgramName(title), text,
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(preselected == Preselected::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int WidgetDialogs::askChoice(const QString& text, const QString& title,
                             const QStringList& buttons) {
    QMessageBox box(QMessageBox::NoIcon, titleOrProgramName(title), text, QMessageBox::NoButton,
                    m_parent);
    QList<QAbstractButton*> pressable;
    for (const QString& caption : buttons)
        pressable.append(box.addButton(caption, pressable.size() + 1 == buttons.size()
                                                    ? QMessageBox::RejectRole
                                                    : QMessageBox::AcceptRole));
    if (pressable.isEmpty())
        return -1;
    box.setDefaultButton(qobject_cast<QPushButton*>(pressable.first()));
    box.setEscapeButton(pressable.last());
    box.exec();
    const qsizetype pressed = pressable.indexOf(box.clickedButton());
    return int(pressed < 0 ? pressable.size() - 1 : pressed);
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
    FileChoice choice = choiceFor(dialog.selectedFiles().value(0));
    choice.fileType = dialog.selectedNameFilter();
    return choice;
}
