#include "core/preview/canvas.h"

#include "core/preview/text_font.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace kalvo {

namespace {

// Walks the pixels of the line (x0, y0) -> (x1, y1) that fall inside the window
// xMin..xMax, yMin..yMax (all inclusive), calling plot(x, y) for each. Pixel i of the
// n = max(|dx|, |dy|) steps lies i steps along the major axis and i * minor / major steps,
// rounded with halves away from the start, along the minor one. The end pixel (i = n) is
// walked only when includeEnd is set. The walk starts and stops at the window on the major
// axis, so its cost is bounded by the window's size whatever the coordinates.
template <typename Plot>
void WalkLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, bool includeEnd,
              std::int64_t xMin, std::int64_t xMax, std::int64_t yMin, std::int64_t yMax,
              Plot&& plot)
{
    const std::int64_t adx = std::llabs(x1 - x0);
    const std::int64_t ady = std::llabs(y1 - y0);
    const std::int64_t sx = x1 >= x0 ? 1 : -1;
    const std::int64_t sy = y1 >= y0 ? 1 : -1;
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady;
    const std::int64_t minor = xMajor ? ady : adx;
    const std::int64_t last = includeEnd ? major : major - 1;
    if (last < 0)
        return;
    // Step range that stays inside the window along the major axis.
    const std::int64_t m0 = xMajor ? x0 : y0;
    const std::int64_t sm = xMajor ? sx : sy;
    const std::int64_t lo = xMajor ? xMin : yMin;
    const std::int64_t hi = xMajor ? xMax : yMax;
    std::int64_t first = 0;
    std::int64_t stop = last;
    if (sm > 0) {
        first = std::max(first, lo - m0);
        stop = std::min(stop, hi - m0);
    } else {
        first = std::max(first, m0 - hi);
        stop = std::min(stop, m0 - lo);
    }
    if (first > stop)
        return;
    // Minor offset of step i: floor((2 i minor + major) / (2 major)), kept as quotient and
    // remainder and stepped by 2 minor.
    const std::int64_t twoMajor = 2 * (major == 0 ? 1 : major);
    std::int64_t q = 0;
    std::int64_t r = major;
    if (first > 0) {
        // Far-off starts can exceed 64 bits here (2^32 steps times a 2^32 minor extent).
        const __int128 start = static_cast<__int128>(2) * first * minor + major;
        q = static_cast<std::int64_t>(start / twoMajor);
        r = static_cast<std::int64_t>(start % twoMajor);
    }
    const std::int64_t twoMinor = 2 * minor;
    const std::int64_t n0 = xMajor ? y0 : x0;
    const std::int64_t sn = xMajor ? sy : sx;
    const std::int64_t nLo = xMajor ? yMin : xMin;
    const std::int64_t nHi = xMajor ? yMax : xMax;
    for (std::int64_t i = first; i <= stop; ++i) {
        const std::int64_t m = m0 + sm * i;
        const std::int64_t n = n0 + sn * q;
        if (n >= nLo && n <= nHi) {
            if (xMajor)
                plot(static_cast<int>(m), static_cast<int>(n));
            else
                plot(static_cast<int>(n), static_cast<int>(m));
        } else if ((sn > 0 && n > nHi) || (sn < 0 && n < nLo)) {
            break; // moving away from the window for good
        }
        r += twoMinor;
        if (r >= twoMajor) {
            r -= twoMajor;
            ++q;
        }
    }
}

// Columns covered by row dy (0 .. width - 1) of a round pen tip of the given diameter, as
// offsets from the tip's left column: the pixels whose centres lie within width / 2 of the
// tip's centre at (width / 2, width / 2). No pixel centre lies exactly on that circle (the
// squared distances are multiples of 1/4 away from it), so the square root cannot tip a
// pixel either way.
void TipRow(int width, int dy, int& left, int& right)
{
    const double radius = width / 2.0;
    const double ry = dy + 0.5 - radius;
    const double reach2 = radius * radius - ry * ry;
    if (reach2 < 0.0) {
        left = width;
        right = -1;
        return;
    }
    const double reach = std::sqrt(reach2);
    left = std::max(0, static_cast<int>(std::ceil(radius - 0.5 - reach)));
    right = std::min(width - 1, static_cast<int>(std::floor(radius - 0.5 + reach)));
}

} // namespace

TCanvas::TCanvas(int width, int height) { SetSize(width, height); }

void TCanvas::SetSize(int width, int height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0u);
}

TColour TCanvas::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void TCanvas::SetPixel(int x, int y, TColour colour)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void TCanvas::MoveTo(int x, int y)
{
    penX_ = x;
    penY_ = y;
}

void TCanvas::LineTo(int x, int y)
{
    if (penWidth_ == 1)
        LineThin(penX_, penY_, x, y);
    else
        LineWide(penX_, penY_, x, y);
    penX_ = x;
    penY_ = y;
}

void TCanvas::Line(int x0, int y0, int x1, int y1)
{
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

void TCanvas::LineThin(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    if (width_ == 0 || height_ == 0)
        return;
    if (x0 >= 0 && y0 >= 0 && x1 >= 0 && y1 >= 0 && x0 < width_ && x1 < width_ && y0 < height_ &&
        y1 < height_) {
        LineInside(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1),
                   static_cast<int>(y1));
        return;
    }
    WalkLine(x0, y0, x1, y1, false, 0, width_ - 1, 0, height_ - 1,
             [this](int x, int y) { Plot(x, y); });
}

