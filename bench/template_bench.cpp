// Map template: the hover picks the template window runs on every timer tick, and drawing
// the whole layout into a large template.

#include "core/model/preview_obj.h"
#include "core/template/map_template.h"
#include "core/template/template_pick.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace kalvo {
namespace {

// A triangulated grid of cells x cells squares over the UV square: 3 cells^2 + 2 cells edges
// (about 100k for 182 cells).
TpreviewObj GridModel(int cells)
{
    TpreviewObj model;
    const int side = cells + 1;
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            TVecPointC vertex;
            vertex.x = i;
            vertex.y = j;
            vertex.u = static_cast<double>(i) / cells;
            vertex.v = static_cast<double>(j) / cells;
            model.Vertices.push_back(vertex);
        }
    const auto add = [&](int a, int b) {
        TEdgeC edge;
        edge.StartVertex = a;
        edge.EndVertex = b;
        model.Edges.push_back(edge);
    };
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const int at = j * side + i;
            if (i < cells)
                add(at, at + 1);
            if (j < cells)
                add(at, at + side);
            if (i < cells && j < cells)
                add(at, at + side + 1);
        }
    model.MaxU = model.MaxV = 1.0;
    return model;
}

constexpr int kCells = 182; // 99,736 edges

void BM_FindNearestVertex(benchmark::State& state)
{
    const TpreviewObj model = GridModel(kCells);
    const double radius = 4.0 / 640.0;
    double u = 0.0, v = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindNearestVertex(model, u, v, radius));
        // Hover points spread over the layout in both directions.
        u = std::fmod(u + 0.6180339887, 1.0);
        v = std::fmod(v + 0.4142135623, 1.0);
    }
    state.counters["vertices"] = model.VertexCount();
}
BENCHMARK(BM_FindNearestVertex)->Unit(benchmark::kMicrosecond);

void BM_FindNearestEdge(benchmark::State& state)
{
    const TpreviewObj model = GridModel(kCells);
    const double radius = 4.0 / 640.0;
    double u = 0.0, v = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindNearestEdge(model, u, v, radius));
        // Hover points spread over the layout in both directions.
        u = std::fmod(u + 0.6180339887, 1.0);
        v = std::fmod(v + 0.4142135623, 1.0);
    }
    state.counters["edges"] = model.EdgeCount();
}
BENCHMARK(BM_FindNearestEdge)->Unit(benchmark::kMicrosecond);

void BM_DrawTemplate1024(benchmark::State& state)
{
    TpreviewObj model = GridModel(kCells);
    TMapTemplate map;
    map.SetModel(&model);
    map.SetupTemplate(1024, 1024);
    for (auto _ : state) {
        map.RedrawBitmap();
        benchmark::ClobberMemory();
    }
    state.counters["edges"] = model.EdgeCount();
}
BENCHMARK(BM_DrawTemplate1024)->Unit(benchmark::kMillisecond);

void BM_SampleTexture(benchmark::State& state)
{
    TpreviewObj model = GridModel(4);
    TMapTemplate map;
    map.SetModel(&model);
    map.SetupTemplate(1024, 1024);
    const TTemplateLink& link = map;
    double u = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(link.SampleTexture(u, 0.25));
        u += 0.0007;
    }
}
BENCHMARK(BM_SampleTexture);

} // namespace
} // namespace kalvo
