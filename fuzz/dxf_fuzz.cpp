// libFuzzer target: any bytes as a DXF file, read both ways the program reads one (patches then
// hand-over, and straight into a model), which must agree.

#include "core/io/dxf_reader.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kalvo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    fuzz::TQuietSink sink;
    TDXFobject reader(sink);
    reader.ReadBytes(bytes);
    // A damaged file is reported once, however many of its lines are broken.
    if (sink.Count > 1)
        std::abort();
    TpreviewObj model;
    reader.HandOver(model);
    if (model.PolygonCount() != static_cast<int>(reader.Patches().size()))
        std::abort();
    for (const PolygonRec& polygon : model.Polygons) {
        if (polygon.count() != 3 && polygon.count() != 4)
            std::abort();
    }
    fuzz::CheckModel(model);
    return 0;
}
