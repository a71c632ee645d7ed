// Hidden-surface and shaded-wireframe frames of large triangle grids seen whole in a
// 1024 x 768 perspective pane, buffered and direct.

#include "core/model/model_list.h"
#include "core/model/preview_obj.h"
#include "core/preview/preview_scene.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace kalvo;

// A gently waving square grid over [-1, 1]^2 of cells x cells quads, two triangles each.
std::unique_ptr<TpreviewObj> MakeGrid(int cells)
{
    auto model = std::make_unique<TpreviewObj>();
    const int side = cells + 1;
    model->Reserve(static_cast<std::size_t>(side) * side,
                   static_cast<std::size_t>(cells) * cells * 3 + 2 * cells,
                   static_cast<std::size_t>(cells) * cells * 2);
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i) {
            const double x = -1.0 + 2.0 * i / cells;
            const double y = -1.0 + 2.0 * j / cells;
            const double z = 0.05 * std::sin(3 * x) * std::cos(3 * y);
            model->AddVertex(VertexInput{x, y, z, 0.5 + x / 2, 0.5 + y / 2, 0, 0, false});
        }
    }
    const auto at = [side](int i, int j) { return j * side + i; };
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const int a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            const int ab = model->AddEdge(a, b);
            const int bc = model->AddEdge(b, c);
            const int ca = model->AddEdge(c, a);
            const int cd = model->AddEdge(c, d);
            const int da = model->AddEdge(d, a);
            const TColour colour = ((i + j) & 1) ? 0x40C0FF : 0xFFC040;
            model->AddPolygon(colour, std::vector<int>{ab, bc, ca});
            model->AddPolygon(colour, std::vector<int>{ca, cd, da});
        }
    }
    return model;
}

// 224^2 * 2 = 100,352 triangles; 708^2 * 2 = 1,002,528.
const TModelList& Grid(int cells)
{
    static TModelList small;
    static TModelList large;
    TModelList& grid = cells <= 224 ? small : large;
    if (grid.Empty())
        grid.Add(MakeGrid(cells));
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
