#pragma once

#include "core/model/box.h"
#include "core/model/records.h"
#include "core/preview/camera.h"
#include "core/preview/views.h"

#include <span>

namespace kalvo {

// The camera-related state of a preview window, and the commands that set it directly (the
// fixed viewpoints, target the origin, centre of the selected objects). The window holds one
// of these beside its TVector, calls these functions from its menu handlers and redraws what
// they say changed. Mouse navigation changes the same fields.
struct TViewState
{
    int ViewAngleH = 0; // whole degrees; the camera azimuth is -ViewAngleH
    int ViewAngleV = 0; // whole degrees; the camera elevation is ViewAngleV
    double ViewDistance = 50.0;
    VertexInput ViewTarget{};
    double OrthoZoom = 10.0; // model units across an orthographic pane's width
    VertexInput OrthoCentre{};
    VertexInput CursorPoint{};
    int ActiveView = kPerspectiveView; // a TViewId
};

// Hands the window's angles, distance and target to the camera; every caller goes this way.
void ApplyView(const TViewState& state, TVector& camera);

// Sets the camera up as a new window does: size from the perspective pane, target (0, 0, 0),
// distance 50, azimuth and elevation 0.
void InitialiseCamera(TVector& camera, int paneWidth, int paneHeight);

// After the perspective pane changed size: the camera takes the new size and recomputes its
// scale at the window's distance.
void ResizeCamera(const TViewState& state, TVector& camera, int paneWidth, int paneHeight);

// One fixed viewpoint of the viewpoint menu.
struct TFixedViewpoint
{
    const char* Item;    // menu item name
    const char* Caption; // menu text
    int ViewAngleH;
    int ViewAngleV;
};

// In menu order: 正面, 左, 右, 上, 下, 背面.
std::span<const TFixedViewpoint> FixedViewpoints();

// Sets the angles of viewpoint (an entry of FixedViewpoints) and the camera; target and
// distance stay. The caller redraws the perspective pane.
void ApplyFixedViewpoint(TViewState& state, TVector& camera, const TFixedViewpoint& viewpoint);

// "原点を注視点に": the target becomes the origin. The caller redraws the perspective pane.
void TargetOrigin(TViewState& state, TVector& camera);

// What a view command changed, so the window knows which panes to redraw.
enum class TViewChange {
    None,
    Perspective, // redraw the perspective pane
    Ortho,       // redraw the three orthographic panes
};

// "選択オブジェクトの中心": centres the active view on the union of boxes (the selected
// models' boxes, or all models' when none is selected; the caller chooses). In the
// perspective view the target moves there; in an orthographic view the cursor point and the
// orthographic centre do. With no boxes at all nothing changes.
TViewChange CentreOnBoxes(TViewState& state, TVector& camera, std::span<const TBox> boxes);

} // namespace kalvo
