#include "design/ProgramFolder.h"
#include "forms/JapaneseTranslation.h"
#include "forms/MainForm.h"
#include "forms/OutOfMemoryGuard.h"
#include "forms/PreviewEngine.h"
#include "forms/WidgetDialogs.h"
#include "text/Cp932Codec.h"
#include "text/TextFile.h"
#include "text/Version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <unistd.h>

namespace {

// The project file named on the command line, as the desktop passes it
// when a .bwk is opened with the program; empty when there is none. A name
// whose bytes do not survive decoding fails: opened, it would be another
// file, which the next save would overwrite.
Result<QString> projectFileArgument(const QApplication& application, int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("FAQ ページ作成ツール"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("開くプロジェクトファイル (.bwk)"),
                                 QStringLiteral("[FILE]"));
    parser.process(application);
    // Qt has taken its own options out of argv: what is left is what the
    // parser saw, as the bytes the system passed.
    for (int index = 1; index < argc; ++index) {
        if (const Result<QString> name = TextFile::decodeFileName(QByteArray(argv[index])); !name)
            return name.failure();
    }
    return parser.positionalArguments().value(0);
}

// --help and --version only print, so they work where there is no display,
// such as a console of a machine without a desktop.
bool onlyPrints(int argc, char* argv[]) {
    for (int index = 1; index < argc; ++index) {
        const QByteArrayView argument(argv[index]);
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (argument == option)
                return true;
        }
    }
    return false;
}

int runWindow(const Result<QString>& projectFile, WidgetDialogs& dialogs) {
    MainForm window(dialogs, ProgramFolder::ofExecutable());
    dialogs.setParent(&window);
    window.show();
    window.offerRecovery();
    if (!projectFile) {
        dialogs.beep();
        dialogs.report(projectFile.error(), UserDialogs::boxTitle());
    } else if (!projectFile->isEmpty()) {
        window.openAtStart(*projectFile);
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    // The browser engine of the preview refuses to start its sandbox as
    // root; ordinary users keep it.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (onlyPrints(argc, argv) && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    PreviewEngine::prepare();

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Hollowfen"));
    QApplication::setApplicationName(QStringLiteral("Brindlewick"));
    QApplication::setApplicationVersion(QStringLiteral(BRINDLEWICK_RELEASE));
    QApplication::setDesktopFileName(QStringLiteral("brindlewick"));
    JapaneseTranslation::install(application);
    // Without the code page's tables no project or design can be read, nor
    // a page written.
    if (const Status codec = Cp932Codec::check(); !codec) {
        WidgetDialogs().report(codec.error(), UserDialogs::boxTitle());
        return 1;
    }

    const Result<QString> projectFile = projectFileArgument(application, argc, argv);
    WidgetDialogs dialogs;
    return OutOfMemoryGuard::run([&] { return runWindow(projectFile, dialogs); }, dialogs);
}
