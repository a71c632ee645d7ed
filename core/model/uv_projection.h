#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace kalvo {

class TpreviewObj;

// Ways of making a model's (u, v) from its positions.
enum class TUvProjection {
    PlanarX,   // along X: the side view's layout, u = y, v = z
    PlanarY,   // along Y: the face view's layout, u = -x, v = z
    PlanarZ,   // along Z: the top view's layout, u = y, v = -x
    Box,       // each polygon planar along the axis it faces most, one cell per side (below)
    CylinderX, // u the angle about the axis, v the height along it
    CylinderY,
    CylinderZ,
    Sphere, // u the longitude about Z, v the latitude
};

struct TUvProjectionName
{
    TUvProjection Projection;
    const char* Name; // the command line's spelling: "planar-x", "box", "sphere", ...
};

// Every projection, in the order above.
std::span<const TUvProjectionName> UvProjectionNames();
std::optional<TUvProjection> UvProjectionOfName(std::string_view name);

// Sets every vertex's u and v by the projection, scaled to the model's box so that both run
// over 0..1, and sets the UV range to 0..1. The cylinders and the sphere wrap at u = 1: the
// template and the texture preview take u as periodic with period MaxU, so the side that
// crosses the seam is drawn the short way.
//
// The box projection lays out each polygon by the side of the box it faces (the axis along
// which its normal is longest, and which way it points), as a planar layout seen from outside
// that side, in a grid of 3 x 2 cells: +X, +Y, +Z from left to right in the upper half of the
// template, -X, -Y, -Z below them, each side inset a little in its cell. The cells are about
// square on the usual 4:3 template. Where polygons facing different sides meet, each side
// gets a vertex of its own at the shared position (with its own u, v) and edges of its own
// between them, a UV seam: a cube becomes six separate squares of four vertices each. The
// other projections change only u and v; positions, edges and polygons stay as they are.
void ProjectUv(TpreviewObj& model, TUvProjection projection);

// Whether any vertex has a u or v other than 0 (what a projection would overwrite).
bool HasUv(const TpreviewObj& model);

} // namespace kalvo
