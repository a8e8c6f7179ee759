#include "cli/CliApplication.h"
#include "text/Cp932Codec.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <new>

int main(int argc, char* argv[]) {
    // Without the code page's tables no project or design can be read.
    if (const Status codec = Cp932Codec::check(); !codec) {
        std::fprintf(stderr, "brindlewick-cli: %s\n", codec.error().toUtf8().constData());
        return CliApplication::InputOutputError;
    }
    QCoreApplication application(argc, argv);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    CliApplication cli(ProgramFolder::ofExecutable(), out, err);
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    try {
        return cli.run(arguments);
    } catch (const std::bad_alloc&) {
        // The last line of defence: whatever ran out of memory is reported
        // as a failure rather than ending in an abort.
        std::fputs("brindlewick-cli: メモリが足りません。\n", stderr);
        return CliApplication::InputOutputError;
    }
}
