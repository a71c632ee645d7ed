#pragma once

#include "core/base/colour.h"

#include <vector>

namespace kalvo {

// One vertex of a model. The same record serves the projected copies the renderer keeps:
// there x and y are the pane column and row, z the depth.
struct TVecPointC
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double u = 0.0;
    double v = 0.0;
    int group = 0;
    int flag = 0;
    bool Mark = false;    // marked in the map template window
    int PreSortIndex = 0; // list position before the group sort
};

// One edge. It keeps the orientation of the request that created it, so a polygon's corners
// come from the ends its sides share, not from the edge's direction.
struct TEdgeC
{
    int StartVertex = 0;
    int EndVertex = 0;
    bool Mark = false; // marked in the map template window
    // Polygon sides using the edge, set by the export validation (or 1 on every edge when the
    // user keeps loose lines); -1 until the validation has run.
    int UseCount = -1;
};

struct TGroupC
{
    bool Visible = true;
    int FirstVertex = 0;
};

// A polygon names its sides as edges; side i joins corner i and corner i + 1, the last side
// closes the loop.
struct PolygonRec
{
    TColour colour = 0;
    int DepthKey = 0; // written by the depth sort before each shaded drawing
    std::vector<int> sides;

    int count() const { return static_cast<int>(sides.size()); }
};

// One corner as the readers hand it to the building operations.
struct VertexInput
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double u = 0.0;
    double v = 0.0;
    int group = 0;
    int flag = 0;
    bool mark = false;
};

inline VertexInput FillVertexInput(double x, double y, double z, double u, double v, int group,
                                   int flag, bool mark)
{
    return VertexInput{x, y, z, u, v, group, flag, mark};
}

} // namespace kalvo
