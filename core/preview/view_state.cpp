#include "core/preview/view_state.h"

#include <array>

namespace kalvo {

void ApplyView(const TViewState& state, TVector& camera)
{
    camera.SetView(state.ViewTarget.x, state.ViewTarget.y, state.ViewTarget.z, state.ViewDistance,
                   -static_cast<double>(state.ViewAngleH), static_cast<double>(state.ViewAngleV));
}

void InitialiseCamera(TVector& camera, int paneWidth, int paneHeight)
{
    camera.ViewWidth = paneWidth;
    camera.ViewHeight = paneHeight;
    camera.SetView(0.0, 0.0, 0.0, 50.0, 0.0, 0.0);
}

void ResizeCamera(const TViewState& state, TVector& camera, int paneWidth, int paneHeight)
{
    camera.ViewWidth = paneWidth;
    camera.ViewHeight = paneHeight;
    camera.SetDistance(state.ViewDistance);
}

std::span<const TFixedViewpoint> FixedViewpoints()
{
    static constexpr std::array<TFixedViewpoint, 6> kViewpoints{{
        {"N17", "正面", -90, 0},
        {"N18", "左", 0, 0},
        {"N19", "右", 180, 0},
        {"N20", "上", 0, 90},
        {"N21", "下", 0, -90},
        {"N22", "背面", 90, 0},
    }};
    return kViewpoints;
}

void ApplyFixedViewpoint(TViewState& state, TVector& camera, const TFixedViewpoint& viewpoint)
{
    state.ViewAngleH = viewpoint.ViewAngleH;
    state.ViewAngleV = viewpoint.ViewAngleV;
    ApplyView(state, camera);
}

void TargetOrigin(TViewState& state, TVector& camera)
{
    state.ViewTarget = VertexInput{};
    camera.SetTarget(state.ViewTarget);
}

TViewChange CentreOnBoxes(TViewState& state, TVector& camera, std::span<const TBox> boxes)
{
    // Without any model the box is undefined; the view is left as it is.
    if (boxes.empty())
        return TViewChange::None;
    TBox all = boxes.front();
    for (const TBox& box : boxes.subspan(1))
        Unite(all, box);
    VertexInput centre{};
    centre.x = all.MinX + (all.MaxX - all.MinX) / 2.0;
    centre.y = all.MinY + (all.MaxY - all.MinY) / 2.0;
    centre.z = all.MinZ + (all.MaxZ - all.MinZ) / 2.0;
    if (state.ActiveView == kPerspectiveView) {
        state.ViewTarget = centre;
        camera.SetTarget(state.ViewTarget);
        return TViewChange::Perspective;
    }
    state.CursorPoint = centre;
    state.OrthoCentre = state.CursorPoint;
    return TViewChange::Ortho;
}

} // namespace kalvo
