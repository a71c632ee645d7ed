#pragma once

#include "core/model/preview_obj.h"
#include "core/preview/camera.h"
#include "core/preview/canvas.h"
#include "core/preview/draw_scratch.h"

namespace kalvo {

// The renderer's line side. The model is only read; what a drawing works out goes into the
// caller's TDrawScratch for that model. The pane (its canvas, whose size is the pane's), the
// camera and the colours from the settings are handed to each call.
//
// Per perspective frame in mode 0: ClearDrawn; ProjectVertices; DrawPolygonWire for every
// polygon. Per orthographic pane: ClearDrawn, then DrawOrthoView for each model shown.

// Clears the drawn mark of every edge of model; a pass draws each edge once however many
// polygons share it.
void ClearDrawn(const TpreviewObj& model, TDrawScratch& scratch);

// Sets the scratch's centre from the pane and rebuilds its Projected, one entry per vertex: x,
// y the pane column and row, z the depth (rounded to a 32-bit float), u, v and Mark copied.
void ProjectVertices(const TpreviewObj& model, TDrawScratch& scratch, const TVector& camera,
                     const TCanvas& pane);

// Starts fetching what DrawPolygonWire will read for the polygons a few places after p, so a
// loop over Polygons in order waits less on memory. Draws nothing.
void PrefetchWireAhead(const TpreviewObj& model, const TDrawScratch& scratch, int p);

// Draws the not yet drawn sides of polygon p in the pen colour WireColour, clipped to the
// pane, one pixel wide, end pixels excluded. Sides touching a vertex behind the eye (depth
// < 0) are skipped; depth exactly 0 is drawn. Projected must be current. Sides naming edges
// or vertices that do not exist are skipped.
void DrawPolygonWire(const TpreviewObj& model, TDrawScratch& scratch, int p, TCanvas& pane);

// Line colours of the orthographic panes (settings EditableEdge and UnEditableEdge).
struct TOrthoColours
{
    TColour Editable = 0;   // models selected in the object window
    TColour UnEditable = 0; // the others
};

inline constexpr TColour kMarkColour = 0x0000FF; // red squares at marked corners

// Draws every edge of the model in orthographic pane view (1 top, 2 side, 3 face) around
// centre (x, y, z used) at zoom model units across the pane. Sets the scratch's centre and
// OrthoScale.
void DrawOrthoView(const TpreviewObj& model, TDrawScratch& scratch, int view, TCanvas& pane,
                   const VertexInput& centre, bool selected, double zoom,
                   const TOrthoColours& colours);
// One edge of DrawOrthoView; the scratch's centre and OrthoScale must be set for the pane.
void DrawOrthoEdge(const TpreviewObj& model, TDrawScratch& scratch, int e, int view, bool selected,
                   const VertexInput& centre, TCanvas& pane, const TOrthoColours& colours);

} // namespace kalvo
