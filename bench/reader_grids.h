#pragma once

// Big model files for the reader benchmarks and their generators: a triangle grid written as
// RDS by the writer, and a quad grid as ROK text.

#include "core/base/numbers.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"

#include <cmath>
#include <memory>
#include <string>

namespace kalvo::bench {

// 2 * cells * cells triangles with varied coordinates, validated as the export command would.
inline std::unique_ptr<TpreviewObj> MakeTriangleGrid(int cells)
{
    auto model = std::make_unique<TpreviewObj>();
    model->Name = "Grid";
    const int side = cells + 1;
    model->Reserve(static_cast<std::size_t>(side) * side,
                   static_cast<std::size_t>(cells) * cells * 3 + 2 * cells,
                   static_cast<std::size_t>(cells) * cells * 2);
    const auto corner = [cells](int i, int j) {
        return FillVertexInput(i * 0.37 - 100.0, j * 0.29 + 12.5, (i * 7 + j * 3) % 11 * 0.013,
                               static_cast<double>(i) / cells, static_cast<double>(j) / cells, 0,
                               (i + j) % 3, false);
    };
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            model->AddPolygonByCorners(0, {corner(i, j), corner(i + 1, j), corner(i + 1, j + 1)});
            model->AddPolygonByCorners(0, {corner(i, j), corner(i + 1, j + 1), corner(i, j + 1)});
        }
    model->CountEdgeUse();
    return model;
}

// About a million triangles (708 * 708 * 2), about 100 MB of RDS text.
constexpr int kMillionTriangleCells = 708;

inline void WriteGridRds(int cells, const std::string& path)
{
    const auto grid = MakeTriangleGrid(cells);
    TRDSwriter writer;
    writer.AddObject(*grid);
    writer.WriteFile(path);
}

// cells * cells four-cornered faces over (cells + 1)^2 points in four groups (bands of rows),
// with every line between neighbouring points: the shape a modeller saves.
inline std::string MakeGridRok(int cells)
{
    const int side = cells + 1;
    std::string out = "ROKU4\r\nPALC0\r\n2\r\n0\r\n";
    out += "255\r\n200\r\n100\r\n0\r\n0\r\n0\r\n0\r\n40\r\n80\r\n160\r\n0\r\n0\r\n0\r\n0\r\n";
    out += "ENDP0\r\nPOINT\r\n";
    const auto line = [&out](long value) {
        out += std::to_string(value);
        out += "\r\n";
    };
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j) {
            line(static_cast<long>(i) * side + j + 1);
            line(i * 4 / side);
            out += "0\r\n0\r\n0\r\n";
            AppendFixed(out, i * 0.5, 4);
            out += ' ';
            AppendFixed(out, j * 0.5, 4);
            out += ' ';
            AppendFixed(out, std::sin(i * 0.05) * std::cos(j * 0.07) * 3.0, 4);
            out += "\r\n";
        }
    // Lines along i first, then along j; numbered from 1 in this order.
    const auto point = [side](int i, int j) { return static_cast<long>(i) * side + j + 1; };
    out += "LINE0\r\n";
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < side; ++j) {
            line(point(i, j));
            line(point(i + 1, j));
            out += "0\r\n0\r\n";
        }
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < cells; ++j) {
            line(point(i, j));
            line(point(i, j + 1));
            out += "0\r\n0\r\n";
        }
    const long alongI = static_cast<long>(cells) * side;
    const auto lineI = [side](int i, int j) { return static_cast<long>(i) * side + j + 1; };
    const auto lineJ = [alongI, cells](int i, int j) {
        return alongI + static_cast<long>(i) * cells + j + 1;
    };
    out += "FACE0\r\n";
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            out += "4\r\n";
            line((i + j) % 2);
            out += "0\r\n";
            line(lineI(i, j));
            line(lineJ(i + 1, j));
            line(lineI(i, j + 1));
            line(lineJ(i, j));
        }
    out += "END00\r\n";
    return out;
}

// About 100 k faces (316 * 316).
constexpr int kHundredThousandFaceCells = 316;

} // namespace kalvo::bench
