#include "core/template/template_pick.h"

#include "core/model/preview_obj.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kalvo {

namespace {

bool ValidVertex(const TpreviewObj& model, int index)
{
    return index >= 0 && index < model.VertexCount();
}

// Distance from (u, v) to an edge from (uA, vA) to (uB, vB), measured to the point of the
// edge's line straight across from (u, v) along the edge's shorter axis.
double EdgeDistance(double u, double v, double uA, double vA, double uB, double vB)
{
    const double du = uB - uA;
    const double dv = vB - vA;
    double footU;
    double footV;
    if (std::fabs(du) > std::fabs(dv)) {
        footU = u;
        footV = vA + std::fabs(u - uA) * dv / std::fabs(du);
    } else if (dv != 0.0) {
        footU = uA + std::fabs(v - vA) * du / std::fabs(dv);
        footV = v;
    } else {
        // Both ends on one (u, v): the edge is that point.
        footU = uA;
        footV = vA;
    }
    return std::sqrt((u - footU) * (u - footU) + (v - footV) * (v - footV));
}

// An edge whose ends lie more than half a period apart runs across the seam the short way:
// its smaller end is lifted by one period.
void UnwrapSeam(double& a, double& b, double period)
{
    if (std::fabs(a - b) > period / 2.0) {
        if (a < b)
            a += period;
        else
            b += period;
    }
}

} // namespace

int FindNearestVertex(const TpreviewObj& model, double u, double v, double radius)
{
    double best = -1.0;
    int index = -1;
    const int count = model.VertexCount();
    for (int i = 0; i < count; ++i) {
        const TVecPointC& vertex = model.Vertices[i];
        const double d =
            std::sqrt((u - vertex.u) * (u - vertex.u) + (v - vertex.v) * (v - vertex.v));
        // A vertex with a NaN coordinate has no distance and is never picked.
        if (index < 0 ? d == d : best > d) {
            best = d;
            index = i;
        }
    }
    if (index < 0 || best > radius)
        return -1;
    return index;
}

int FindNearestEdge(const TpreviewObj& model, double u, double v, double radius)
{
    double best = -1.0;
    int index = -1;
    const int count = model.EdgeCount();
    for (int e = 0; e < count; ++e) {
        const TEdgeC& edge = model.Edges[e];
        if (!ValidVertex(model, edge.StartVertex) || !ValidVertex(model, edge.EndVertex))
            continue;
        const TVecPointC& a = model.Vertices[edge.StartVertex];
        const TVecPointC& b = model.Vertices[edge.EndVertex];
        // v first: on a pick sweep most edges already miss the widened box there, before the
        // u seam is looked at.
        double vA = a.v, vB = b.v;
        UnwrapSeam(vA, vB, model.SeamPeriodV());
        if (!(std::min(vA, vB) - radius < v && v < std::max(vA, vB) + radius))
            continue;
        double uA = a.u, uB = b.u;
        UnwrapSeam(uA, uB, model.SeamPeriodU());
        if (!(std::min(uA, uB) - radius < u && u < std::max(uA, uB) + radius))
            continue;
        const double d = EdgeDistance(u, v, uA, vA, uB, vB);
        if (index < 0 ? d == d : best > d) {
            best = d;
            index = e;
        }
    }
    if (index < 0 || best > radius)
        return -1;
    return index;
}

void MoveMarked(TpreviewObj& model, double du, double dv)
{
    // A vertex marked itself and at the end of marked edges still moves once.
    std::vector<std::uint8_t> moved(model.Vertices.size(), 0);
    for (std::size_t i = 0; i < model.Vertices.size(); ++i) {
        TVecPointC& vertex = model.Vertices[i];
        if (vertex.Mark) {
            vertex.u += du;
            vertex.v += dv;
            moved[i] = 1;
        }
    }
    for (const TEdgeC& edge : model.Edges) {
        if (!edge.Mark)
            continue;
        for (const int end : {edge.StartVertex, edge.EndVertex}) {
            if (!ValidVertex(model, end) || moved[static_cast<std::size_t>(end)])
                continue;
            TVecPointC& vertex = model.Vertices[end];
            vertex.u += du;
            vertex.v += dv;
            moved[static_cast<std::size_t>(end)] = 1;
        }
    }
}

void ClearMarks(TpreviewObj& model)
{
    for (TVecPointC& vertex : model.Vertices)
        vertex.Mark = false;
    for (TEdgeC& edge : model.Edges)
        edge.Mark = false;
}

} // namespace kalvo
