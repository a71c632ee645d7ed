// Wireframe drawing of large grids seen whole in a 1024 x 768 pane: the perspective pane in
// display mode 0 (straight onto the canvas) and the three orthographic panes.

#include "core/preview/canvas.h"
#include "core/preview/dib.h"
#include "core/preview/view_state.h"
#include "core/preview/wireframe.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <map>
#include <memory>

namespace kalvo {
namespace {

constexpr int kPaneWidth = 1024;
constexpr int kPaneHeight = 768;
constexpr double kGridSide = 20.0; // model units, centred on the origin

// A height field of cells x cells squares, each split into two triangles: about 2 cells^2
// triangles, 3 cells^2 edges and cells^2 vertices. Built through vertex and edge indices, as
// the ROK reader builds its models, so setting up the 1M grid takes seconds, not minutes.
std::unique_ptr<TpreviewObj> MakeGrid(int cells)
{
    auto model = std::make_unique<TpreviewObj>();
    const int side = cells + 1;
    model->Reserve(static_cast<std::size_t>(side) * side, 3u * cells * cells + 2u * cells,
                   2u * cells * cells);
    std::vector<int> vertex(static_cast<std::size_t>(side) * side);
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const double x = (i / static_cast<double>(cells) - 0.5) * kGridSide;
            const double y = (j / static_cast<double>(cells) - 0.5) * kGridSide;
            const double z = std::sin(x * 0.5) * std::cos(y * 0.5);
            vertex[j * side + i] = model->AddVertex(FillVertexInput(x, y, z, 0, 0, 0, 0, false));
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            const int a = vertex[j * side + i], b = vertex[j * side + i + 1];
            const int c = vertex[(j + 1) * side + i + 1], d = vertex[(j + 1) * side + i];
            const int ab = model->AddEdge(a, b), bc = model->AddEdge(b, c);
            const int ca = model->AddEdge(c, a), cd = model->AddEdge(c, d);
            const int da = model->AddEdge(d, a);
            const int first[3] = {ab, bc, ca};
            const int second[3] = {ca, cd, da};
            model->AddPolygon(0x808080, first, 3);
            model->AddPolygon(0x808080, second, 3);
        }
    return model;
}

// 224^2 * 2 = 100,352 and 708^2 * 2 = 1,002,528 triangles.
int CellsFor(std::int64_t triangles) { return triangles >= 1000000 ? 708 : 224; }

TpreviewObj& Grid(std::int64_t triangles)
{
    static std::map<std::int64_t, std::unique_ptr<TpreviewObj>> grids;
    auto& grid = grids[triangles];
    if (!grid)
        grid = MakeGrid(CellsFor(triangles));
    return *grid;
}

void BM_WireframeMode0(benchmark::State& state)
{
    TpreviewObj& model = Grid(state.range(0));
    TCanvas pane(kPaneWidth, kPaneHeight);
    TVector camera;
    InitialiseCamera(camera, kPaneWidth, kPaneHeight);
    TViewState view;
    view.ViewAngleH = -30;
    view.ViewAngleV = 50;
    view.ViewDistance = 36.0;
    ApplyView(view, camera);
    TDrawScratch scratch;
    scratch.WireColour = 0x00FFFFFF;
    // The whole grid must be in the pane, or the clipper would be timed instead.
    ProjectVertices(model, scratch, camera, pane);
    for (const TVecPointC& p : scratch.Projected)
        if (p.x < 0 || p.y < 0 || p.x > kPaneWidth || p.y > kPaneHeight || p.z <= 0) {
            state.SkipWithError("the grid is not seen whole");
            return;
        }
    for (auto _ : state) {
        pane.Clear(0x00C0C0C0);
        ClearDrawn(model, scratch);
        ProjectVertices(model, scratch, camera, pane);
        for (int p = 0; p < model.PolygonCount(); ++p)
            DrawPolygonWire(model, scratch, p, pane);
        benchmark::DoNotOptimize(pane.Pixels());
    }
    state.counters["polygons"] = model.PolygonCount();
    state.counters["edges"] = model.EdgeCount();
}
BENCHMARK(BM_WireframeMode0)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_OrthoPane(benchmark::State& state)
{
    TpreviewObj& model = Grid(state.range(0));
    const int view = static_cast<int>(state.range(1));
    TCanvas pane(kPaneWidth, kPaneHeight);
    const VertexInput centre{};
    const TOrthoColours colours{0x0000FF00, 0x00FF8000};
    TDrawScratch scratch;
    for (auto _ : state) {
        pane.Clear(0x00C0C0C0);
        ClearDrawn(model, scratch);
        DrawOrthoView(model, scratch, view, pane, centre, true, kGridSide * 1.2, colours);
        benchmark::DoNotOptimize(pane.Pixels());
    }
    state.counters["edges"] = model.EdgeCount();
}
BENCHMARK(BM_OrthoPane)
    ->ArgsProduct({{100000, 1000000}, {1, 2, 3}})
    ->ArgNames({"triangles", "view"})
    ->Unit(benchmark::kMillisecond);

// The per-frame clearing of the batch path: the 1024 x 768 canvas and the depth plane.
void BM_ClearPaneAndDepth(benchmark::State& state)
{
    TCanvas pane(kPaneWidth, kPaneHeight);
    TDIB dib;
    dib.SetSize(kPaneWidth, kPaneHeight, true, true);
    for (auto _ : state) {
        pane.Clear(0x00C0C0C0);
        dib.ClearDepth();
        benchmark::DoNotOptimize(pane.Pixels());
        benchmark::DoNotOptimize(dib.Depths());
    }
}
BENCHMARK(BM_ClearPaneAndDepth)->Unit(benchmark::kMicrosecond);

void BM_ClearDepth(benchmark::State& state)
{
    TDIB dib;
    dib.SetSize(kPaneWidth, kPaneHeight, false, true);
    for (auto _ : state) {
        dib.ClearDepth();
        benchmark::DoNotOptimize(dib.Depths());
    }
}
BENCHMARK(BM_ClearDepth)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kalvo
