// Making the page: the engine alone, the hand-written baseline, encoding,
// the whole export and the live preview's rebuild.

#include "BenchProjects.h"
#include "PageBaseline.h"
#include "design/HtmlExporter.h"
#include "design/PreviewBuilder.h"
#include "design/WrepClass.h"
#include "text/Cp932Codec.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

void entrySizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);
}

void BM_EngineRunText(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(int(state.range(0)));
    WrepClass engine(project, projects.programFolder());
    for (auto _ : state) {
        if (const Status run = engine.runText(projects.designText()); !run)
            state.SkipWithError(qPrintable(run.error()));
        benchmark::DoNotOptimize(engine.sorce().constData());
    }
    state.counters["page_chars"] = double(engine.sorce().size());
}
BENCHMARK(BM_EngineRunText)->Apply(entrySizes);

// As the program calls it: reads the design file, then runs it.
void BM_EngineDdcDatacode(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(int(state.range(0)));
    WrepClass engine(project, projects.programFolder());
    for (auto _ : state) {
        if (const Status run = engine.ddc_datacode(); !run)
            state.SkipWithError(qPrintable(run.error()));
        benchmark::DoNotOptimize(engine.sorce().constData());
    }
}
BENCHMARK(BM_EngineDdcDatacode)->Apply(entrySizes);

void BM_HandWrittenBaseline(benchmark::State& state) {
    const Project& project = BenchProjects::instance().project(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(PageBaseline::build(project));
}
BENCHMARK(BM_HandWrittenBaseline)->Apply(entrySizes);

// The page as the engine leaves it, which is what the program encodes.
QString enginePage(int entryCount) {
    BenchProjects& projects = BenchProjects::instance();
    WrepClass engine(projects.project(entryCount), projects.programFolder());
    (void)engine.runText(projects.designText());
    return engine.sorce();
}

void BM_EncodePage(benchmark::State& state) {
    const QString page = enginePage(int(state.range(0)));
    qsizetype encodedSize = 0;
    for (auto _ : state) {
        QByteArray bytes;
        Cp932Codec::encodeForHtml(page, bytes);
        encodedSize = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.counters["page_bytes"] = double(encodedSize);
}
BENCHMARK(BM_EncodePage)->Apply(entrySizes);

// The encoding alone, into a buffer kept from the run before: without the
// first touch of fresh memory, which grows with the page but is the
// system's work, not the encoder's.
void BM_EncodePageIntoReusedBuffer(benchmark::State& state) {
    const QString page = enginePage(int(state.range(0)));
    QByteArray bytes;
    for (auto _ : state) {
        bytes.resize(0);
        Cp932Codec::encodeForHtml(page, bytes);
        benchmark::DoNotOptimize(bytes.constData());
    }
}
BENCHMARK(BM_EncodePageIntoReusedBuffer)->Apply(entrySizes);

void BM_PageTextAndEncoding(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(int(state.range(0)));
    WrepClass engine(project, projects.programFolder());
    for (auto _ : state) {
        if (const Status run = engine.runText(projects.designText()); !run)
            state.SkipWithError(qPrintable(run.error()));
        QByteArray bytes;
        Cp932Codec::encodeForHtml(engine.sorce(), bytes);
        benchmark::DoNotOptimize(bytes.constData());
    }
}
BENCHMARK(BM_PageTextAndEncoding)->Apply(entrySizes);

// render() and write() into a new folder, as the export command does.
void BM_HtmlExport(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(int(state.range(0)));
    const QString folder = projects.scratchPath(QStringLiteral("export"));
    for (auto _ : state) {
        HtmlExporter exporter(project, projects.programFolder());
        const Result<QString> page = exporter.render();
        const Result<QString> written = page ? exporter.write(*page, folder) : page;
        if (!written)
            state.SkipWithError(qPrintable(written.error()));
        state.PauseTiming();
        QDir(folder).removeRecursively();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HtmlExport)->Apply(entrySizes);

// Everything the window program does after a change: page, copy of the
// design's files, default.html.
void BM_PreviewBuild(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(int(state.range(0)));
    const QString folder = projects.scratchPath(QStringLiteral("default"));
    QDir().mkpath(folder);
    for (auto _ : state) {
        PreviewBuilder builder(project, projects.programFolder());
        if (const Result<QString> built = builder.build(folder); !built)
            state.SkipWithError(qPrintable(built.error()));
    }
}
BENCHMARK(BM_PreviewBuild)->Apply(entrySizes);

} // namespace
