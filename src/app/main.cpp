#include "app/MApp.h"
#include "app/ProgramFolder.h"
#include "forms/MainForm.h"
#include "forms/WidgetDialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindlewick"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    QApplication::setDesktopFileName(QStringLiteral("brindlewick"));

    MApp app;
    WidgetDialogs dialogs;
    MainForm window(app, dialogs, ProgramFolder::ofExecutable());
    dialogs.setParent(&window);
    window.show();
    return application.exec();
}
