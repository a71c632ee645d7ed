#pragma once

#include "core/model/records.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kalvo {

// How the pen treats the pixels it covers.
enum class TPenMode {
    Copy,   // the pixel takes the pen colour
    Invert, // the pixel's colour is inverted (every bit of R, G and B), whatever the pen
            // colour: drawing the same lines twice restores the pane
};

// The drawing surface of a pane: a 32-bit image, one 0x00BBGGRR value per pixel, rows from the
// top without gaps, with the few primitives the preview and its overlays use. The desktop
// program shows this image as it is (ToScreenArgb converts it), so what the tests see is what
// the user sees. Everything falling outside the image is discarded; no coordinate, however
// large, makes a primitive slow or writes out of bounds.
//
// The pane windows own one each; the renderer and the overlays draw on it.
class TCanvas
{
public:
    static constexpr int kMaxPenWidth = 1024; // wider than any pane; keeps strokes cheap

    TCanvas() = default;
    TCanvas(int width, int height);

    // New size; every pixel becomes black (0). Negative sizes count as 0.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    const std::uint32_t* Pixels() const { return pixels_.data(); }
    std::uint32_t* Pixels() { return pixels_.data(); }
    // 0 outside the image.
    TColour GetPixel(int x, int y) const;
    // Ignored outside the image; the pen mode does not apply.
    void SetPixel(int x, int y, TColour colour);

    // --- Pen ------------------------------------------------------------------------------
    void SetPenColour(TColour colour) { penColour_ = colour; }
    TColour PenColour() const { return penColour_; }
    // Widths below 1 count as 1, widths above kMaxPenWidth as kMaxPenWidth.
    void SetPenWidth(int width) { penWidth_ = std::clamp(width, 1, kMaxPenWidth); }
    int PenWidth() const { return penWidth_; }
    void SetPenMode(TPenMode mode) { penMode_ = mode; }
    TPenMode PenMode() const { return penMode_; }

    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) and moves the pen there. A pen of width 1 sets
    // every pixel of the line except the end pixel, so polylines touch each pixel once; a
    // wider pen draws round-ended strokes of that diameter, end included, covering each pixel
    // once per call. In Invert mode each covered pixel is inverted exactly once.
    void LineTo(int x, int y);
    // MoveTo(x0, y0) then LineTo(x1, y1).
    void Line(int x0, int y0, int x1, int y1);

    // --- Filling and text -----------------------------------------------------------------
    // Fills left <= x < right, top <= y < bottom; empty when right <= left or bottom <= top.
    void FillRect(int left, int top, int right, int bottom, TColour colour);
    void Clear(TColour colour);

    void SetFontColour(TColour colour) { fontColour_ = colour; }
    // When set, text cells are first filled with this colour; by default text is drawn on
    // what is there.
    void SetTextBackground(TColour colour);
    void SetTransparentText() { textOpaque_ = false; }
    // Writes text with the top-left corner of its first cell at (x, y), in the built-in
    // bitmap font (text_font.h): cells of kGlyphCellWidth x kGlyphCellHeight pixels.
    void TextOut(int x, int y, std::string_view text);

private:
    void LineThin(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    void LineInside(int x0, int y0, int x1, int y1);
    void LineWide(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    void Plot(int x, int y)
    {
        std::uint32_t& pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
        pixel = penMode_ == TPenMode::Copy ? penColour_ : (pixel ^ 0x00FFFFFFu);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    TColour penColour_ = 0;
    int penWidth_ = 1;
    TPenMode penMode_ = TPenMode::Copy;
    int penX_ = 0;
    int penY_ = 0;
    TColour fontColour_ = 0;
    TColour textBackground_ = 0;
    bool textOpaque_ = false;
};

// 0x00BBGGRR -> the screen's 0xAARRGGBB (opaque), as QImage::Format_RGB32/ARGB32 take it.
inline std::uint32_t ToScreenArgb(TColour colour)
{
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// The whole canvas as 0xAARRGGBB pixels, rows of destStride pixels (at least the width).
void CanvasToScreen(const TCanvas& canvas, std::uint32_t* dest, int destStride);

} // namespace kalvo
