#pragma once

#include "core/model/preview_obj.h"
#include "core/preview/canvas.h"
#include "core/preview/dib.h"
#include "core/preview/draw_scratch.h"

namespace kalvo {

// The renderer's depth side: depth-tested, depth-cued lines (display mode 1) and the
// hidden-surface fill (modes 2 and 3), a small software renderer over the depth plane of the
// preview window's TDIB. "to bitmap" chooses where colours go: the TDIB's colour plane (batch
// drawing) or the pane's canvas (direct drawing); depths always go to the TDIB.
//
// Per frame the preview window clears the depth plane, runs ProjectVertices and
// BuildDrawOrder once per model, then FillPolygon and DrawPolygonEdges per polygon in Polygons
// order, which BuildDrawOrder has made nearest first. What a frame works out for a model goes
// into the caller's TDrawScratch for it; only the depth sort changes the model.
//
// The depth sort lives in depth_sort.cpp, the polygon filler in span_fill.cpp and the
// depth-tested lines in depth_lines.cpp.

inline constexpr TColour kShadeMarkColour = 0x0000FF; // squares at marked corners
inline constexpr double kLineDepthTolerance = 0.01;

// Mixes b into a by weight / 256 per channel: weight 0 gives a, 256 gives b.
TColour BlendColour(TColour a, TColour b, int weight);

// The flat shade of a face with unit normal n under the fixed light along (1, 1, 1): each
// channel of base scaled by the angle between the light and the face's plane over 90 degrees.
// Both sides of a face are lit alike.
TColour ShadeColour(const VertexInput& normal, TColour base);

// Gives every polygon its depth key (about four times its mean corner depth), sets the
// scratch's depth range for this frame and sorts the model's Polygons by ascending key,
// nearest first. The reordering is permanent. Projected must be current.
void BuildDrawOrder(TpreviewObj& model, TDrawScratch& scratch);

// Fills polygon p (at most 4 sides) shaded, depth-tested against the TDIB's depth plane.
// Projected must be current and the depth plane cleared for this frame. A polygon with a
// corner behind the eye is not drawn at all.
void FillPolygon(const TpreviewObj& model, TDrawScratch& scratch, int p, bool toBitmap,
                 TCanvas& pane, TDIB& bitmap);

// Starts fetching what filling or outlining the polygons a few places after p will read, so
// a loop over Polygons in order waits less on memory. Draws nothing.
void PrefetchAhead(const TpreviewObj& model, const TDrawScratch& scratch, int p);

// The steps of FillPolygon. ResetSpans sizes the span table to the pane's height and empties
// the rows the previous polygon entered. ScanEdge enters edge a-b (screen x, y; depth z; u, v)
// into the span table of a pane width by height pixels, u and v taken across the scratch's
// Seams. FillSpan draws one row's span, textured from model's template when the scratch says
// so.
void ResetSpans(TDrawScratch& scratch, int paneHeight);
void ScanEdge(TDrawScratch& scratch, const VertexInput& a, const VertexInput& b, int paneWidth,
              int paneHeight);
void FillSpan(const TpreviewObj& model, const TDrawScratch& scratch, const SpanRow& span, int row,
              bool toBitmap, TCanvas& pane, TDIB& bitmap, TColour colour);

// A Bresenham line from a to b whose pixels pass when the stored depth is at most
// kLineDepthTolerance nearer than theirs (or empty), and then store their own depth. With
// depthCue the colour fades from colour at the scratch's NearDepth to its BackColour at
// FarDepth.
void DrawDepthLine(const TDrawScratch& scratch, const VertexInput& a, const VertexInput& b,
                   bool toBitmap, bool depthCue, TColour colour, TCanvas& pane, TDIB& bitmap);

// The not yet drawn sides of polygon p as depth lines in WireColour, marking them drawn.
// Marked corners get red squares on the pane's canvas whatever toBitmap says. Sides with a
// corner behind the eye are skipped.
void DrawPolygonEdges(const TpreviewObj& model, TDrawScratch& scratch, int p, bool depthCue,
                      bool toBitmap, TCanvas& pane, TDIB& bitmap);

} // namespace kalvo
