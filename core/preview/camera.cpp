#include "core/preview/camera.h"

#include "core/preview/vector_math.h"

#include <cmath>
#include <numbers>

namespace kalvo {

void TVector::SetView(double tx, double ty, double tz, double distance, double azimuth,
                      double elevation)
{
    Target[0] = tx;
    Target[1] = ty;
    Target[2] = tz;
    const double a = azimuth * std::numbers::pi / 180.0;
    const double e = elevation * std::numbers::pi / 180.0;
    SinA = std::sin(a);
    CosA = std::cos(a);
    SinE = std::sin(e);
    CosE = std::cos(e);
    CosASinE = CosA * SinE;
    CosACosE = CosA * CosE;
    SinASinE = SinA * SinE;
    SinACosE = SinA * CosE;
    SetDistance(distance);
}

void TVector::SetTarget(const VertexInput& point)
{
    Target[0] = point.x;
    Target[1] = point.y;
    Target[2] = point.z;
    SetDistance(Distance);
}

void TVector::SetDistance(double d)
{
    if (!(d > 0.0))
        return;
    Distance = d;
    const double halfTan = std::tan(kFieldOfViewH / 2.0 * std::numbers::pi / 180.0) * d;
    const double sx = (ViewWidth / 2.0) / halfTan;
    const double sy = (ViewHeight / 2.0) / halfTan;
    Scale = sx < sy ? sx : sy;
}

double TVector::ProjectPoint(double x, double y, double z, int& offsetX, int& offsetY) const
{
    const double dx = x - Target[0];
    const double dy = y - Target[1];
    const double dz = z - Target[2];
    const double h = -dx * SinA + dy * CosA;
    const double v = -dx * CosASinE - dy * SinASinE + dz * CosE;
    const double w = dx * CosACosE + dy * SinACosE + dz * SinE;
    const double depth = Distance - w;
    // A point level with or behind the eye has no image; it lands on the centre and the
    // drawing operations skip what touches it.
    const double k = depth > 0.0 ? Distance / depth * Scale : 0.0;
    offsetX = RoundHalfEven(k * h);
    offsetY = RoundHalfEven(k * v);
    return depth;
}

} // namespace kalvo
