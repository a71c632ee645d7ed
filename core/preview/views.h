#pragma once

namespace kalvo {

// The four panes of a preview window, numbered as the window keeps them (ActiveView, the
// canvases, the paint boxes).
enum TViewId : int {
    kPerspectiveView = 0,
    kTopView = 1,  // XY: +Y right, +X down
    kSideView = 2, // YZ: +Y right, +Z up
    kFaceView = 3, // XZ: +X LEFT, +Z up
};
inline constexpr int kViewCount = 4;

// The top, side and face panes: the flat ones, always drawn as wireframes.
constexpr bool IsFlatView(int view) { return view >= kTopView && view <= kFaceView; }

// The display modes of the perspective pane (DisplayMode), numbered as the mode buttons
// combine them.
enum TDisplayMode : int {
    kWireframeMode = 0,
    kShadedWireframeMode = 1,    // depth-cued edges
    kHiddenSurfaceEdgesMode = 2, // filled faces with their edges
    kHiddenSurfaceMode = 3,
};
inline constexpr int kDisplayModeCount = 4;

} // namespace kalvo
