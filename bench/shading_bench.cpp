// Hidden-surface and shaded-wireframe frames of large triangle grids seen whole in a
// 1024 x 768 perspective pane, buffered and direct.

#include "bench/wavy_grid.h"
#include "core/model/model_list.h"
#include "core/model/preview_obj.h"
#include "core/preview/preview_scene.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace kalvo;

// 224^2 * 2 = 100,352 triangles; 708^2 * 2 = 1,002,528.
const TModelList& Grid(int cells)
{
    static TModelList small;
    static TModelList large;
    TModelList& grid = cells <= 224 ? small : large;
    if (grid.Empty())
        grid.Add(MakeWavyGrid(cells));
    return grid;
}

void BM_PerspectiveFrame(benchmark::State& state)
{
    const int cells = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    const bool buffered = state.range(2) != 0;
    const TpreviewObj& grid = *Grid(cells)[0].Model;
    TPreviewScene scene;
    scene.Models = &Grid(cells);
    scene.Settings.FrameMode = scene.Settings.FlatFrameMode = scene.Settings.FlatMode =
        buffered ? 1 : 0;
    scene.TexturePreview = false;
    scene.DisplayMode = mode;
    scene.View.ViewAngleH = 20;
    scene.View.ViewAngleV = 35;
    scene.View.ViewDistance = 4.0;
    ApplyView(scene.View, scene.Camera);
    scene.Layout(1024 + 8, 768 + 8);

    for (auto _ : state) {
        scene.RedrawView(0, mode);
        scene.FinishFill();
        benchmark::DoNotOptimize(scene.Pane(0).Pixels());
    }
    state.counters["polygons"] = grid.PolygonCount();
    state.counters["ns/polygon"] = benchmark::Counter(
        static_cast<double>(grid.PolygonCount()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void FrameArguments(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"cells", "mode", "buffered"});
    for (const int cells : {224, 708})
        for (const int mode : {1, 2, 3})
            for (const int buffered : {1, 0})
                bench->Args({cells, mode, buffered});
}

BENCHMARK(BM_PerspectiveFrame)->Apply(FrameArguments)->Unit(benchmark::kMillisecond);

} // namespace
