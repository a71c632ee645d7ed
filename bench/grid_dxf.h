#pragma once

// A triangulated height-field grid written as DXF 3DFACE entities, the shape of the big meshes
// CAD and terrain programs export. Used by the benchmark cases and the file generator.

#include "core/base/numbers.h"

#include <cmath>
#include <string>

namespace kalvo::bench {

// cells x cells squares; each becomes two triangles (fourth corner written equal to the third)
// or, with quads, one four-cornered face. (cells + 1)^2 distinct corners either way.
// append receives the text in pieces of about 1 MiB.
template <typename TAppend> void WriteGridDxf(int cells, bool quads, TAppend&& append)
{
    std::string out;
    out.reserve(std::size_t(1) << 21);
    const auto flush = [&](bool force) {
        if (force || out.size() >= (std::size_t(1) << 20)) {
            append(out);
            out.clear();
        }
    };
    const auto height = [](int i, int j) { return std::sin(i * 0.05) * std::cos(j * 0.07) * 3.0; };
    const auto corner = [&](int index, int i, int j) {
        out += std::to_string(10 + index);
        out += '\n';
        AppendFixed(out, i * 0.1, 6);
        out += '\n';
        out += std::to_string(20 + index);
        out += '\n';
        AppendFixed(out, j * 0.1, 6);
        out += '\n';
        out += std::to_string(30 + index);
        out += '\n';
        AppendFixed(out, height(i, j), 6);
        out += '\n';
    };
    const auto face = [&](int i0, int j0, int i1, int j1, int i2, int j2, int i3, int j3) {
        out += "0\n3DFACE\n8\n0\n";
        corner(0, i0, j0);
        corner(1, i1, j1);
        corner(2, i2, j2);
        corner(3, i3, j3);
        flush(false);
    };
    out += "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            if (quads) {
                face(i, j, i + 1, j, i + 1, j + 1, i, j + 1);
            } else {
                face(i, j, i + 1, j, i + 1, j + 1, i + 1, j + 1);
                face(i, j, i + 1, j + 1, i, j + 1, i, j + 1);
            }
        }
    }
    out += "0\nENDSEC\n0\nEOF\n";
    flush(true);
}

inline std::string GridDxf(int cells, bool quads)
{
    std::string text;
    WriteGridDxf(cells, quads, [&text](const std::string& piece) { text += piece; });
    return text;
}

} // namespace kalvo::bench
