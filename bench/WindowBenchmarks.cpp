// What the window program does per change, at the sizes users keep: adding a
// row to the shown table, and rebuilding the preview folder. Each should stay
// well under one frame (16 ms).

#include "BenchProjects.h"
#include "app/ProjectModel.h"
#include "app/UserDialogs.h"
#include "design/PreviewBuilder.h"
#include "forms/EntryCommands.h"
#include "forms/MainForm.h"

#include <QApplication>
#include <QDir>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

// No questions are asked while measuring.
class SilentDialogs : public UserDialogs {
public:
    bool askYesNo(const QString&, const QString&) override { return true; }
    void report(const QString&, const QString&) override {}
    void beep() override {}
    FileChoice chooseFileToOpen(const QString&) override { return {}; }
    FileChoice chooseFileToSave(const QString&) override { return {}; }
};

// Appends one entry to a shown table of `entries` rows, makes it current and
// lets the view catch up, as the add and paste commands do.
void addRowToShownTable(benchmark::State& state) {
    MApp app = BenchProjects::instance().app(int(state.range(0)));
    SilentDialogs dialogs;
    MainForm window(app, dialogs, BenchProjects::instance().programFolder());
    window.show();
    QApplication::processEvents();
    const QAEntry entry{QStringLiteral("追加した質問"), QStringLiteral("答え"), 1};
    ProjectModel& project = window.projectModel();
    for (auto _ : state) {
        project.appendEntry(entry);
        window.entryCommands().setCurrentPosition(project.entries().count());
        QApplication::processEvents();
        state.PauseTiming();
        project.removeEntry(project.entries().count());
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(addRowToShownTable)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

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
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
