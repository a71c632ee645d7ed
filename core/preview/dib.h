#pragma once

#include "core/model/records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>

namespace kalvo {

class TCanvas;

// The off-screen image of a preview window for its batch drawing: 8-bit palette indices over
// a fixed 3-3-2 palette (index r + 8g + 64b), ordered dithering for true colours, and an
// optional depth plane of 32-bit floats (-1 = no surface yet; any negative value is empty).
// Rows run from the top without gaps, so callers keep widths a multiple of 4 for the
// platform's bitmap rows.
//
// The preview window owns one, sizes it before each drawing (SetSize), the renderer fills it
// and the window copies it to its pane with Draw.
class TDIB
{
public:
    TDIB() = default;
    ~TDIB() { Release(); }
    TDIB(const TDIB&) = delete;
    TDIB& operator=(const TDIB&) = delete;
    // A moved-from image has no buffers.
    TDIB(TDIB&& other) noexcept { *this = std::move(other); }
    TDIB& operator=(TDIB&& other) noexcept;

    // Replaces the buffers with fresh ones of the given size; their contents are undefined. A
    // buffer that cannot be allocated (or a negative size) is left absent, its flag false.
    void Allocate(int width, int height, bool withColour, bool withDepth);
    void Release();
    // Reallocates only when one of the four values differs, so the content survives a call
    // that changes nothing.
    void SetSize(int width, int height, bool withColour, bool withDepth);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasColour() const { return hasColour_; }
    bool HasDepth() const { return hasDepth_; }

    // Every pixel takes the undithered index (R div 36) + 8 (G div 36) + 64 (B div 85).
    void Fill(TColour colour);
    // Stores the dithered index of colour; ignored outside the image.
    void SetPixel(int x, int y, TColour colour);
    // The palette index at (x, y); 0 outside the image or without a colour buffer.
    std::uint8_t GetIndex(int x, int y) const;

    void ClearDepth();
    // 0.0 outside the image or without a depth plane.
    double GetDepth(int x, int y) const;
    // Stored as a 32-bit float; ignored outside the image or without a depth plane.
    void SetDepth(int x, int y, double value);

    // Row-major, width * height entries; null when absent.
    const std::uint8_t* Indices() const { return pixels_.get(); }
    const float* Depths() const { return depth_.get(); }
    // Writable views for fillers that clip their runs themselves and so need no per-pixel
    // bounds check.
    std::uint8_t* Indices() { return pixels_.get(); }
    float* Depths() { return depth_.get(); }

    // Copies the rectangle (x, y, width, height) of the image 1:1 onto the same rectangle of
    // canvas, through the palette. Parts outside either are skipped.
    void Draw(TCanvas& canvas, int x, int y, int width, int height) const;

    // Entry i: red trunc((i mod 8) * 36.5), green trunc(((i div 8) mod 8) * 36.5),
    // blue (i div 64) * 85, as 0x00BBGGRR.
    static const std::array<TColour, 256>& Palette();
    // The dither threshold (0..31) at column x, row y.
    static int DitherThreshold(int x, int y) { return kDither[x & 3][y & 7]; }
    // The index SetPixel stores for colour at (x, y). Defined here so a filler that needs the
    // indices of one colour at several columns shares the splitting of the colour.
    static std::uint8_t DitheredIndex(int x, int y, TColour colour)
    {
        const int t = DitherThreshold(x, y);
        const int red = colour & 0xFF;
        const int green = (colour >> 8) & 0xFF;
        const int blue = (colour >> 16) & 0xFF;
        const int r = std::min(red / 32 + (t < red % 32 ? 1 : 0), 7);
        const int g = std::min(green / 32 + (t < green % 32 ? 1 : 0), 7);
        const int b = std::min(blue / 64 + (t < (blue % 64) / 2 ? 1 : 0), 3);
        return static_cast<std::uint8_t>(r + 8 * g + 64 * b);
    }

private:
    // Each threshold 0..31 once; row x mod 4, column y mod 8.
    static constexpr int kDither[4][8] = {
        {0, 20, 5, 27, 2, 21, 7, 29},
        {16, 8, 24, 12, 17, 9, 25, 13},
        {4, 26, 1, 30, 6, 28, 3, 31},
        {23, 14, 18, 10, 22, 15, 19, 11},
    };

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::size_t At(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_ = 0;
    int height_ = 0;
    bool hasColour_ = false;
    bool hasDepth_ = false;
    std::unique_ptr<std::uint8_t[]> pixels_;
    std::unique_ptr<float[]> depth_;
};

} // namespace kalvo
