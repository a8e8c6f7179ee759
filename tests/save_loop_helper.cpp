// save_loop_helper PATH: saves the two projects of SaveCrashProjects.h to
// PATH by turns, for ever, and prints "saved" after each save. tst_savecrash
// starts it and kills it at random moments.

#include "SaveCrashProjects.h"
#include "project/BwkWriter.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: save_loop_helper PATH\n");
        return 2;
    }
    const Project projects[2] = {saveCrashProject(0), saveCrashProject(1)};
    for (int which = 0;; which = 1 - which) {
        const Project& project = projects[which];
        const Status saved = BwkWriter::writeFile(args.at(1), project.document, project.entries);
        if (!saved) {
            std::fprintf(stderr, "save_loop_helper: %s\n", qPrintable(saved.error()));
            return 1;
        }
        std::printf("saved\n");
        std::fflush(stdout);
    }
}
