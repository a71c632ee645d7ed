#pragma once

#include "core/model/records.h"
#include "core/preview/views.h"

#include <span>
#include <string>

namespace kalvo {

// The orthographic mapping shared by the top (1, XY), side (2, YZ) and face (3, XZ) panes:
// one centre point, one zoom (model units across a pane's width) and a fixed axis assignment
// per pane. Pixels are square: the pane's width sets the scale for both axes.

// Pixels per model unit of a pane paneWidth pixels wide at zoom.
inline double OrthoScaleFor(int paneWidth, double zoom) { return paneWidth / zoom; }

// model value -> pixel column or row: sign * nearest((value - centre) * scale) + half, where
// half is the pane's width div 2 (columns) or height div 2 (rows).
int OrthoToPixel(double value, double centre, int sign, double scale, int half);
// pixel column -> model value.
double OrthoColumnToModel(int column, double centre, double scale, int halfWidth);
// pixel row -> model value; for sign -1 the row counts from the bottom (height - row).
double OrthoRowToModel(int row, double centre, int sign, double scale, int halfHeight, int height);

struct TPixel
{
    int x = 0;
    int y = 0;
};

// The pixel of model point p in pane view (kTopView, kSideView or kFaceView), seen around
// centre at scale, for a pane whose centre pixel is (halfWidth, halfHeight).
TPixel OrthoProject(int view, const VertexInput& p, const VertexInput& centre, double scale,
                    int halfWidth, int halfHeight);

// --- Zoom --------------------------------------------------------------------------------

inline constexpr double kMinOrthoZoom = 0.3125;
inline constexpr double kMaxOrthoZoom = 320.0;

// One radio item of the zoom popup.
struct TZoomItem
{
    const char* Item;    // menu item name
    const char* Caption; // "1:32" ... "32:1", also the label text it sets
    int Tag;
    bool Magnifies; // an "n:1" item: zoom = 10 / 2^tag; otherwise zoom = 10 * 2^tag
};

// In menu order, "1:32" first.
std::span<const TZoomItem> ZoomItems();
double ZoomForItem(const TZoomItem& item);

// Zoom in ("ズームイン") halves the zoom and zoom out doubles it, within the limits; both
// return false, changing nothing, at the limit. After a change the label comes from
// ZoomLabel.
bool ZoomIn(double& zoom);
bool ZoomOut(double& zoom);
// The label the zoom commands give a zoom value: the caption of the popup item that sets it
// ("1:2" for 20, "2:1" for 5).
std::string ZoomLabel(double zoom);

} // namespace kalvo
