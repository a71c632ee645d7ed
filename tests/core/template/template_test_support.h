#pragma once

#include "core/model/preview_obj.h"
#include "core/preview/canvas.h"

#include <utility>
#include <vector>

namespace kalvo::test {

// A model made only of (u, v) points and edges, with the UV range given, as the template
// sees it: positions are irrelevant to the template, so each vertex sits at x = its index.
inline TpreviewObj MakeUVModel(const std::vector<std::pair<double, double>>& uv,
                               const std::vector<std::pair<int, int>>& edges, double maxU = 1.0,
                               double maxV = 1.0, double minU = 0.0, double minV = 0.0)
{
    TpreviewObj model;
    for (std::size_t i = 0; i < uv.size(); ++i) {
        TVecPointC vertex;
        vertex.x = static_cast<double>(i);
        vertex.u = uv[i].first;
        vertex.v = uv[i].second;
        model.Vertices.push_back(vertex);
    }
    for (const auto& [a, b] : edges) {
        TEdgeC edge;
        edge.StartVertex = a;
        edge.EndVertex = b;
        model.Edges.push_back(edge);
    }
    model.MinU = minU;
    model.MaxU = maxU;
    model.MinV = minV;
    model.MaxV = maxV;
    return model;
}

// Number of pixels of the canvas with the given colour.
inline int CountColour(const TCanvas& canvas, TColour colour)
{
    int count = 0;
    const std::size_t total = static_cast<std::size_t>(canvas.Width()) * canvas.Height();
    for (std::size_t i = 0; i < total; ++i)
        count += canvas.Pixels()[i] == colour ? 1 : 0;
    return count;
}

} // namespace kalvo::test
