// The benchmarks compare the engine with PageBaseline, which only means
// something while both make the same page: that is checked before anything
// is measured.

#include "BenchProjects.h"
#include "PageBaseline.h"
#include "design/WrepClass.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

bool baselineMatchesEngine() {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(25);
    WrepClass engine(project, projects.programFolder());
    return engine.runText(projects.designText()) && engine.sorce() == PageBaseline::build(project);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (!baselineMatchesEngine()) {
        std::fprintf(stderr, "The hand-written baseline and the engine make different pages.\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
