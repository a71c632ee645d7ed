#include "core/preview/shading.h"
#include "core/preview/valid_index.h"
#include "core/preview/vector_math.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace kalvo {

namespace {

int Sign(std::int64_t value) { return (value > 0) - (value < 0); }

int DepthCueWeight(const TDrawScratch& scratch, double z)
{
    const double range = scratch.FarDepth - scratch.NearDepth;
    // A model whose corners all lie at one depth has no range to fade along: no fading.
    if (range == 0.0)
        return 0;
    return RoundHalfEven((z - scratch.NearDepth) / range * 256.0);
}

void PlotDepthPixel(const TDrawScratch& scratch, int x, int y, double z, bool toBitmap,
                    bool depthCue, TColour colour, TCanvas& pane, TDIB& bitmap)
{
    const double stored = bitmap.GetDepth(x, y);
    if (!(stored >= z - kLineDepthTolerance || stored < 0.0))
        return;
    const TColour drawn =
        depthCue ? BlendColour(colour, scratch.BackColour, DepthCueWeight(scratch, z)) : colour;
    if (toBitmap)
        bitmap.SetPixel(x, y, drawn);
    else
        pane.SetPixel(x, y, drawn);
    bitmap.SetDepth(x, y, z);
}

// Number of times a Bresenham walk along the major axis has stepped the minor coordinate
// after k steps, for an error term starting at err0 and stepping when it drops below 0.
std::int64_t MinorStepsAfter(std::int64_t k, std::int64_t err0, std::int64_t major,
                             std::int64_t minor)
{
    const std::int64_t need = k * minor - err0;
    if (need <= 0)
        return 0;
    return (need + major - 1) / major;
}

// The range [first, last) of steps k for which start + sign * k lies in [0, size).
void StepsInside(std::int64_t start, int sign, std::int64_t size, std::int64_t count,
                 std::int64_t& first, std::int64_t& last)
{
    if (sign > 0) {
        first = std::max<std::int64_t>(0, -start);
        last = std::min(count, size - start);
    } else if (sign < 0) {
        first = std::max<std::int64_t>(0, start - size + 1);
        last = std::min(count, start + 1);
    } else {
        const bool inside = start >= 0 && start < size;
        first = 0;
        last = inside ? count : 0;
    }
}

} // namespace

TColour BlendColour(TColour a, TColour b, int weight)
{
    TColour result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFFu);
        const int cb = static_cast<int>((b >> shift) & 0xFFu);
        int channel = ca + RoundHalfEven(static_cast<double>(cb - ca) / 256.0 * weight);
        channel = std::clamp(channel, 0, 255);
        result |= static_cast<TColour>(channel) << shift;
    }
    return result;
}

void DrawDepthLine(const TDrawScratch& scratch, const VertexInput& a, const VertexInput& b,
                   bool toBitmap, bool depthCue, TColour colour, TCanvas& pane, TDIB& bitmap)
{
    const std::int64_t width = pane.Width();
    const std::int64_t height = pane.Height();
    const std::int64_t dx = RoundHalfEven(b.x - a.x);
    const std::int64_t dy = RoundHalfEven(b.y - a.y);
    const double dz = b.z - a.z;
    const int sx = Sign(dx);
    const int sy = Sign(dy);
    const std::int64_t x0 = RoundHalfEven(a.x);
    const std::int64_t y0 = RoundHalfEven(a.y);
    const std::int64_t adx = std::llabs(dx);
    const std::int64_t ady = std::llabs(dy);

    // The walk is entered at the first step inside the pane along the major axis and left at
    // the last, so a line reaching far outside costs no more than one across the pane.
    const bool wide = adx > ady;
    const std::int64_t major = wide ? adx : ady;
    const std::int64_t minor = wide ? ady : adx;
    const double zStep = major != 0 ? dz / major : 0.0;
    const std::int64_t err0 = major / 2;
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (wide)
        StepsInside(x0, sx, width, major + 1, first, last);
    else
        StepsInside(y0, sy, height, major + 1, first, last);
    if (first >= last)
        return;
    const std::int64_t minorSteps = MinorStepsAfter(first, err0, major, minor);
    std::int64_t err = err0 - first * minor + minorSteps * major;
    std::int64_t x = wide ? x0 + sx * first : x0 + sx * minorSteps;
    std::int64_t y = wide ? y0 + sy * minorSteps : y0 + sy * first;
    double z = first == 0 ? a.z : a.z + zStep * static_cast<double>(first);
    for (std::int64_t k = first; k < last; ++k) {
        if (x >= 0 && x < width && y >= 0 && y < height)
            PlotDepthPixel(scratch, static_cast<int>(x), static_cast<int>(y), z, toBitmap, depthCue,
                           colour, pane, bitmap);
        z += zStep;
        err -= minor;
        if (wide) {
            x += sx;
            if (err < 0) {
                err += major;
                y += sy;
            }
        } else {
            y += sy;
            if (err < 0) {
                err += major;
                x += sx;
            }
        }
    }
}

void DrawPolygonEdges(const TpreviewObj& model, TDrawScratch& scratch, int p, bool depthCue,
                      bool toBitmap, TCanvas& pane, TDIB& bitmap)
{
    if (!ValidIndex(p, model.Polygons.size()))
        return;
    scratch.CentreX = pane.Width() / 2;
    scratch.CentreY = pane.Height() / 2;
    const std::size_t projectedCount = scratch.Projected.size();
    for (const int e : model.Polygons[p].sides) {
        if (!ValidIndex(e, model.Edges.size()) || scratch.MarkDrawn(e))
            continue;
        const TEdgeC& edge = model.Edges[e];
        if (!ValidIndex(edge.StartVertex, projectedCount) ||
            !ValidIndex(edge.EndVertex, projectedCount))
            continue;
        const VertexInput a = ReadPoint(scratch.Projected[edge.StartVertex]);
        const VertexInput b = ReadPoint(scratch.Projected[edge.EndVertex]);
        for (const VertexInput* corner : {&a, &b}) {
            if (corner->mark)
                pane.FillRect(RoundHalfEven(corner->x - 2), RoundHalfEven(corner->y - 2),
                              RoundHalfEven(corner->x + 2), RoundHalfEven(corner->y + 2),
                              kShadeMarkColour);
        }
        if (a.z >= 0.0 && b.z >= 0.0)
            DrawDepthLine(scratch, a, b, toBitmap, depthCue, scratch.WireColour, pane, bitmap);
    }
}

} // namespace kalvo
