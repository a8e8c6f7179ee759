#pragma once

#include "design/ProgramFolder.h"
#include "project/Project.h"
#include "text/Result.h"

#include <QString>
#include <QStringList>

class QIODevice;

// brindlewick-cli: the program's page making and project conversion for
// scripts. Everything it prints goes to the two devices it is given, so it
// runs in-process in tests.
class CliApplication {
public:
    enum ExitCode { Success = 0, InputOutputError = 1, UsageError = 2 };

    CliApplication(ProgramFolder defaultProgramFolder, QIODevice& out, QIODevice& err);

    // arguments[0] is the program's name, as in main().
    int run(const QStringList& arguments);
    // The arguments as the system passed them. One whose bytes do not
    // survive decoding is refused: as a path it would name another file.
    int run(const QList<QByteArray>& arguments);

private:
    int render(const QStringList& args, const ProgramFolder& program);
    int exportPage(const QStringList& args, const ProgramFolder& program);
    int dump(const QStringList& args);
    int import(const QStringList& args);
    // Replaces the project's entries with those of a CSV file, or appends
    // them; a project that does not exist yet is made.
    int importCsv(const QStringList& args, bool append);
    int exportCsv(const QStringList& args, const QString& encodingName);
    int designs(const ProgramFolder& program);

    Result<Project> loadProject(const QString& path);
    int usage(const QString& message);
    int fail(const QString& message);
    // Writes to standard output; fails when the output is lost.
    Status print(const QByteArray& bytes);
    Status print(const QString& text) { return print(text.toUtf8()); }

    ProgramFolder m_defaultProgramFolder;
    QIODevice& m_out;
    QIODevice& m_err;
};
