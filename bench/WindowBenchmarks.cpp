// What the window program does per command, at the sizes users keep, each
// measured until the table has been painted: opening a project, adding,
// moving, undoing and redoing one change, sorting, showing a table that
// holds one answer of millions of characters and changing its current row;
// and from one edit to the preview's page painted. A change should stay well
// under one frame (16 ms).

#include "BenchProjects.h"
#include "app/EntryCommands.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"
#include "design/PreviewBuilder.h"
#include "forms/DocumentViewForm.h"
#include "forms/MainForm.h"
#include "forms/PreviewScheme.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

// Every question is answered Yes and no dialog is shown while measuring.
class SilentDialogs : public UserDialogs {
public:
    bool askYesNo(const QString&, const QString&, Preselected) override { return true; }
    void report(const QString&, const QString&) override {}
    void beep() override {}
    FileChoice chooseFileToOpen(const QString&) override { return {}; }
    FileChoice chooseFileToSave(const QString&) override { return {}; }
    FileChoice chooseFileToReplace(const QString&, const SavePath&) override { return {}; }
};

// A shown main window holding the generated project of `entries` entries.
struct ShownWindow {
    explicit ShownWindow(int entries)
        : window(dialogs, BenchProjects::instance().programFolder()) {
        window.projectModel().replaceProject(BenchProjects::instance().project(entries),
                                             ProjectModel::Marking::Unmodified);
        window.show();
        QApplication::processEvents();
    }

