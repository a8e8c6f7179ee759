#include "app/MApp.h"
#include "design/ProgramFolder.h"
#include "forms/MainForm.h"
#include "forms/WidgetDialogs.h"

#include <QApplication>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // The browser engine of the preview refuses to start its sandbox as
    // root; ordinary users keep it.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

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
