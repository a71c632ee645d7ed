// The group sort: after a reader has finished, vertices are ordered by group so that each
// group is one run of the vertex list, and edges are renumbered to follow their vertices.

#include "core/model/preview_obj.h"
#include "core/model/quick_sort.h"

#include <utility>

namespace kalvo {

void TpreviewObj::NumberVertices()
{
    for (int index = 0; index < VertexCount(); ++index)
        Vertices[index].PreSortIndex = index;
}

void TpreviewObj::SortVerticesByGroup(int first, int last)
{
    if (first < 0 || last >= VertexCount() || first >= last)
        return;
    QuickSortRange(
        first, last, [this](int k) { return Vertices[k].group; },
        [this](int a, int b) { std::swap(Vertices[a], Vertices[b]); });
    vertexIndexStale_ = true;
}

void TpreviewObj::RemapAfterSort()
{
    // Where each old position went. The first vertex carrying a PreSortIndex wins, as a
    // search from the front would find it.
    std::vector<int> newPosition(Vertices.size(), -1);
    for (int index = 0; index < VertexCount(); ++index) {
        const int old = Vertices[index].PreSortIndex;
        if (old >= 0 && old < VertexCount() && newPosition[old] < 0)
            newPosition[old] = index;
    }
    const auto remap = [&](int old) {
        return (old >= 0 && old < VertexCount()) ? newPosition[old] : -1;
    };
    for (TEdgeC& edge : Edges) {
        edge.StartVertex = remap(edge.StartVertex);
        edge.EndVertex = remap(edge.EndVertex);
    }
    edgeIndexStale_ = true;

    // A group index without a record (a reader that skipped numbers, a negative group) is
    // passed over rather than written outside the list.
    int highest = -1;
    for (int index = 0; index < VertexCount(); ++index) {
        const int group = Vertices[index].group;
        if (group <= highest || group < 0 || group >= static_cast<int>(Groups.size()))
            continue;
        Groups[group].FirstVertex = index;
        highest = group;
    }
}

} // namespace kalvo
