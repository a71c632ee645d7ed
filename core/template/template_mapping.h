#pragma once

#include <cstdint>
#include <string>

namespace kalvo {

class TpreviewObj;

// A position on the template, in template pixels (or screen pixels after the zoom).
struct TTemplatePoint
{
    double x = 0.0;
    double y = 0.0;
};

// A texture coordinate pair, or a difference of two.
struct TUVPoint
{
    double u = 0.0;
    double v = 0.0;
};

// A rectangle of pixels, left and top included, right and bottom excluded.
struct TTemplateRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Empty() const { return Right <= Left || Bottom <= Top; }
};

// Smallest and largest template side the template accepts. The upper bound keeps a typing
// slip in the size dialog from asking for gigabytes.
constexpr int kMinTemplateSide = 1;
constexpr int kMaxTemplateSide = 16384;

inline bool IsValidTemplateSize(int width, int height)
{
    return width >= kMinTemplateSide && width <= kMaxTemplateSide && height >= kMinTemplateSide &&
           height <= kMaxTemplateSide;
}

// The size rule lets through sizes that need more memory than many machines have (a 16384 x
// 16384 render takes about 6 GiB), so the front ends also compare what a size needs with the
// machine's memory before they allocate anything. Bytes per pixel, measured with the command
// line at 4096 x 4096 and rounded up: a render holds its frame, depth and fill buffers and the
// picture being written (20 to 24); a template its bitmap, the picture shown or written from
// it and a picture pasted at its size (8 to 12). The model and the program are not counted.
constexpr std::uint64_t kRenderBytesPerPixel = 24;
constexpr std::uint64_t kTemplateBytesPerPixel = 12;

// Estimates of the memory a render or a template of width x height needs, in bytes.
// Precondition: IsValidTemplateSize(width, height).
inline std::uint64_t RenderBytesEstimate(int width, int height)
{
    return std::uint64_t(width) * std::uint64_t(height) * kRenderBytesPerPixel;
}
inline std::uint64_t TemplateBytesEstimate(int width, int height)
{
    return std::uint64_t(width) * std::uint64_t(height) * kTemplateBytesPerPixel;
}

// The machine's physical memory in bytes; 0 when the system does not tell. The environment
// variable KALVO3D_MEMORY, when it holds a number of bytes, stands in for it: a container's
// share is smaller than the machine it runs on (and tests give a figure of their own).
std::uint64_t PhysicalMemoryBytes();

// Whether needed bytes fit in memory bytes; any amount fits an unknown memory (0).
inline bool FitsInMemory(std::uint64_t needed, std::uint64_t memory)
{
    return memory == 0 || needed <= memory;
}

// bytes for a message: "6.0 GiB", "512 MiB".
std::string MemoryText(std::uint64_t bytes);

// Rounds to the nearest integer, halves to even, as every pixel position of the template does.
// Values beyond the int range (and NaN) are pinned, so a stray (u, v) cannot overflow.
int NearestInt(double value);

// The mapping between (u, v) and template pixels of one map template: fixed by Setup and
// changed only by the layout commands. The template object owns one; the texture lookup, the
// drawing and the mouse all go through it, so what is drawn at a (u, v) is what is sampled
// there.
//
// A model whose u (or v) values are all equal has a zero range on that axis. Its scale is then
// taken as if the range were 1: the layout still collapses along that axis, but the inverse
// mappings and the pick radius stay finite.
struct TTemplateMapping
{
    int Orientation = 0; // quarter turns clockwise, 0 to 3
    int TemplateWidth = 640;
    int TemplateHeight = 480;
    double Zoom = 1.0; // on-screen scale of the template
    double UScale = 0.0;
    double VScale = 0.0;
    double URange = 0.0;
    double VRange = 0.0;
    double NegMinU = 0.0; // the model's MinU at setup, negated
    double NegMinV = 0.0;

    // Sets the size, the screen zoom (the largest power-of-two reduction that fits
    // 640 x 480) and the scales from the model's UV range. Returns false, changing nothing,
    // when the size is outside kMinTemplateSide .. kMaxTemplateSide.
    bool Setup(const TpreviewObj* model, int width, int height);

    TTemplatePoint UVToTemplate(double u, double v) const;
    // (x, y) are screen pixels: template pixels times Zoom.
    TUVPoint PixelToUV(double x, double y) const;
    TUVPoint PixelDeltaToUV(double dx, double dy) const;
    // The pick radius the window uses for vertices and edges: 4 screen pixels along u.
    double PickRadius() const;

    // Screen pixel of (u, v) at the given zoom (1 for the template bitmap itself).
    void ScreenPosition(double u, double v, double zoom, int& x, int& y) const;
};

} // namespace kalvo
