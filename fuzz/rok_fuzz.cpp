// libFuzzer target: any bytes as a ROK file.

#include "core/io/rok_reader.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kalvo;
    fuzz::TQuietSink sink;
    TpreviewObj model;
    TROKobject reader(sink);
    if (reader.ReadPaletteFromBytes(std::string(reinterpret_cast<const char*>(data), size)))
        reader.ReadGeometry(model);
    // A signature or palette problem, a stop, and the dropped records: never more.
    if (sink.Count > 2)
        std::abort();
    fuzz::CheckModel(model);
    return 0;
}
