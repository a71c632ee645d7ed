#pragma once

#include "core/model/records.h"

#include <cmath>

namespace kalvo {

// Coordinates that leave the integer range saturate here, so that sums of a pane centre and an
// offset never overflow; nothing drawable comes near this limit.
inline constexpr int kCoordLimit = 1 << 30;

// A real coordinate becomes a pixel by rounding to the nearest integer, halves to even.
// Values beyond +-kCoordLimit saturate and NaN gives 0, so callers may feed any double.
inline int RoundHalfEven(double value)
{
    if (!(value > -kCoordLimit)) // also catches NaN
        return std::isnan(value) ? 0 : -kCoordLimit;
    if (value > kCoordLimit)
        return kCoordLimit;
    // Adding and removing 1.5 * 2^52 leaves the value rounded to an integer under the default
    // rounding mode (to nearest, ties to even) without a library call. The project never
    // builds with -ffast-math, which would fold the two operations away.
    constexpr double kMagic = 6755399441055744.0;
    const double shifted = value + kMagic;
    return static_cast<int>(shifted - kMagic);
}

// Vector helpers on VertexInput records; only x, y and z take part unless said otherwise.

// A point at (x, y, z) with u = v = 0, group 0, flag 1 and no mark.
inline VertexInput MakePoint(double x, double y, double z)
{
    return VertexInput{x, y, z, 0.0, 0.0, 0, 1, false};
}

inline VertexInput ReadPoint(const TVecPointC& p)
{
    return VertexInput{p.x, p.y, p.z, p.u, p.v, p.group, p.flag, p.Mark};
}

// 0 for the zero vector (exactly), otherwise the Euclidean length.
inline double VectorLength(const VertexInput& a)
{
    if (a.x == 0.0 && a.y == 0.0 && a.z == 0.0)
        return 0.0;
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

// The unit vector along a; the zero vector gives (1, 0, 0) so shading never divides by zero.
inline VertexInput Normalise(const VertexInput& a)
{
    const double length = VectorLength(a);
    if (length == 0.0)
        return MakePoint(1.0, 0.0, 0.0);
    return MakePoint(a.x / length, a.y / length, a.z / length);
}

inline double DotProduct(const VertexInput& a, const VertexInput& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline VertexInput CrossProduct(const VertexInput& a, const VertexInput& b)
{
    return MakePoint(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

inline VertexInput Difference(const VertexInput& a, const VertexInput& b)
{
    return MakePoint(a.x - b.x, a.y - b.y, a.z - b.z);
}

// The mean of x, y, z, u and v of two points.
inline VertexInput MidPoint(const VertexInput& a, const VertexInput& b)
{
    VertexInput m = MakePoint((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
    m.u = (a.u + b.u) / 2.0;
    m.v = (a.v + b.v) / 2.0;
    return m;
}

// The unit normal of the plane through p0, p1, p2, by the turn p0 -> p1 -> p2.
inline VertexInput FaceNormal(const VertexInput& p0, const VertexInput& p1, const VertexInput& p2)
{
    return Normalise(CrossProduct(Difference(p1, p0), Difference(p2, p1)));
}

} // namespace kalvo
