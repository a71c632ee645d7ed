#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace kalvo {
namespace {

// A square grid of 2 * cells * cells triangles with varied coordinates, validated as the
// export command would.
std::unique_ptr<TpreviewObj> MakeGrid(int cells)
{
    auto model = std::make_unique<TpreviewObj>();
    model->Name = "Grid";
    const int side = cells + 1;
    model->Reserve(static_cast<std::size_t>(side) * side,
                   static_cast<std::size_t>(cells) * cells * 3 + 2 * cells,
                   static_cast<std::size_t>(cells) * cells * 2);
    const auto corner = [cells](int i, int j) {
        return FillVertexInput(i * 0.37 - 100.0, j * 0.29 + 12.5, (i * 7 + j * 3) % 11 * 0.013,
                               static_cast<double>(i) / cells, static_cast<double>(j) / cells, 0, 0,
                               false);
    };
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            model->AddPolygonByCorners(0, {corner(i, j), corner(i + 1, j), corner(i + 1, j + 1)});
            model->AddPolygonByCorners(0, {corner(i, j), corner(i + 1, j + 1), corner(i, j + 1)});
        }
    model->CountEdgeUse();
    return model;
}

const TpreviewObj& Grid(int cells)
{
    static int madeCells = -1;
    static std::unique_ptr<TpreviewObj> model;
    if (madeCells != cells) {
        model = MakeGrid(cells);
        madeCells = cells;
    }
    return *model;
}

// About a million triangles (708 * 708 * 2).
constexpr int kMillionCells = 708;

void BM_RdsWriteToFile(benchmark::State& state)
{
    const TpreviewObj& grid = Grid(static_cast<int>(state.range(0)));
    const std::string path =
        (std::filesystem::temp_directory_path() / "kalvo-writer-bench.rds").string();
    for (auto _ : state) {
        TRDSwriter writer;
        writer.AddObject(grid);
        writer.WriteFile(path);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    state.counters["triangles"] = static_cast<double>(grid.PolygonCount());
    std::remove(path.c_str());
}
BENCHMARK(BM_RdsWriteToFile)->Arg(kMillionCells)->Unit(benchmark::kMillisecond);

void BM_RdsWriteToMemory(benchmark::State& state)
{
    const TpreviewObj& grid = Grid(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        TRDSwriter writer;
        writer.AddObject(grid);
        const std::string text = writer.WriteToString();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_RdsWriteToMemory)->Arg(kMillionCells)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kalvo
