// How the time for hostile input grows with its size. Each benchmark runs
// over sizes four times apart and lets Google Benchmark fit the growth: the
// fitted complexity must come out as N, never N^2.

#include "app/Cp932Codec.h"
#include "app/MApp.h"
#include "design/WrepClass.h"
#include "project/BwkReader.h"

#include <benchmark/benchmark.h>

namespace {

void hostileSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->RangeMultiplier(4)
        ->Range(1 << 16, 1 << 22)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMillisecond);
}

MApp threeEntries() {
    MApp app;
    app.DocumentTitle = QStringLiteral("FAQ");
    for (int i = 1; i <= 3; ++i)
        app.entries.append(QAEntry{QStringLiteral("Q%1").arg(i), QStringLiteral("A"), 1});
    return app;
}

void runDesign(benchmark::State& state, const QString& design) {
    MApp app = threeEntries();
    WrepClass engine(app, ProgramFolder(QStringLiteral("/nonexistent")));
    for (auto _ : state) {
        engine.runText(design);
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
