// UV by projection over a million vertices: a 999 x 999-cell triangle grid (1,000,000
// vertices), every projection.

#include "bench/reader_grids.h"
#include "core/model/uv_projection.h"

#include <benchmark/benchmark.h>

namespace kalvo {
namespace {

void BM_ProjectUv(benchmark::State& state)
{
    static const std::unique_ptr<TpreviewObj> grid = bench::MakeTriangleGrid(999);
    const TUvProjection projection = UvProjectionNames()[state.range(0)].Projection;
    state.SetLabel(UvProjectionNames()[state.range(0)].Name);
    for (auto _ : state) {
        ProjectUv(*grid, projection);
        benchmark::DoNotOptimize(grid->Vertices.data());
    }
    state.SetItemsProcessed(state.iterations() * grid->VertexCount());
}
BENCHMARK(BM_ProjectUv)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kalvo
