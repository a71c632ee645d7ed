#pragma once

#include "core/model/model_list.h"
#include "core/model/preview_obj.h"
#include "core/preview/camera.h"
#include "core/preview/canvas.h"
#include "core/preview/dib.h"
#include "core/preview/draw_scratch.h"
#include "core/preview/ortho.h"
#include "core/preview/pane_layout.h"
#include "core/preview/view_state.h"
#include "core/preview/views.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kalvo {

// The setting values a preview window draws with, as plain values (the settings dialog's
// current state, copied in before drawing).
struct TDrawSettings
{
    TColour BackColor = kDefaultBackColour;
    TColour AxisXColor = kDefaultAxisXColour;
    TColour AxisYColor = kDefaultAxisYColour;
    TColour AxisZColor = kDefaultAxisZColour;
    TColour ObjectColor = kDefaultObjectColour;
    TColour SelectColor = kDefaultSelectColour;
    TColour UnEditableEdge = kDefaultUnEditableEdge;
    TColour EditableEdge = kDefaultEditableEdge;
    bool TextureShade = false;
    bool BoundingBox = true;
    int FrameMode = 0;     // mode 1: 1 draws through the bitmap ("一括表示"), else direct
    int FlatFrameMode = 0; // mode 2
    int FlatMode = 0;      // mode 3
};

// Milliseconds from some fixed start; the progressive filler measures its time slices with it.
using TTickClock = std::function<std::int64_t()>;

// The drawing state of one preview window and everything it draws: the four panes' canvases
// (indexed by TViewId), the camera, the bitmap buffer, the display mode and
// layout switches, and the overlays (axes, bounding boxes, cross-hair). The desktop window
// wires its widgets to it and shows the canvases; the command line draws one pane with it.
class TPreviewScene
{
public:
    TPreviewScene();

    // The document's models, drawn as their entries say (shown, selected); not owned. Null
    // draws no model.
    const TModelList* Models = nullptr;
    TDrawSettings Settings;
    TViewState View; // angles, distance, target, orthographic centre and zoom, cursor point
    TVector Camera;
    TDIB Bitmap;

    int SplitView = 0;                // 1: four panes share the area; 0: the active pane alone
    bool ThreeView = false;           // the three-view button is down
    int DisplayMode = kWireframeMode; // a TDisplayMode
    bool TexturePreview = true;       // the texture button, down in a new window
    bool Closing = false;

    // Progressive filling of a direct hidden-surface frame, advanced by FillStep.
    int DeferredMode = 0;
    int ProgressIndex = 0;
    bool ProgressPending = false;

    TTickClock Clock; // steady clock in milliseconds unless replaced
    std::int64_t FillBudgetMs = 100;

    TCanvas& Pane(int view) { return panes_[view]; }
    const TCanvas& Pane(int view) const { return panes_[view]; }
    const TPaneLayout& Panes() const { return layout_; }

    // Arranges the panes in a model area of width by height pixels, sizes the canvases to
    // their paint boxes, hands the perspective size to the camera and prepares the bitmap for
    // the display mode. Nothing while closing. The caller repaints every pane afterwards.
    void Layout(int modelWidth, int modelHeight);
    // Makes view the active one; returns true when it changed (the window then moves the
    // pointer onto that pane's cross-hair).
    bool SelectView(int view);
    // Top-left corner of the zoom label: the active pane's lower-left corner, right of its
    // strip.
    TPixel ZoomLabelPosition(int labelHeight = 17, int stripWidth = 11) const;

    // True when the settings draw mode through the bitmap (batch) rather than directly.
    bool UsesBuffer(int mode) const;
    // Sizes the bitmap to the perspective paint box, both sides cut down to a multiple of 4,
    // with a depth plane for modes above 0 and colour for batch modes.
    void PrepareBuffer(int mode);

    // Paints pane view; the perspective pane in display mode, the others as wireframes. A
    // direct frame of mode 2 or 3 leaves the filling to FillStep.
    void RedrawView(int view, int mode);
    // The four panes in the order perspective, top, side, face; hidden panes are skipped.
    void RepaintAll();

    // One timer tick's share of a direct hidden-surface frame: fills polygons, nearest first,
    // pass by pass (one polygon of every shown model per pass) until none is left or, checked
    // every 16 passes, FillBudgetMs have gone by; in mode 2 the edges follow once the last
    // polygon is filled. Returns true when it drew anything.
    bool FillStep();
    // Runs FillStep until the frame is complete.
    void FinishFill();

    // Draws the cross-hair at point in the top, side and face panes, then stores it as the
    // cursor point.
    void SetCursorPoint(const VertexInput& point);
    // The cross-hair of orthographic pane view (1..3) at point: the previous one in that pane
    // is erased first (the lines are drawn inverting).
    void DrawCrossHair(int view, const VertexInput& point);

    void DrawAxes(bool toBitmap);
    void DrawBoundingBoxes(bool toBitmap);

private:
    struct TCrossHair
    {
        bool Shown = false;
        VertexInput Point{};
        bool DashedVertical = false;
        bool DashedHorizontal = false;
    };

    // The perspective pane's drawing state of one model; it lasts from frame to frame, so
    // the progressive fill finds the frame's projection and its buffers are reused.
    struct TDrawnModel
    {
        const TpreviewObj* Model = nullptr;
        TDrawScratch Scratch;
    };

    const TModelList& Entries() const; // the models, or an empty list
    void RedrawPerspective(int mode);
    void RedrawOrtho(int view);
    // The scratch of model for the perspective pane: null when it has none yet, or made on
    // first use.
    TDrawScratch* FindScratch(const TpreviewObj& model);
    TDrawScratch& ScratchOf(const TpreviewObj& model);
    // Forgets the scratch of models no longer listed, and the memory it holds.
    void DropUnlistedScratch();
    void PrepareScratch(TDrawScratch& scratch) const;
    void DrawEdgesOfShown(bool toBitmap);
    void CrossLines(int view, const VertexInput& point, bool dashedVertical, bool dashedHorizontal);
    TPixel ProjectOverlay(const VertexInput& point, double& depth) const;
    void OverlayLine(const VertexInput& from, const VertexInput& to, TColour colour, bool toBitmap);

    TCanvas panes_[kViewCount];
    TPaneLayout layout_;
    int modelWidth_ = 0;
    int modelHeight_ = 0;
    TCrossHair crossHairs_[kViewCount - 1]; // the flat panes, from kTopView
    std::vector<TDrawnModel> drawn_;
    TDrawScratch orthoScratch_; // the flat panes draw one model after the other
};

} // namespace kalvo
