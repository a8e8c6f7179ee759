// Reading and saving .bwk files of generated projects.

#include "BenchProjects.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "text/Cp932Codec.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void entrySizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);
}

void BM_ReadProjectFile(benchmark::State& state) {
    const QString path = BenchProjects::instance().projectFile(int(state.range(0)));
    for (auto _ : state) {
        Result<Project> result = BwkReader::readFile(path);
        if (!result)
            state.SkipWithError(qPrintable(result.error()));
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadProjectFile)->Apply(entrySizes);

// The two halves of reading, to see which one a change helps.
void BM_DecodeProjectBytes(benchmark::State& state) {
    const QByteArray bytes = fileBytes(BenchProjects::instance().projectFile(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp932Codec::decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeProjectBytes)->Apply(entrySizes);

void BM_ParseProjectText(benchmark::State& state) {
    const QString text =
        Cp932Codec::decode(fileBytes(BenchProjects::instance().projectFile(int(state.range(0)))));
    for (auto _ : state)
        benchmark::DoNotOptimize(BwkReader::parse(text));
}
BENCHMARK(BM_ParseProjectText)->Apply(entrySizes);

void BM_WriteProjectFile(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const Project& project = projects.project(int(state.range(0)));
    const QString path = projects.scratchPath(QStringLiteral("written.bwk"));
    for (auto _ : state) {
        const Status written = BwkWriter::writeFile(path, project.document, project.entries);
        if (!written)
            state.SkipWithError(qPrintable(written.error()));
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_WriteProjectFile)->Apply(entrySizes);

void BM_EncodeProject(benchmark::State& state) {
    const Project& project = BenchProjects::instance().project(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BwkWriter::encode(project.document, project.entries));
}
BENCHMARK(BM_EncodeProject)->Apply(entrySizes);

} // namespace
