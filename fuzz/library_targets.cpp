// The targets of the formats read through Assimp: any bytes as one file of the format, read as
// the Open command reads it.

#include "core/io/assimp_reader.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"

namespace kalvo::fuzz {

namespace {

void RunLibraryFormat(std::string_view bytes, const char* extension)
{
    TQuietSink sink;
    TpreviewObj model;
    const bool read = ReadAssimpBytes(bytes, extension, model, sink);
    // A refused file says so once and leaves the model empty; a read one says nothing.
    Expect(sink.Count == (read ? 0 : 1), "not exactly one message for a refused file");
    Expect(read || model.VertexCount() == 0, "a refused file left vertices");
    for (const PolygonRec& polygon : model.Polygons)
        Expect(polygon.count() >= 3 && polygon.count() <= 4,
               "a polygon with other than 3 or 4 sides");
    CheckModel(model);
}

} // namespace

void RunObj(std::string_view bytes) { RunLibraryFormat(bytes, "obj"); }
void RunStl(std::string_view bytes) { RunLibraryFormat(bytes, "stl"); }

} // namespace kalvo::fuzz
