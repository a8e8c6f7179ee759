// Reading and saving .bwk files of generated projects, importing and
// exporting their entries as CSV, and the recovery copy a window keeps of an
// unsaved one.

#include "BenchProjects.h"
#include "app/RecoveryCopy.h"
#include "app/RecoveryStore.h"
#include "project/BwkReader.h"
#include "project/BwkWriter.h"
#include "project/CsvReader.h"
#include "project/CsvWriter.h"
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

// Importing a spreadsheet: the bytes of a CSV file (UTF-8, as exported) to
// the table, every cell checked.
void BM_ReadCsv(benchmark::State& state) {
    const Result<QByteArray> bytes =
        CsvWriter::write(BenchProjects::instance().project(int(state.range(0))).entries);
    for (auto _ : state) {
        Result<QAEntryTable> result = CsvReader::read(*bytes);
        if (!result)
            state.SkipWithError(qPrintable(result.error()));
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * bytes->size());
}
BENCHMARK(BM_ReadCsv)->Apply(entrySizes);

// Exporting the entries to a CSV file, replaced whole like every file the
// program writes.
void BM_WriteCsvFile(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    const QAEntryTable& entries = projects.project(int(state.range(0))).entries;
    const QString path = projects.scratchPath(QStringLiteral("written.csv"));
    for (auto _ : state) {
        const Status written = CsvWriter::writeFile(entries, path);
        if (!written)
            state.SkipWithError(qPrintable(written.error()));
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_WriteCsvFile)->Apply(entrySizes);

// What the window's own thread does for a recovery copy: it takes the
// project, whose data it shares, and hands it to the worker.
void BM_RecoveryCopyTaken(benchmark::State& state) {
    const Project& project = BenchProjects::instance().project(int(state.range(0)));
    for (auto _ : state) {
        RecoveryCopy copy{project, QStringLiteral("/home/user/faq.bwk"), {}, QDateTime()};
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_RecoveryCopyTaken)->Apply(entrySizes);

// What the worker does: encodes the copy and replaces the file whole.
void BM_RecoveryCopyWritten(benchmark::State& state) {
    BenchProjects& projects = BenchProjects::instance();
    RecoveryStore store(projects.scratchPath(QStringLiteral("recovery")));
    if (Status opened = store.open(); !opened)
        state.SkipWithError(qPrintable(opened.error()));
    const RecoveryCopy copy{projects.project(int(state.range(0))),
                            QStringLiteral("/home/user/faq.bwk"),
                            {},
                            QDateTime::currentDateTime()};
    for (auto _ : state) {
        const Result<QByteArray> bytes = copy.encode();
        if (!bytes || !store.write(*bytes))
            state.SkipWithError("the copy was not written");
    }
    store.remove();
}
BENCHMARK(BM_RecoveryCopyWritten)->Apply(entrySizes);

} // namespace
