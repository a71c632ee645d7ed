#include "core/preview/navigation.h"

#include "core/preview/ortho.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kalvo {

namespace {

constexpr double kMinViewDistance = 1.0;
constexpr int kWheelDragPixels = 12;

void SetDistanceAtLeastOne(TViewState& state, TVector& camera, double distance)
{
    state.ViewDistance = std::max(distance, kMinViewDistance);
    camera.SetDistance(state.ViewDistance);
}

} // namespace

void OrbitView(TViewState& state, TVector& camera, int dx, int dy, bool sameDirection)
{
    if (sameDirection) {
        state.ViewAngleH = (state.ViewAngleH + 360 - dx) % 360;
        state.ViewAngleV = (state.ViewAngleV + 360 - dy) % 360;
    } else {
        state.ViewAngleH = (state.ViewAngleH + dx) % 360;
        state.ViewAngleV = (state.ViewAngleV + dy) % 360;
    }
    ApplyView(state, camera);
}

void DollyView(TViewState& state, TVector& camera, int dy, bool downwardZoomsIn)
{
    const double step = dy / 10.0;
    SetDistanceAtLeastOne(state, camera,
                          downwardZoomsIn ? state.ViewDistance - step : state.ViewDistance + step);
}

void WheelDolly(TViewState& state, TVector& camera, double notches)
{
    SetDistanceAtLeastOne(state, camera, state.ViewDistance - notches * kWheelDragPixels / 10.0);
}

void PanOrtho(TViewState& state, int view, int dx, int dy, double scale)
{
    VertexInput& centre = state.OrthoCentre;
    switch (view) {
    case kTopView:
        centre.x -= dy / scale;
        centre.y -= dx / scale;
        break;
    case kSideView:
        centre.y -= dx / scale;
        centre.z += dy / scale;
        break;
    case kFaceView:
        centre.x += dx / scale;
        centre.z += dy / scale;
        break;
    default:
        return;
    }
    state.CursorPoint = centre;
}

VertexInput OrthoPointAt(const TViewState& state, int view, int x, int y, int width, int height)
{
    const double scale = OrthoScaleFor(width, state.OrthoZoom);
    const VertexInput& centre = state.OrthoCentre;
    VertexInput point = state.CursorPoint;
    switch (view) {
    case kTopView:
        point.x = centre.x + (y - height / 2) / scale;
        point.y = centre.y + (x - width / 2) / scale;
        break;
    case kSideView:
        point.y = centre.y + (x - width / 2) / scale;
        point.z = centre.z + (height - y - height / 2) / scale;
        break;
    case kFaceView:
        point.x = centre.x + ((width - x) - width / 2) / scale;
        point.z = centre.z + (height - y - height / 2) / scale;
        break;
    default:
        break;
    }
    return point;
}

VertexInput OrthoDepthMove(const TViewState& state, int view, int dy, double scale)
{
    const double depth = dy / scale;
    VertexInput point = state.CursorPoint;
    switch (view) {
    case kTopView:
        point.z -= depth;
        break;
    case kSideView:
        point.x += depth;
        break;
    case kFaceView:
        point.y += depth;
        break;
    default:
        break;
    }
    return point;
}

void FrameBox(TViewState& state, TVector& camera, const TBox& box, const int orthoWidth[3],
              const int orthoHeight[3])
{
    const double sizeX = box.MaxX - box.MinX;
    const double sizeY = box.MaxY - box.MinY;
    const double sizeZ = box.MaxZ - box.MinZ;
    VertexInput centre{};
    centre.x = box.MinX + sizeX / 2.0;
    centre.y = box.MinY + sizeY / 2.0;
    centre.z = box.MinZ + sizeZ / 2.0;

    // A sphere of radius r seen from distance d fills a half-angle of asin(r / d).
    const double radius = std::sqrt(sizeX * sizeX + sizeY * sizeY + sizeZ * sizeZ) / 2.0;
    const double halfField = TVector::kFieldOfViewV / 2.0 * std::numbers::pi / 180.0;
    state.ViewTarget = centre;
    state.ViewDistance = std::max(radius / std::sin(halfField), kMinViewDistance);
    ApplyView(state, camera);

    // Units across the pane's width that the box needs in each pane: its horizontal extent,
    // and its vertical extent stretched by the pane's width-to-height ratio.
    const double across[3] = {sizeY, sizeY, sizeX};
    const double down[3] = {sizeX, sizeZ, sizeZ};
    double needed = 0.0;
    for (int pane = 0; pane < 3; ++pane) {
        if (orthoWidth[pane] <= 0 || orthoHeight[pane] <= 0)
            continue;
        needed = std::max(needed, across[pane]);
        needed = std::max(needed, down[pane] * orthoWidth[pane] / orthoHeight[pane]);
    }
    double zoom = kMinOrthoZoom;
    while (zoom < needed && zoom < kMaxOrthoZoom)
        zoom *= 2.0;
    state.OrthoZoom = zoom;
    state.OrthoCentre = centre;
    state.CursorPoint = centre;
}

} // namespace kalvo
