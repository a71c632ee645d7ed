#pragma once

// A triangulated height-field grid written as DXF 3DFACE entities, the shape of the big meshes
// CAD and terrain programs export. Used by the benchmark cases and the file generator.

#include "core/base/numbers.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

namespace kalvo::bench {

// Text built in a buffer and handed to append in pieces of about 1 MiB, so that a writer of a
// file of gigabytes holds little of it at once.
template <typename TAppend> class TChunkedText
{
public:
    explicit TChunkedText(TAppend& append) : append_(append) { Text.reserve(kPiece * 2); }
    // Hands over what has gathered once it reaches a piece (all of it when forced).
    void Flush(bool force = false)
    {
        if (force || Text.size() >= kPiece) {
            append_(Text);
            Text.clear();
        }
    }

    std::string Text;

private:
    static constexpr std::size_t kPiece = std::size_t(1) << 20;
    TAppend& append_;
};

// The grid's corner (i, j): 0.1 apart in x and y, on gentle waves in z.
inline double GridHeight(int i, int j) { return std::sin(i * 0.05) * std::cos(j * 0.07) * 3.0; }

// Calls face with the (i, j) corners of every face of the grid, row by row: one quad per
// square, or two triangles, (i, j) (i+1, j) (i+1, j+1) and (i, j) (i+1, j+1) (i, j+1).
template <typename TFace> void ForEachGridFace(int cells, bool quads, TFace&& face)
{
    using TCorners = std::initializer_list<std::pair<int, int>>;
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            if (quads) {
                face(TCorners{{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}});
            } else {
                face(TCorners{{i, j}, {i + 1, j}, {i + 1, j + 1}});
                face(TCorners{{i, j}, {i + 1, j + 1}, {i, j + 1}});
            }
        }
    }
}

// cells x cells squares; each becomes two triangles (fourth corner written equal to the third)
// or, with quads, one four-cornered face. (cells + 1)^2 distinct corners either way.
// append receives the text in pieces of about 1 MiB.
template <typename TAppend> void WriteGridDxf(int cells, bool quads, TAppend&& append)
{
    TChunkedText chunks(append);
    std::string& out = chunks.Text;
    const auto corner = [&](int index, std::pair<int, int> at) {
        const auto [i, j] = at;
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
        AppendFixed(out, GridHeight(i, j), 6);
        out += '\n';
    };
    out += "0\nSECTION\n2\nENTITIES\n";
    ForEachGridFace(cells, quads, [&](std::initializer_list<std::pair<int, int>> corners) {
        out += "0\n3DFACE\n8\n0\n";
        int index = 0;
        for (const std::pair<int, int>& at : corners)
            corner(index++, at);
        if (index == 3)
            corner(3, *(corners.end() - 1));
        chunks.Flush();
    });
    out += "0\nENDSEC\n0\nEOF\n";
    chunks.Flush(true);
}

// The index, counted from 1, of corner (i, j) in the corner lists of the polyface and OBJ files.
inline long GridCornerNumber(int cells, int i, int j) { return long(i) * (cells + 1) + j + 1; }

// The same grid as one polyface mesh (POLYLINE flag 64) in a block that one INSERT places,
// the way some modellers export: the positions once, then a face record per face.
template <typename TAppend> void WriteGridPolyfaceDxf(int cells, bool quads, TAppend&& append)
{
    TChunkedText chunks(append);
    std::string& out = chunks.Text;
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
            AppendFixed(out, GridHeight(i, j), 6);
            out += "\n70\n192\n";
            chunks.Flush();
        }
    }
    ForEachGridFace(cells, quads, [&](std::initializer_list<std::pair<int, int>> at) {
        out += "0\nVERTEX\n10\n0\n20\n0\n30\n0\n70\n128\n";
        int code = 71;
        for (const auto& [i, j] : at)
            out += std::to_string(code++) + "\n" + std::to_string(GridCornerNumber(cells, i, j)) +
                   "\n";
        chunks.Flush();
    });
    out += "0\nSEQEND\n0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    out += "0\nINSERT\n2\nGrid\n10\n0.0\n20\n0.0\n30\n0.0\n0\nENDSEC\n0\nEOF\n";
    chunks.Flush(true);
}

// The same grid as a Wavefront OBJ file with a (u, v) per corner.
template <typename TAppend> void WriteGridObj(int cells, bool quads, TAppend&& append)
{
    TChunkedText chunks(append);
    std::string& out = chunks.Text;
    for (int i = 0; i <= cells; ++i) {
        for (int j = 0; j <= cells; ++j) {
            out += "v ";
            AppendFixed(out, i * 0.1, 6);
            out += ' ';
            AppendFixed(out, j * 0.1, 6);
            out += ' ';
            AppendFixed(out, GridHeight(i, j), 6);
            out += "\nvt ";
            AppendFixed(out, double(i) / cells, 6);
            out += ' ';
            AppendFixed(out, double(j) / cells, 6);
            out += '\n';
            chunks.Flush();
        }
    }
    ForEachGridFace(cells, quads, [&](std::initializer_list<std::pair<int, int>> corners) {
        out += 'f';
        for (const auto& [i, j] : corners) {
            const std::string at = std::to_string(GridCornerNumber(cells, i, j));
            out += ' ';
            out += at;
            out += '/';
            out += at;
        }
        out += '\n';
        chunks.Flush();
    });
    chunks.Flush(true);
}

inline std::string GridDxf(int cells, bool quads)
{
    std::string text;
    WriteGridDxf(cells, quads, [&text](const std::string& piece) { text += piece; });
    return text;
}

} // namespace kalvo::bench
