// Writes an RDS file of a triangle grid through the writer:
// make_grid_rds OUT.rds [CELLS] (default about a million triangles, about 100 MB).

#include "bench/reader_grids.h"
#include "core/base/errors.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_grid_rds OUT.rds [CELLS]\n");
        return 2;
    }
    const int cells = argc > 2 ? std::atoi(argv[2]) : kalvo::bench::kMillionTriangleCells;
    try {
        kalvo::bench::WriteGridRds(cells, argv[1]);
    } catch (const kalvo::TWriteError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("%s: %d triangles\n", argv[1], 2 * cells * cells);
    return 0;
}
