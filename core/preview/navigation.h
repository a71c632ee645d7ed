#pragma once

#include "core/preview/camera.h"
#include "core/preview/view_state.h"

namespace kalvo {

// What mouse and wheel navigation does to a preview window's view state. The window reads the
// pointer, the buttons and the settings, calls these, and redraws the panes they affect.

// Orbits the perspective camera by a drag of (dx, dy) pixels, one degree per pixel. With
// sameDirection (the setting "move the viewpoint with the drag") the angles turn the other
// way. The angles stay within -359..359 (remainder of 360, the sign of the dividend); the
// elevation is not limited, so the view turns over the pole.
void OrbitView(TViewState& state, TVector& camera, int dx, int dy, bool sameDirection);

// Dollies the perspective camera by a vertical right drag of dy pixels: a tenth of a unit per
// pixel, nearer for an upward drag unless downwardZoomsIn. The distance never drops below 1.
void DollyView(TViewState& state, TVector& camera, int dy, bool downwardZoomsIn);

// The wheel: notches forward (negative: backward) move the eye as a 12-pixel right drag per
// notch toward the target would.
void WheelDolly(TViewState& state, TVector& camera, double notches);

// Pans the orthographic panes by a drag of (dx, dy) pixels in pane view (1 top, 2 side,
// 3 face) at scale pixels per unit, so the picture follows the pointer; the cursor point moves
// to the new centre.
void PanOrtho(TViewState& state, int view, int dx, int dy, double scale);

// The model point under pixel (x, y) of orthographic pane view, width by height pixels: the
// coordinates the pane shows change, the third stays as in the cursor point.
VertexInput OrthoPointAt(const TViewState& state, int view, int x, int y, int width, int height);

// The cursor point moved along the depth axis of pane view by a vertical motion of dy pixels
// at scale: down lowers z in the top pane, raises x in the side pane and y in the face pane.
VertexInput OrthoDepthMove(const TViewState& state, int view, int dy, double scale);

// Frames box: the target at its centre and the distance at which its bounding sphere just
// fits the 45-degree field across the perspective pane's shorter side; the orthographic
// centre and cursor point at its centre and the smallest zoom step at which it fits every
// orthographic pane (orthoWidth/orthoHeight, three each; a pane without size is passed over).
void FrameBox(TViewState& state, TVector& camera, const TBox& box, const int orthoWidth[3],
              const int orthoHeight[3]);

} // namespace kalvo
