// editor_launch_helper FILE: opens FILE in the desktop's text editor as the
// preview's ▼ does and ends with 0 once the desktop has taken it, 1 when the
// window would show its own source window instead. GIO reads the desktop once
// per process, so tst_texteditorlauncher starts one helper per made-up desktop.

#include "forms/TextEditorLauncher.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2)
        return 2;
    TextEditorLauncher launcher;
    QObject::connect(&launcher, &TextEditorLauncher::opened, [] { QCoreApplication::exit(0); });
    QObject::connect(&launcher, &TextEditorLauncher::noEditor, [] { QCoreApplication::exit(1); });
    launcher.open(args.at(1));
    return QCoreApplication::exec();
}
