#pragma once

#include "core/model/records.h"

namespace kalvo {

// A clip rectangle whose four bounds are all inside: a point with x == Right or y == Bottom
// is not outside.
struct TClipRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Bits of OutCode.
inline constexpr int kOutLeft = 1;
inline constexpr int kOutRight = 2;
inline constexpr int kOutAbove = 4;
inline constexpr int kOutBelow = 8;

// kOutLeft or kOutRight (never both), plus kOutAbove or kOutBelow (never both).
int OutCode(const VertexInput& p, const TClipRect& r);

// A piece of a polygon's outline that runs along the left or right border where the outline
// leaves the rectangle sideways, so the span filler still closes the polygon there.
struct TBorderSegment
{
    bool Present = false;
    VertexInput A{};
    VertexInput B{};
};

struct TClipBorders
{
    TBorderSegment StartBorder; // along the left border, at the left end of the segment
    TBorderSegment EndBorder;   // along the right border, at the right end
};

// Texture seam periods (the model's MaxU and MaxV); 0 means no seam. When a segment's u (or
// v) ends lie more than half a period apart the segment wraps around the seam, and the
// clipper interpolates u across the seam, as the span filler does.
struct TSeamPeriods
{
    double U = 0.0;
    double V = 0.0;
};

// Clips segment a-b to r: horizontally first, recording the parts of the outline that leave
// sideways as border segments, then vertically. Returns true when something is to be drawn;
// a and b are then the clipped ends. a and b are swapped first when a.x > b.x, so a is the
// left end afterwards. A segment that passes the first (trivial) test but misses the
// rectangle near a corner still comes back true, with its ends on the top or bottom border.
//
// Moved ends and border points get depth, u and v interpolated along the segment (linearly in
// screen space, as the span filler interpolates), so the filler sees the depth the outline
// has where it meets the border. The first point of a border segment lies level with the
// original end and carries its values.
bool ClipSegment(VertexInput& a, VertexInput& b, const TClipRect& r, TClipBorders& borders,
                 const TSeamPeriods& seams = {});
// The same without border segments, for lines.
bool ClipSegment(VertexInput& a, VertexInput& b, const TClipRect& r);

} // namespace kalvo
