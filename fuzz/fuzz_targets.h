#pragma once

// The bodies of the fuzz targets. Each takes any bytes and runs them through the program's own
// code; a fault it detects (a broken invariant, a model that does not survive writing and
// reading back) throws TFuzzFault. The libFuzzer entry points in fuzz/*_fuzz.cpp call them, and
// so does the corpus replay test, which runs every kept input under the sanitisers.

#include <span>
#include <stdexcept>
#include <string_view>

namespace kalvo::fuzz {

class TFuzzFault : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

// The readers alone.
void RunDxf(std::string_view bytes);
void RunRok(std::string_view bytes);
void RunRds(std::string_view bytes);
// Formats read through Assimp: Wavefront OBJ, STL (binary or text).
void RunObj(std::string_view bytes);
void RunStl(std::string_view bytes);

// Whole-pipeline targets. Their input is a header of kParameterBytes (the first byte picks
// the reader: 0 DXF, 1 ROK, 2 RDS, modulo 3; the rest sizes, camera and points), then the model
// file. Missing header bytes count as zero.
inline constexpr std::size_t kParameterBytes = 48;

// Every display mode and view of a preview scene, buffered and direct.
void RunScene(std::string_view bytes);
// The map template in every orientation, picking, moving, rotating, ratio, texture lookup.
void RunTemplate(std::string_view bytes);
// Export check, RDS written to memory and read back: the same model must come back.
void RunExport(std::string_view bytes);

struct TFuzzTarget
{
    const char* Name; // also the folder of its corpus under fuzz/corpus/
    void (*Run)(std::string_view bytes);
};

std::span<const TFuzzTarget> FuzzTargets();

} // namespace kalvo::fuzz
