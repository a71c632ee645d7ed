#include "core/model/quick_sort.h"
#include "core/preview/shading.h"
#include "core/preview/valid_index.h"
#include "core/preview/vector_math.h"

#include <algorithm>
#include <utility>

namespace kalvo {

void BuildDrawOrder(TpreviewObj& model, TDrawScratch& scratch)
{
    const std::size_t edgeCount = model.Edges.size();
    const std::size_t projectedCount = scratch.Projected.size();
    scratch.DrawOrderCount = model.PolygonCount();
    for (int p = 0; p < scratch.DrawOrderCount; ++p) {
        PrefetchAhead(model, scratch, p);
        PolygonRec& polygon = model.Polygons[p];
        double sum = 0.0;
        for (const int e : polygon.sides) {
            if (!ValidIndex(e, edgeCount))
                continue;
            const TEdgeC& edge = model.Edges[e];
            if (!ValidIndex(edge.StartVertex, projectedCount) ||
                !ValidIndex(edge.EndVertex, projectedCount))
                continue;
            const double zs = scratch.Projected[edge.StartVertex].z;
            const double ze = scratch.Projected[edge.EndVertex].z;
            sum += zs + ze;
            if (!scratch.DepthRangeSet) {
                scratch.DepthRangeSet = true;
                scratch.NearDepth = scratch.FarDepth = zs;
            }
            scratch.NearDepth = std::min(scratch.NearDepth, std::min(zs, ze));
            scratch.FarDepth = std::max(scratch.FarDepth, std::max(zs, ze));
        }
        const int count = polygon.count();
        polygon.DepthKey = count > 0 ? RoundHalfEven(sum / count * 2) : 0;
    }
    scratch.DepthRangeSet = false;

    std::vector<PolygonRec>& polygons = model.Polygons;
    QuickSortRange(
        0, scratch.DrawOrderCount - 1, [&](int k) { return polygons[k].DepthKey; },
        [&](int a, int b) { std::swap(polygons[a], polygons[b]); });
}

void PrefetchAhead(const TpreviewObj& model, const TDrawScratch& scratch, int p)
{
    // Three stages, each a few polygons behind the one before: the side list, then the edges
    // it names, then the corners those edges name.
    const int count = model.PolygonCount();
    if (p + 24 < count)
        __builtin_prefetch(model.Polygons[p + 24].sides.data());
    if (p + 12 < count) {
        for (const int e : model.Polygons[p + 12].sides) {
            if (ValidIndex(e, model.Edges.size()))
                __builtin_prefetch(&model.Edges[e]);
        }
    }
    if (p + 6 < count) {
        const std::size_t projectedCount = scratch.Projected.size();
        for (const int e : model.Polygons[p + 6].sides) {
            if (!ValidIndex(e, model.Edges.size()))
                continue;
            const int s = model.Edges[e].StartVertex;
            if (ValidIndex(s, projectedCount) && ValidIndex(s, model.Vertices.size())) {
                __builtin_prefetch(&scratch.Projected[s]);
                __builtin_prefetch(&model.Vertices[s]);
            }
        }
    }
}

} // namespace kalvo
