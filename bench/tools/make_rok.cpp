// Writes a ROK file of a quad grid: make_rok OUT.rok [CELLS] (default about 100 k faces).

#include "bench/reader_grids.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_rok OUT.rok [CELLS]\n");
        return 2;
    }
    const int cells = argc > 2 ? std::atoi(argv[2]) : kalvo::bench::kHundredThousandFaceCells;
    const std::string text = kalvo::bench::MakeGridRok(cells);
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
        std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("%s: %d faces, %zu bytes\n", argv[1], cells * cells, text.size());
    return 0;
}
