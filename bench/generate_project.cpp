// brindlewick-generate ENTRIES OUTPUT.bwk: writes a generated project, for
// measuring brindlewick-cli as a whole process.

#include "ProjectGenerator.h"
#include "project/BwkWriter.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool ok = false;
    const int entries = args.size() == 3 ? args.at(1).toInt(&ok) : 0;
    if (!ok || entries < 0) {
        std::fprintf(stderr, "usage: brindlewick-generate ENTRIES OUTPUT.bwk\n");
        return 2;
    }
    const Project project = ProjectGenerator::make(entries);
    const Status written = BwkWriter::writeFile(args.at(2), project.document, project.entries);
    if (!written) {
        std::fprintf(stderr, "brindlewick-generate: %s\n", qPrintable(written.error()));
        return 1;
    }
    return 0;
}
