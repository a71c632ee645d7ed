// Building models: merging corners and sides through the model's building operations, and
// reading DXF text into faces.

#include "bench/grid_dxf.h"
#include "core/base/message_sink.h"
#include "core/io/dxf_reader.h"
#include "core/model/preview_obj.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace kalvo {
namespace {

class TSilentSink : public TMessageSink
{
public:
    TAnswer Show(TMsgKind, const std::string&, TButtons) override { return TAnswer::Ok; }
};

// Two triangles per grid cell through AddPolygonByCorners, as the DXF reader hands them over.
void BM_BuildGridModel(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    std::vector<VertexInput> corners;
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const auto at = [](int x, int y) {
                return FillVertexInput(x * 0.1, y * 0.1, (x * y) % 7 * 0.5, 0, 0, 0, 0, false);
            };
            for (const VertexInput& corner : {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j),
                                              at(i + 1, j + 1), at(i, j + 1)})
                corners.push_back(corner);
        }
    }
    for (auto _ : state) {
        TpreviewObj model;
        for (std::size_t k = 0; k < corners.size(); k += 3)
            model.AddPolygonByCorners(0, corners.data() + k, 3);
        benchmark::DoNotOptimize(model.EdgeCount());
    }
    state.SetItemsProcessed(state.iterations() * 2 * cells * cells);
    state.SetLabel("triangles");
}
BENCHMARK(BM_BuildGridModel)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

// Parsing only: text in memory to patches.
void BM_ReadDxfText(benchmark::State& state)
{
    const std::string text = bench::GridDxf(static_cast<int>(state.range(0)), false);
    TSilentSink sink;
    for (auto _ : state) {
        TDXFobject reader(sink);
        reader.ReadBytes(text);
        benchmark::DoNotOptimize(reader.Patches().size());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadDxfText)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

// The whole read of a DXF file's text into a model.
void BM_ReadDxfIntoModel(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    const std::string text = bench::GridDxf(cells, state.range(1) != 0);
    TSilentSink sink;
    for (auto _ : state) {
        TDXFobject reader(sink);
        reader.ReadBytes(text);
        TpreviewObj model;
        reader.HandOver(model);
        benchmark::DoNotOptimize(model.PolygonCount());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadDxfIntoModel)
    ->Args({100, 0})
    ->Args({300, 0})
    ->Args({300, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kalvo
