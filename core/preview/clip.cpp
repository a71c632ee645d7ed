#include "core/preview/clip.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalvo {

namespace {

// The values carried along the segment being clipped: depth, and u and v unwrapped across the
// seam so that interpolating between the ends runs the short way round.
struct TCarried
{
    VertexInput A;
    VertexInput B;
    bool ByX = true; // parameterise by x (the longer extent) or by y

    TCarried(const VertexInput& a, const VertexInput& b, const TSeamPeriods& seams) : A(a), B(b)
    {
        Unwrap(A.u, B.u, seams.U);
        Unwrap(A.v, B.v, seams.V);
        ByX = std::fabs(B.x - A.x) >= std::fabs(B.y - A.y);
    }

    static void Unwrap(double& a, double& b, double period)
    {
        if (!(period > 0.0) || !(std::fabs(a - b) > period / 2.0))
            return;
        if (period / 2.0 >= a)
            a += period;
        else
            b += period;
    }

    // Gives p (already moved onto the line) the depth, u and v the segment has there.
    void Interpolate(VertexInput& p) const
    {
        const double span = ByX ? B.x - A.x : B.y - A.y;
        double t = 0.0;
        if (span != 0.0)
            t = ByX ? (p.x - A.x) / span : (p.y - A.y) / span;
        if (!(t > 0.0)) // also NaN
            t = 0.0;
        if (t > 1.0)
            t = 1.0;
        p.z = A.z + (B.z - A.z) * t;
        p.u = A.u + (B.u - A.u) * t;
        p.v = A.v + (B.v - A.v) * t;
    }
};

} // namespace

int OutCode(const VertexInput& p, const TClipRect& r)
{
    int code = 0;
    if (r.Left > p.x)
        code |= kOutLeft;
    else if (r.Right < p.x)
        code |= kOutRight;
    if (r.Top > p.y)
        code |= kOutAbove;
    else if (r.Bottom < p.y)
        code |= kOutBelow;
    return code;
}

bool ClipSegment(VertexInput& a, VertexInput& b, const TClipRect& r, TClipBorders& borders,
                 const TSeamPeriods& seams)
{
    borders.StartBorder.Present = false;
    borders.EndBorder.Present = false;
    if (a.x > b.x)
        std::swap(a, b);
    int codeA = OutCode(a, r);
    int codeB = OutCode(b, r);
    if ((codeA | codeB) == 0)
        return true; // wholly inside: most segments of a model seen whole

    if (codeA & codeB) {
        const int shared = codeA & codeB;
        if (shared & kOutLeft)
            a.x = b.x = r.Left;
        if (shared & kOutRight)
            a.x = b.x = r.Right;
        if (shared & kOutAbove)
            a.y = b.y = r.Top;
        if (shared & kOutBelow)
            a.y = b.y = r.Bottom;
        return false;
    }

    const TCarried carried(a, b, seams);

    // Horizontally: the part of the outline beyond the left or right border is replaced by a
    // piece of that border, so a filled polygon still reaches the pane's edge.
    if (codeA & kOutLeft) {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        TBorderSegment& border = borders.StartBorder;
        border.Present = true;
        border.A = a;
        border.A.x = r.Left;
        a.x = r.Left;
        a.y = b.y - dy / dx * (b.x - r.Left);
        carried.Interpolate(a);
        border.B = a;
    }
    if (codeB & kOutRight) {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        TBorderSegment& border = borders.EndBorder;
        border.Present = true;
        border.A = b;
        border.A.x = r.Right;
        b.x = r.Right;
        b.y = a.y + dy / dx * (r.Right - a.x);
        carried.Interpolate(b);
        border.B = b;
    }

    codeA = OutCode(a, r);
    codeB = OutCode(b, r);
    const auto steps = [&](double& dx, double& dy) {
        dx = b.x - a.x;
        dy = b.y - a.y;
        if (dy == 0.0)
            dy = 1.0;
    };
    double dx = 0.0;
    double dy = 0.0;
    if (codeA & kOutAbove) {
        borders.StartBorder.Present = false;
        steps(dx, dy);
        a.y = r.Top;
        a.x = b.x - std::fabs(dx / dy) * (b.y - r.Top);
        carried.Interpolate(a);
    }
    if (codeA & kOutBelow) {
        borders.StartBorder.Present = false;
        steps(dx, dy);
        a.y = r.Bottom;
        a.x = b.x + std::fabs(dx / dy) * (b.y - r.Bottom);
        carried.Interpolate(a);
    }
    if (codeB & kOutAbove) {
        borders.EndBorder.Present = false;
        steps(dx, dy);
        b.y = r.Top;
        b.x = a.x - std::fabs(dx / dy) * (r.Top - a.y);
        carried.Interpolate(b);
    }
    if (codeB & kOutBelow) {
        borders.EndBorder.Present = false;
        steps(dx, dy);
        b.y = r.Bottom;
        b.x = a.x + std::fabs(dx / dy) * (r.Bottom - a.y);
        carried.Interpolate(b);
    }
    return true;
}

bool ClipSegment(VertexInput& a, VertexInput& b, const TClipRect& r)
{
    TClipBorders unused;
    return ClipSegment(a, b, r, unused);
}

} // namespace kalvo
