#pragma once

#include "core/model/preview_obj.h"

#include <cmath>
#include <memory>
#include <vector>

namespace kalvo {

// A square grid of cells x cells quads, two triangles each: corner(i, j) gives the VertexInput
// of corner (i, j) and colour(i, j) the colour of square (i, j)'s two triangles.
template <typename TCorner, typename TSquareColour>
std::unique_ptr<TpreviewObj> MakeTriangleGrid(int cells, TCorner&& corner, TSquareColour&& colour)
{
    auto model = std::make_unique<TpreviewObj>();
    const int side = cells + 1;
    model->Reserve(static_cast<std::size_t>(side) * side,
                   static_cast<std::size_t>(cells) * cells * 3 + 2 * cells,
                   static_cast<std::size_t>(cells) * cells * 2);
    for (int j = 0; j < side; ++j) {
        for (int i = 0; i < side; ++i)
            model->AddVertex(corner(i, j));
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
            const TColour squareColour = colour(i, j);
            model->AddPolygon(squareColour, std::vector<int>{ab, bc, ca});
            model->AddPolygon(squareColour, std::vector<int>{ca, cd, da});
        }
    }
    return model;
}

// A gently waving square grid over [-1, 1]^2 of cells x cells quads, two triangles each.
// The renderer benchmarks and the preview window benchmark draw the same picture from it.
inline std::unique_ptr<TpreviewObj> MakeWavyGrid(int cells)
{
    return MakeTriangleGrid(
        cells,
        [cells](int i, int j) {
            const double x = -1.0 + 2.0 * i / cells;
            const double y = -1.0 + 2.0 * j / cells;
            const double z = 0.05 * std::sin(3 * x) * std::cos(3 * y);
            return VertexInput{x, y, z, 0.5 + x / 2, 0.5 + y / 2, 0, 0, false};
        },
        [](int i, int j) -> TColour { return ((i + j) & 1) ? 0x40C0FF : 0xFFC040; });
}

} // namespace kalvo
