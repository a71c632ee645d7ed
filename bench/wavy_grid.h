#pragma once

#include "core/model/preview_obj.h"

#include <cmath>
#include <memory>
#include <vector>

namespace kalvo {

// A gently waving square grid over [-1, 1]^2 of cells x cells quads, two triangles each.
// The renderer benchmarks and the preview window benchmark draw the same picture from it.
inline std::unique_ptr<TpreviewObj> MakeWavyGrid(int cells)
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

} // namespace kalvo
