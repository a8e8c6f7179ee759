// A window that opens a project, changes it, says "written" once its
// recovery copy is on disk and then waits to be killed by tst_recovery.
//
// Arguments: program folder, recovery folder, open-files folder, project,
// question of the entry to add.

#include "ScriptedDialogs.h"
#include "app/CrashRecovery.h"
#include "app/ProjectModel.h"
#include "forms/MainForm.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 6)
        return 2;
    ScriptedDialogs dialogs;
    MainForm window(dialogs, ProgramFolder(arguments[1]), {arguments[2], arguments[3]});
    QObject::connect(&window.crashRecovery(), &CrashRecovery::written, [](bool ok) {
        std::puts(ok ? "written" : "failed");
        std::fflush(stdout);
    });
    window.openAtStart(arguments[4]);
    window.projectModel().appendEntry({arguments[5], QStringLiteral("一行目\r\n二行目"), 2});
    return QApplication::exec();
}