    void trigger(const char* action) {
        window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
    // Lets the view catch up and paints the table at once.
    void paint() {
        QApplication::processEvents();
        window.findChild<QTreeView*>(QStringLiteral("QAListView"))->viewport()->repaint();
    }

    SilentDialogs dialogs;
    MainForm window;
};

// Appends one entry to a shown table of `entries` rows, makes it current and
// lets the view catch up, as the add and paste commands do.
void addRowToShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    const QAEntry entry{QStringLiteral("追加した質問"), QStringLiteral("答え"), 1};
    ProjectModel& project = shown.window.projectModel();
    for (auto _ : state) {
        project.appendEntry(entry);
        shown.window.entryCommands().setCurrentPosition(project.entries().count());
        QApplication::processEvents();
        state.PauseTiming();
        project.removeEntry(project.entries().count());
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(addRowToShownTable)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

// From the command that opens a project file to the table painted.
void openProjectUntilShown(benchmark::State& state) {
    const QString file = BenchProjects::instance().projectFile(int(state.range(0)));
    ShownWindow shown(1);
    for (auto _ : state) {
        shown.window.openAtStart(file);
        shown.paint();
    }
}
BENCHMARK(openProjectUntilShown)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

// One entry in the middle moved down by the menu command, then that move
// undone, then made again, each until the table is painted.
enum Step { Move, Undo, Redo };

void moveUndoRedoInShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    const auto step = Step(state.range(1));
    shown.window.entryCommands().setCurrentPosition(state.range(0) / 2);
    shown.paint();
    for (auto _ : state) {
        state.PauseTiming();
        if (step != Move)
            shown.trigger("down_QACommand");
        if (step == Redo)
            shown.trigger("undo_QACommand");
        shown.paint();
        state.ResumeTiming();
        shown.trigger(step == Move   ? "down_QACommand"
                      : step == Undo ? "undo_QACommand"
                                     : "redo_QACommand");
        shown.paint();
        // Back where it started: an undo has put it back already.
        state.PauseTiming();
        if (step != Undo)
            shown.trigger("up_QACommand");
        state.ResumeTiming();
    }
}
BENCHMARK(moveUndoRedoInShownTable)
    ->ArgNames({"entries", "step"})
    ->Args({32767, Move})
    ->Args({32767, Undo})
    ->Args({32767, Redo})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The sort command on the generated order, until the table is painted.
void sortShownTable(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    for (auto _ : state) {
        shown.trigger("sort_QACommand");
        shown.paint();
        state.PauseTiming();
        shown.trigger("undo_QACommand");
        shown.paint();
        state.ResumeTiming();
    }
}
BENCHMARK(sortShownTable)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

// The generated project of `entries` entries whose middle answer is made
// `length` characters long (0 keeps the generated one), as a whole document
// pasted into one answer: lines of a thousand characters.
Project withLongAnswer(int entries, qsizetype length) {
    Project project = BenchProjects::instance().project(entries);
    const QString line = QString(1000, u'長') + QStringLiteral("\r\n");
    if (length > 0)
        project.entries.item(entries / 2).answer = line.repeated(length / line.size());
    return project;
}

// The project put in the table, the long answer's row current, until the
// table is painted.
void showTableWithLongAnswer(benchmark::State& state) {
    ShownWindow shown(1);
    const Project project = withLongAnswer(int(state.range(0)), state.range(1));
    for (auto _ : state) {
        shown.window.projectModel().replaceProject(project, ProjectModel::Marking::Unmodified);
        shown.window.entryCommands().setCurrentPosition(project.entries.count() / 2);
        shown.paint();
    }
}
BENCHMARK(showTableWithLongAnswer)
    ->ArgNames({"entries", "answer"})
    ->Args({1000, 0})
    ->Args({1000, 5'000'000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The current row moved between the long answer's entry and the one after
// it, until the table is painted.
void changeRowNextToLongAnswer(benchmark::State& state) {
    ShownWindow shown(1);
    const Project project = withLongAnswer(int(state.range(0)), state.range(1));
    shown.window.projectModel().replaceProject(project, ProjectModel::Marking::Unmodified);
    const qsizetype middle = project.entries.count() / 2;
    qsizetype next = middle;
    shown.paint();
    for (auto _ : state) {
        next = next == middle ? middle + 1 : middle;
        shown.window.entryCommands().setCurrentPosition(next);
        shown.paint();
    }
}
BENCHMARK(changeRowNextToLongAnswer)
    ->ArgNames({"entries", "answer"})
    ->Args({1000, 0})
    ->Args({1000, 5'000'000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Waits for the preview to have loaded what it was given; false after a
// minute without.
bool previewLoaded(DocumentViewForm& view) {
    QEventLoop loop;
    QObject::connect(&view, &DocumentViewForm::loadFinished, &loop, [&loop] { loop.exit(1); });
    QTimer::singleShot(60000, &loop, [&loop] { loop.exit(0); });
    return loop.exec() == 1;
}

// From an edit of one entry to the open preview's page loaded and painted
// by the browser engine.
void editUntilPreviewShown(benchmark::State& state) {
    ShownWindow shown(int(state.range(0)));
    shown.trigger("DocumentView_ProjectMenu");
    DocumentViewForm& view = shown.window.documentView();
    if (!previewLoaded(view))
        return state.SkipWithError("the preview did not load");
    ProjectModel& project = shown.window.projectModel();
    QAEntry entry = project.entries().item(state.range(0) / 2);
    for (auto _ : state) {
        entry.question += u'!';
        project.replaceEntry(state.range(0) / 2, entry);
        if (!previewLoaded(view))
            return state.SkipWithError("the preview did not load");
    }
}
BENCHMARK(editUntilPreviewShown)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The preview's build steps: the page, the emptied folder, the design's
// files and default.html.
void buildPreviewFolder(benchmark::State& state) {
    const Project& project = BenchProjects::instance().project(int(state.range(0)));
    const QString folder = BenchProjects::instance().scratchPath(QStringLiteral("preview"));
    QDir().mkpath(folder);
    PreviewBuilder builder(project, BenchProjects::instance().programFolder());
    for (auto _ : state) {
        if (const Result<QString> built = builder.build(folder); !built)
            state.SkipWithError(qPrintable(built.error()));
    }
}
BENCHMARK(buildPreviewFolder)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine of the preview will not start its sandbox as root.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The windows keep recent files and places; never in the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    PreviewScheme::registerScheme();
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
