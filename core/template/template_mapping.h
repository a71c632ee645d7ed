#pragma once

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
