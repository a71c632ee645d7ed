#pragma once

// A triangulated height-field grid written as DXF 3DFACE entities, the shape of the big meshes
// CAD and terrain programs export. Used by the benchmark cases and the file generator.

#include "core/base/numbers.h"

#include <cmath>
#include <initializer_list>
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

// The same grid as one polyface mesh (POLYLINE flag 64) in a block that one INSERT places,
// the way some modellers export: the positions once, then a face record per face.
template <typename TAppend> void WriteGridPolyfaceDxf(int cells, bool quads, TAppend&& append)
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
    const long corners = long(cells + 1) * (cells + 1);
    const long faces = quads ? long(cells) * cells : 2L * cells * cells;
    out += "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nGrid\n10\n0.0\n20\n0.0\n30\n0.0\n";
    out += "0\nPOLYLINE\n66\n1\n70\n64\n71\n" + std::to_string(corners) + "\n72\n" +
           std::to_string(faces) + "\n";
    for (int i = 0; i <= cells; ++i) {
        for (int j = 0; j <= cells; ++j) {
            out += "0\nVERTEX\n10\n";
            AppendFixed(out, i * 0.1, 6);
            out += "\n20\n";
            AppendFixed(out, j * 0.1, 6);
            out += "\n30\n";
            AppendFixed(out, height(i, j), 6);
            out += "\n70\n192\n";
            flush(false);
        }
    }
    const auto index = [cells](int i, int j) { return long(i) * (cells + 1) + j + 1; };
    const auto face = [&](std::initializer_list<long> indices) {
        out += "0\nVERTEX\n10\n0\n20\n0\n30\n0\n70\n128\n";
        int code = 71;
        for (const long at : indices)
            out += std::to_string(code++) + "\n" + std::to_string(at) + "\n";
        flush(false);
    };
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            if (quads) {
                face({index(i, j), index(i + 1, j), index(i + 1, j + 1), index(i, j + 1)});
            } else {
                face({index(i, j), index(i + 1, j), index(i + 1, j + 1)});
                face({index(i, j), index(i + 1, j + 1), index(i, j + 1)});
            }
        }
    }
    out += "0\nSEQEND\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    out += "0\nINSERT\n2\nGrid\n10\n0.0\n20\n0.0\n30\n0.0\n0\nENDSEC\n0\nEOF\n";
    flush(true);
}

// The same grid as a Wavefront OBJ file with a (u, v) per corner.
template <typename TAppend> void WriteGridObj(int cells, bool quads, TAppend&& append)
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
    for (int i = 0; i <= cells; ++i) {
        for (int j = 0; j <= cells; ++j) {
            out += "v ";
            AppendFixed(out, i * 0.1, 6);
            out += ' ';
            AppendFixed(out, j * 0.1, 6);
            out += ' ';
            AppendFixed(out, height(i, j), 6);
            out += "\nvt ";
            AppendFixed(out, double(i) / cells, 6);
            out += ' ';
            AppendFixed(out, double(j) / cells, 6);
            out += '\n';
            flush(false);
        }
    }
    const auto index = [cells](int i, int j) {
        return std::to_string(long(i) * (cells + 1) + j + 1);
    };
    const auto corner = [&](int i, int j) {
        const std::string at = index(i, j);
        out += ' ';
        out += at;
        out += '/';
        out += at;
    };
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            if (quads) {
                out += 'f';
                corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1);
                out += '\n';
            } else {
                out += 'f';
                corner(i, j), corner(i + 1, j), corner(i + 1, j + 1);
                out += "\nf";
                corner(i, j), corner(i + 1, j + 1), corner(i, j + 1);
                out += '\n';
            }
            flush(false);
        }
    }
    flush(true);
}

inline std::string GridDxf(int cells, bool quads)
{
    std::string text;
    WriteGridDxf(cells, quads, [&text](const std::string& piece) { text += piece; });
    return text;
}

} // namespace kalvo::bench
