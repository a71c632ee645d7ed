// make_grid_dxf CELLS [--quads] [--polyface | --obj] OUT: writes a cells x cells height-field
// grid as 3DFACE entities (two triangles per cell, or one four-cornered face per cell with
// --quads); with --polyface as one polyface mesh in a block placed by an INSERT, with --obj as
// a Wavefront OBJ file with texture coordinates.
// 71 cells give about 10 k triangles, 224 about 100 k, 707 about 1 M.

#include "bench/grid_dxf.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    int cells = 0;
    bool quads = false;
    std::string format = "dxf";
    const char* output = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--quads")
            quads = true;
        else if (argument == "--polyface" || argument == "--obj")
            format = argument.substr(2);
        else if (cells == 0)
            cells = std::atoi(argv[i]);
        else
            output = argv[i];
    }
    if (cells <= 0 || !output) {
        std::fprintf(stderr, "Usage: make_grid_dxf CELLS [--quads] [--polyface | --obj] OUT\n");
        return 2;
    }
    std::FILE* file = std::fopen(output, "wb");
    if (!file) {
        std::perror(output);
        return 1;
    }
    bool ok = true;
    const auto write = [&](const std::string& piece) {
        ok = ok && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    };
    if (format == "polyface")
        kalvo::bench::WriteGridPolyfaceDxf(cells, quads, write);
    else if (format == "obj")
        kalvo::bench::WriteGridObj(cells, quads, write);
    else
        kalvo::bench::WriteGridDxf(cells, quads, write);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::perror(output);
        return 1;
    }
    const long faces = quads ? long(cells) * cells : 2L * cells * cells;
    std::printf("%s: %ld %s, %ld corners\n", output, faces, quads ? "quads" : "triangles",
                long(cells + 1) * (cells + 1));
    return 0;
}