// The same pixels as WalkLine gives, for the usual line with both ends on the canvas: no
// bounds to test on the way.
void TCanvas::LineInside(int x0, int y0, int x1, int y1)
{
    const int adx = std::abs(x1 - x0);
    const int ady = std::abs(y1 - y0);
    const bool xMajor = adx >= ady;
    const int major = xMajor ? adx : ady;
    const int minor = xMajor ? ady : adx;
    const std::ptrdiff_t stepX = x1 >= x0 ? 1 : -1;
    const std::ptrdiff_t stepY = y1 >= y0 ? width_ : -static_cast<std::ptrdiff_t>(width_);
    const std::ptrdiff_t majorStep = xMajor ? stepX : stepY;
    const std::ptrdiff_t minorStep = xMajor ? stepY : stepX;
    std::uint32_t* pixel = pixels_.data() + static_cast<std::size_t>(y0) * width_ + x0;
    const int twoMajor = 2 * major;
    const int twoMinor = 2 * minor;
    int r = major;
    if (penMode_ == TPenMode::Copy) {
        const std::uint32_t colour = penColour_;
        for (int i = 0; i < major; ++i) {
            *pixel = colour;
            pixel += majorStep;
            r += twoMinor;
            if (r >= twoMajor) {
                r -= twoMajor;
                pixel += minorStep;
            }
        }
    } else {
        for (int i = 0; i < major; ++i) {
            *pixel ^= 0x00FFFFFFu;
            pixel += majorStep;
            r += twoMinor;
            if (r >= twoMajor) {
                r -= twoMajor;
                pixel += minorStep;
            }
        }
    }
}

// A wide stroke is the union of round tips stamped at every pixel of the line, end included.
// It is gathered as one column span per row first, so that inverting covers each pixel once.
void TCanvas::LineWide(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1)
{
    if (width_ == 0 || height_ == 0)
        return;
    const int w = penWidth_;
    const int before = w / 2;         // tip pixels left of / above the line pixel
    const int after = w - 1 - before; // and right of / below it
    std::vector<int> tipLeft(w), tipRight(w);
    for (int dy = 0; dy < w; ++dy)
        TipRow(w, dy, tipLeft[dy], tipRight[dy]);

    std::vector<int> spanLeft(height_, INT_MAX), spanRight(height_, INT_MIN);
    int rowFirst = height_, rowLast = -1;
    WalkLine(x0, y0, x1, y1, true, -after, width_ - 1 + before, -after, height_ - 1 + before,
             [&](int x, int y) {
                 for (int dy = 0; dy < w; ++dy) {
                     const int row = y - before + dy;
                     if (row < 0 || row >= height_ || tipRight[dy] < 0)
                         continue;
                     spanLeft[row] = std::min(spanLeft[row], x - before + tipLeft[dy]);
                     spanRight[row] = std::max(spanRight[row], x - before + tipRight[dy]);
                     rowFirst = std::min(rowFirst, row);
                     rowLast = std::max(rowLast, row);
                 }
             });
    for (int row = rowFirst; row <= rowLast; ++row) {
        const int left = std::max(spanLeft[row], 0);
        const int right = std::min(spanRight[row], width_ - 1);
        for (int x = left; x <= right; ++x)
            Plot(x, row);
    }
}

void TCanvas::FillRect(int left, int top, int right, int bottom, TColour colour)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom)
        return;
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
        std::fill(row + left, row + right, colour);
    }
}

void TCanvas::Clear(TColour colour)
{
    std::uint32_t* p = pixels_.data();
    const std::size_t n = pixels_.size();
    for (std::size_t i = 0; i < n; ++i)
        p[i] = colour;
}

void TCanvas::SetTextBackground(TColour colour)
{
    textBackground_ = colour;
    textOpaque_ = true;
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    if (y >= height_ || y <= -kGlyphCellHeight)
        return;
    long long cellX = x;
    for (const char c : text) {
        if (cellX >= width_)
            break;
        const int left = static_cast<int>(std::max<long long>(cellX, INT_MIN / 2));
        if (textOpaque_)
            FillRect(left, y, left + kGlyphCellWidth, y + kGlyphCellHeight, textBackground_);
        if (const std::uint8_t* rows = GlyphRows(c)) {
            for (int row = 0; row < kGlyphHeight; ++row) {
                for (int column = 0; column < kGlyphWidth; ++column) {
                    if (rows[row] & (1u << (kGlyphWidth - 1 - column)))
                        SetPixel(left + column, y + row, fontColour_);
                }
            }
        }
        cellX += kGlyphCellWidth;
    }
}

void CanvasToScreen(const TCanvas& canvas, std::uint32_t* dest, int destStride)
{
    const std::uint32_t* source = canvas.Pixels();
    for (int y = 0; y < canvas.Height(); ++y) {
        std::uint32_t* out = dest + static_cast<std::size_t>(y) * destStride;
        const std::uint32_t* in = source + static_cast<std::size_t>(y) * canvas.Width();
        for (int x = 0; x < canvas.Width(); ++x)
            out[x] = ToScreenArgb(in[x]);
    }
}

} // namespace kalvo
