#pragma once

#include <cstdint>

namespace kalvo {

// The canvas's only font: 5 x 7 pixel glyphs in 6 x 8 cells (one blank column on the right,
// one blank row below), enough for the axis letters and short labels. It holds the digits,
// the capital letters A-Z (lower-case letters are drawn as capitals), and + - . : / ( ) =
// and space; any other character leaves its cell blank.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr int kGlyphCellWidth = 6;
inline constexpr int kGlyphCellHeight = 8;

// The glyph of character c: kGlyphHeight rows from the top, bit 4 = leftmost column. nullptr
// for characters the font does not have.
const std::uint8_t* GlyphRows(char c);

} // namespace kalvo
