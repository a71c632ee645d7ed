#pragma once

#include <cstdint>
#include <string>

namespace kalvo::test {

// Compares an image of 0x00BBGGRR pixels (rows of width, from the top) exactly with the PNG
// tests/data/golden/name. On a mismatch writes name.actual.png (what was drawn) and
// name.diff.png (differing pixels in magenta over a faded copy of the golden picture) beside
// it, and returns a message with the number of differing pixels and the first few of them.
// Returns "" when the pictures are equal.
std::string CompareImageWithGolden(const std::string& name, const std::uint32_t* pixels, int width,
                                   int height);

} // namespace kalvo::test
