// How the time for hostile input grows with its size. Each benchmark runs
// over sizes four times apart and lets Google Benchmark fit the growth: the
// fitted complexity must come out as N, never N^2.

#include "BenchProjects.h"
#include "design/WrepClass.h"
#include "project/BwkReader.h"
#include "project/Project.h"
#include "text/Cp932Codec.h"

#include <benchmark/benchmark.h>

namespace {

void hostileSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->RangeMultiplier(4)
        ->Range(1 << 16, 1 << 22)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMillisecond);
}

Project threeEntries() {
    Project project;
    project.document.DocumentTitle = QStringLiteral("FAQ");
    for (int i = 1; i <= 3; ++i)
        project.entries.append(QAEntry{QStringLiteral("Q%1").arg(i), QStringLiteral("A"), 1});
    return project;
}

void runDesign(benchmark::State& state, const QString& design,
               const Project& project = threeEntries()) {
    WrepClass engine(project, ProgramFolder(QStringLiteral("/nonexistent")));
    for (auto _ : state) {
        if (const Status run = engine.runText(design); !run)
            state.SkipWithError(qPrintable(run.error()));
        benchmark::DoNotOptimize(engine.sorce().constData());
    }
    state.SetComplexityN(state.range(0));
}

void BM_DesignOfOneLongLine(benchmark::State& state) {
    runDesign(state, QString(state.range(0), u'x') + QStringLiteral("[document.title]"));
}
BENCHMARK(BM_DesignOfOneLongLine)->Apply(hostileSizes);

void BM_DesignOfUnclosedBrackets(benchmark::State& state) {
    runDesign(state, QStringLiteral("[a").repeated(state.range(0) / 2));
}
BENCHMARK(BM_DesignOfUnclosedBrackets)->Apply(hostileSizes);

void BM_DesignOfUnclosedLoops(benchmark::State& state) {
    runDesign(state, QStringLiteral("[loop::]").repeated(state.range(0) / 8));
}
BENCHMARK(BM_DesignOfUnclosedLoops)->Apply(hostileSizes);

void BM_DesignOfStrayLoopEnds(benchmark::State& state) {
    runDesign(state, QStringLiteral("[loop::]x[::loop]") +
                         QStringLiteral("[::loop]").repeated(state.range(0) / 8));
}
BENCHMARK(BM_DesignOfStrayLoopEnds)->Apply(hostileSizes);

void BM_DesignOfOneLongKey(benchmark::State& state) {
    runDesign(state, u'[' + QString(state.range(0), u'k') + u']');
}
BENCHMARK(BM_DesignOfOneLongKey)->Apply(hostileSizes);

void BM_DesignOfManyKeysInALoop(benchmark::State& state) {
    runDesign(state, QStringLiteral("[loop::]") +
                         QStringLiteral("[question.]").repeated(state.range(0) / 11) +
                         QStringLiteral("[::loop]"));
}
BENCHMARK(BM_DesignOfManyKeysInALoop)->Apply(hostileSizes);

// Many loop blocks over the largest project: blocks whose passes write
// nothing only move the counter, so the time grows with the design alone,
// not with blocks times entries.
void BM_DesignOfManyEmptyBlocks(benchmark::State& state) {
    runDesign(state, QStringLiteral("[loop::][::loop]").repeated(state.range(0) / 16),
              BenchProjects::instance().project(32767));
}
BENCHMARK(BM_DesignOfManyEmptyBlocks)->Apply(hostileSizes);

void BM_DesignOfManyCountIncBlocks(benchmark::State& state) {
    runDesign(state,
              QStringLiteral("[loop::][count.inc][unknown][::loop]").repeated(state.range(0) / 36) +
                  QStringLiteral("[count.selected]"),
              BenchProjects::instance().project(32767));
}
BENCHMARK(BM_DesignOfManyCountIncBlocks)->Apply(hostileSizes);

void BM_DecodeInvalidBytes(benchmark::State& state) {
    const QByteArray bytes = QByteArray("\x81\xFF\x9F\r\x82", 5).repeated(state.range(0) / 5);
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp932Codec::decode(bytes));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DecodeInvalidBytes)->Apply(hostileSizes);

void BM_ReadUnclosedDescription(benchmark::State& state) {
    const QString text = QStringLiteral("T\r\nH\r\nM\r\nC\r\nc\r\nf\r\n\"") +
                         QStringLiteral("line\r\n").repeated(state.range(0) / 6);
    for (auto _ : state)
        benchmark::DoNotOptimize(BwkReader::parse(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadUnclosedDescription)->Apply(hostileSizes);

void BM_ReadManyEmptyEntries(benchmark::State& state) {
    const QString text = QStringLiteral("T\r\nH\r\nM\r\nC\r\nc\r\nf\r\n\"\"\r\n") +
                         QStringLiteral("1\r\n\r\n\"\"\r\n").repeated(state.range(0) / 9);
    for (auto _ : state)
        benchmark::DoNotOptimize(BwkReader::parse(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadManyEmptyEntries)->Apply(hostileSizes);

} // namespace
