#pragma once

#include "core/model/records.h"
#include "core/preview/clip.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kalvo {

class TpreviewObj;

// One row of the span table the polygon filler builds: the leftmost and rightmost column a
// polygon's outline reaches in the row, with depth and texture coordinates at both ends.
struct SpanRow
{
    int Left = -1; // -1 while the row is empty
    int Right = -1;
    double LeftDepth = 0.0;
    double RightDepth = 0.0;
    double LeftU = 0.0;
    double RightU = 0.0;
    double LeftV = 0.0;
    double RightV = 0.0;
};

// What drawing one model into a pane works out and keeps between the steps of a frame: the
// settings the drawing uses, the projected corners, the edges already drawn, the depth range
// and the polygon filler's span table. Whoever draws a model owns one per model it draws (the
// preview scene keeps one for each model it shows) and hands it to every renderer call with
// the model, which the renderer then only reads. Keeping it from frame to frame keeps its
// buffers, so a frame allocates nothing once the first has been drawn.
struct TDrawScratch
{
    // Copied in before each drawing.
    TColour BackColour = 0;      // background the depth cue fades to
    TColour WireColour = 0;      // edges of the perspective pane
    bool TexturePreview = false; // fill with the model's template picture when it has one
    bool TextureShade = false;   // shade texels by the face's light

    int CentreX = 0; // half the width of the pane being drawn
    int CentreY = 0; // half its height
    double OrthoScale = 10.0;
    std::vector<TVecPointC> Projected; // one per vertex, same order
    // One per edge: already drawn in the current pass, so an edge shared by several polygons
    // is drawn once.
    std::vector<std::uint8_t> Drawn;

    int DrawOrderCount = 0; // polygons taken into the last depth sort
    double FarDepth = 0.0;
    double NearDepth = 0.0;
    bool DepthRangeSet = false;

    // The polygon filler's rows, one per pane row; they grow with the pane. Outside the rows
    // FirstRow..LastRow of the last polygon filled every row is empty.
    std::vector<SpanRow> SpanTable;
    int FirstRow = 0;
    int LastRow = 0;
    TSeamPeriods Seams; // the filled model's texture seams (SeamPeriodU, SeamPeriodV)
    bool WrapU = false; // the polygon being scanned crosses the seam in u
    bool WrapV = false;

    // Marks edge e (a valid index of the model) drawn; returns whether it was already. An edge
    // beyond the marks ClearDrawn sized counts as not drawn yet.
    bool MarkDrawn(int e)
    {
        const auto index = static_cast<std::size_t>(e);
        if (index >= Drawn.size())
            Drawn.resize(index + 1, 0);
        const bool was = Drawn[index] != 0;
        Drawn[index] = 1;
        return was;
    }
};

} // namespace kalvo
