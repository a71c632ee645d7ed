#pragma once

#include <cstdint>
#include <string>

namespace kalvo::test {

// Compares a picture of 0x00BBGGRR pixels (rows of width, from the top), as the canvases and
// the template bitmap hold them, exactly with tests/data/golden/name (a .png or a .ppm file).
// Returns "" when the pictures are equal. On a mismatch writes name.actual.png (what was drawn)
// and name.diff.png (differing pixels in magenta over a faded copy of the golden picture)
// beside it, and returns a message with the number of differing pixels and the first few.
// With KALVO_UPDATE_GOLDENS=1 in the environment it rewrites the golden picture instead, for
// a change to a picture that is intended (look at the result before committing it).
std::string CompareImageWithGolden(const std::string& name, const std::uint32_t* pixels, int width,
                                   int height);

// The same for anything shaped like a canvas (Pixels(), Width(), Height()).
template <typename Canvas>
std::string CompareImageWithGolden(const std::string& name, const Canvas& canvas)
{
    return CompareImageWithGolden(name, canvas.Pixels(), canvas.Width(), canvas.Height());
}

} // namespace kalvo::test
