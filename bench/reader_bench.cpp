// Reading back big files: the RDS file the writer makes of a million-triangle grid (and of
// smaller grids, to see the growth), and a ROK quad grid of about 100 k faces.

#include "bench/reader_grids.h"
#include "core/base/message_sink.h"
#include "core/io/rds_browser.h"
#include "core/io/rok_reader.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace kalvo {
namespace {

class TNoSink : public TMessageSink
{
public:
    TAnswer Show(TMsgKind, const std::string&, TButtons) override { return TAnswer::Ok; }
};

// One RDS file per grid size, made once and removed at exit.
const std::string& GridRdsPath(int cells)
{
    struct TFiles
    {
        std::map<int, std::string> paths;
        ~TFiles()
        {
            for (const auto& [cells, path] : paths)
                std::remove(path.c_str());
        }
    };
    static TFiles files;
    auto& path = files.paths[cells];
    if (path.empty()) {
        path = (std::filesystem::temp_directory_path() /
                ("kalvo-reader-bench-" + std::to_string(cells) + ".rds"))
                   .string();
        bench::WriteGridRds(cells, path);
    }
    return path;
}

void BM_RdsReadGrid(benchmark::State& state)
{
    const std::string& path = GridRdsPath(static_cast<int>(state.range(0)));
    TNoSink sink;
    int polygons = 0;
    for (auto _ : state) {
        TRDSbrowser browser(&sink);
        std::unique_ptr<TpreviewObj> model;
        browser.ScanFile(path);
        TRDSloadCallbacks callbacks;
        callbacks.CreateModelEntry = [&model](const std::string& name) -> TpreviewObj& {
            model = std::make_unique<TpreviewObj>();
            model->Name = name;
            return *model;
        };
        browser.LoadObjects(callbacks);
        polygons = model->PolygonCount();
        benchmark::DoNotOptimize(model.get());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    state.counters["triangles"] = polygons;
}
BENCHMARK(BM_RdsReadGrid)
    ->Arg(bench::kMillionTriangleCells / 4)
    ->Arg(bench::kMillionTriangleCells / 2)
    ->Arg(bench::kMillionTriangleCells)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The statement layer alone: what the file costs before any model is built.
void BM_RdsStatements(benchmark::State& state)
{
    const std::string& path = GridRdsPath(bench::kMillionTriangleCells);
    std::int64_t statements = 0;
    for (auto _ : state) {
        TRDSobject reader;
        reader.OpenFile(path);
        statements = 0;
        while (!reader.ReadStatement().Tag.empty())
            ++statements;
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    state.counters["statements"] = static_cast<double>(statements);
}
BENCHMARK(BM_RdsStatements)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RokReadGrid(benchmark::State& state)
{
    const std::string text = bench::MakeGridRok(static_cast<int>(state.range(0)));
    TNoSink sink;
    int faces = 0;
    for (auto _ : state) {
        TpreviewObj model;
        TROKobject reader(sink);
        reader.ReadPaletteFromBytes(text);
        reader.ReadGeometry(model);
        faces = model.PolygonCount();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.counters["faces"] = faces;
}
BENCHMARK(BM_RokReadGrid)
    ->Arg(bench::kHundredThousandFaceCells / 2)
    ->Arg(bench::kHundredThousandFaceCells)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kalvo
