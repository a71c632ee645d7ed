#pragma once

#include "core/model/records.h"

namespace kalvo {

// The perspective camera of a preview window: an orbit camera around Target at Distance, with
// an azimuth and an elevation and a fixed 45-degree field of view. The preview window owns
// one and drives it from its view state (view_state.h); the renderer reads it to project.
//
// The eye lies at Target + Distance * (cosA cosE, sinA cosE, sinE); screen right is
// (-sinA, cosA, 0) and screen up (-cosA sinE, -sinA sinE, cosE). The trigonometry is done once
// in SetView so that projecting a point is a handful of multiplications.
class TVector
{
public:
    static constexpr double kFieldOfViewH = 45.0; // degrees
    static constexpr double kFieldOfViewV = 45.0;

    int ViewWidth = 0; // pixels of the perspective pane
    int ViewHeight = 0;
    double Target[3] = {0.0, 0.0, 0.0};
    double Distance = 0.0;
    double SinA = 0.0, CosA = 1.0;
    double SinE = 0.0, CosE = 1.0;
    double CosASinE = 0.0, CosACosE = 1.0, SinASinE = 0.0, SinACosE = 0.0;
    double Scale = 0.0; // pixels per model unit at the target plane

    // Angles in degrees. Ends with SetDistance(distance), so a non-positive distance keeps the
    // previous one.
    void SetView(double tx, double ty, double tz, double distance, double azimuth,
                 double elevation);
    // Only x, y and z of point are read; the angles stay.
    void SetTarget(const VertexInput& point);
    // Ignored unless d > 0; recomputes Scale so the 45-degree frustum fits the shorter side.
    void SetDistance(double d);

    // Projects a point: writes its pixel offset from the pane centre (x right, y UP) and
    // returns its depth, Distance minus its distance toward the eye from the target plane.
    // A point level with or behind the eye (depth <= 0) gets offset (0, 0).
    // The pixel is (ViewWidth / 2 + offsetX, ViewHeight / 2 - offsetY).
    double ProjectPoint(double x, double y, double z, int& offsetX, int& offsetY) const;
    double ProjectPoint(const VertexInput& point, int& offsetX, int& offsetY) const
    {
        return ProjectPoint(point.x, point.y, point.z, offsetX, offsetY);
    }
};

} // namespace kalvo
