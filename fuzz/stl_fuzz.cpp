// libFuzzer entry point of the stl target (fuzz_targets.h).

#include "fuzz/fuzz_targets.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    kalvo::fuzz::RunStl(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
