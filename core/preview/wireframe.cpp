#include "core/preview/wireframe.h"

#include "core/preview/clip.h"
#include "core/preview/ortho.h"
#include "core/preview/valid_index.h"
#include "core/preview/vector_math.h"

#include <utility>

namespace kalvo {

namespace {

bool Inside(const TVecPointC& p, const TClipRect& r)
{
    return p.x >= r.Left && p.x <= r.Right && p.y >= r.Top && p.y <= r.Bottom;
}

void SetCentre(TDrawScratch& scratch, const TCanvas& pane)
{
    scratch.CentreX = pane.Width() / 2;
    scratch.CentreY = pane.Height() / 2;
}

} // namespace

void ClearDrawn(const TpreviewObj& model, TDrawScratch& scratch)
{
    scratch.Drawn.assign(model.Edges.size(), 0);
}

void ProjectVertices(const TpreviewObj& model, TDrawScratch& scratch, const TVector& camera,
                     const TCanvas& pane)
{
    SetCentre(scratch, pane);
    scratch.Projected.resize(model.Vertices.size());
    for (std::size_t i = 0; i < model.Vertices.size(); ++i) {
        const TVecPointC& vertex = model.Vertices[i];
        int offsetX = 0;
        int offsetY = 0;
        const double depth = camera.ProjectPoint(vertex.x, vertex.y, vertex.z, offsetX, offsetY);
        TVecPointC& projected = scratch.Projected[i];
        projected = TVecPointC{};
        projected.x = scratch.CentreX + offsetX;
        projected.y = scratch.CentreY - offsetY;
        projected.z = static_cast<double>(static_cast<float>(depth));
        projected.u = vertex.u;
        projected.v = vertex.v;
        projected.Mark = vertex.Mark;
    }
}

void PrefetchWireAhead(const TpreviewObj& model, const TDrawScratch& scratch, int p)
{
    // Three stages, each a few polygons behind the one before: the side list, then the edges it
    // names with their drawn marks, then the projected corners of those edges. A large model's
    // lists do not fit in the cache, and a wireframe does little more than read them.
    const int count = model.PolygonCount();
    if (p + 24 < count)
        __builtin_prefetch(model.Polygons[p + 24].sides.data());
    if (p + 12 < count) {
        for (const int e : model.Polygons[p + 12].sides) {
            if (ValidIndex(e, model.Edges.size())) {
                __builtin_prefetch(&model.Edges[e]);
                if (ValidIndex(e, scratch.Drawn.size()))
                    __builtin_prefetch(&scratch.Drawn[e]);
            }
        }
    }
    if (p + 6 < count) {
        const std::size_t projectedCount = scratch.Projected.size();
        for (const int e : model.Polygons[p + 6].sides) {
            if (!ValidIndex(e, model.Edges.size()))
                continue;
            const TEdgeC& edge = model.Edges[e];
            if (ValidIndex(edge.StartVertex, projectedCount))
                __builtin_prefetch(&scratch.Projected[edge.StartVertex]);
            if (ValidIndex(edge.EndVertex, projectedCount))
                __builtin_prefetch(&scratch.Projected[edge.EndVertex]);
        }
    }
}

void DrawPolygonWire(const TpreviewObj& model, TDrawScratch& scratch, int p, TCanvas& pane)
{
    if (!ValidIndex(p, model.Polygons.size()))
        return;
    SetCentre(scratch, pane);
    pane.SetPenColour(scratch.WireColour);
    const TClipRect rect{0, 0, pane.Width(), pane.Height()};
    const std::size_t projectedCount = scratch.Projected.size();
    for (const int e : model.Polygons[p].sides) {
        if (!ValidIndex(e, model.Edges.size()) || scratch.MarkDrawn(e))
            continue;
        const TEdgeC& edge = model.Edges[e];
        if (!ValidIndex(edge.StartVertex, projectedCount) ||
            !ValidIndex(edge.EndVertex, projectedCount))
            continue;
        const TVecPointC* start = &scratch.Projected[edge.StartVertex];
        const TVecPointC* end = &scratch.Projected[edge.EndVertex];
        // A corner behind the eye has no image; a corner exactly level with it is drawn.
        if (start->z < 0.0 || end->z < 0.0)
            continue;
        if (Inside(*start, rect) && Inside(*end, rect)) {
            // What the clipper would do with it: only put the left end first, which decides
            // the end pixel left out.
            if (start->x > end->x)
                std::swap(start, end);
            pane.Line(RoundHalfEven(start->x), RoundHalfEven(start->y), RoundHalfEven(end->x),
                      RoundHalfEven(end->y));
            continue;
        }
        VertexInput a = ReadPoint(*start);
        VertexInput b = ReadPoint(*end);
        if (!ClipSegment(a, b, rect))
            continue;
        pane.Line(RoundHalfEven(a.x), RoundHalfEven(a.y), RoundHalfEven(b.x), RoundHalfEven(b.y));
    }
}

void DrawOrthoView(const TpreviewObj& model, TDrawScratch& scratch, int view, TCanvas& pane,
                   const VertexInput& centre, bool selected, double zoom,
                   const TOrthoColours& colours)
{
    SetCentre(scratch, pane);
    scratch.OrthoScale = OrthoScaleFor(pane.Width(), zoom);
    const int edgeCount = model.EdgeCount();
    for (int e = 0; e < edgeCount; ++e)
        DrawOrthoEdge(model, scratch, e, view, selected, centre, pane, colours);
}

void DrawOrthoEdge(const TpreviewObj& model, TDrawScratch& scratch, int e, int view, bool selected,
                   const VertexInput& centre, TCanvas& pane, const TOrthoColours& colours)
{
    if (!ValidIndex(e, model.Edges.size()) || scratch.MarkDrawn(e))
        return;
    const TEdgeC& edge = model.Edges[e];
    const std::size_t vertexCount = model.Vertices.size();
    if (!ValidIndex(edge.StartVertex, vertexCount) || !ValidIndex(edge.EndVertex, vertexCount))
        return;
    const TVecPointC& start = model.Vertices[edge.StartVertex];
    const TVecPointC& end = model.Vertices[edge.EndVertex];
    const TPixel a = OrthoProject(view, ReadPoint(start), centre, scratch.OrthoScale,
                                  scratch.CentreX, scratch.CentreY);
    const TPixel b = OrthoProject(view, ReadPoint(end), centre, scratch.OrthoScale, scratch.CentreX,
                                  scratch.CentreY);
    // No clipping here: the canvas discards what falls outside the pane.
    pane.MoveTo(a.x, a.y);
    pane.SetPenColour(selected ? colours.Editable : colours.UnEditable);
    pane.LineTo(b.x, b.y);
    if (start.Mark)
        pane.FillRect(a.x - 2, a.y - 2, a.x + 2, a.y + 2, kMarkColour);
    if (end.Mark)
        pane.FillRect(b.x - 2, b.y - 2, b.x + 2, b.y + 2, kMarkColour);
}

} // namespace kalvo
