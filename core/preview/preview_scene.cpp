#include "core/preview/preview_scene.h"

#include "core/preview/shading.h"
#include "core/preview/vector_math.h"
#include "core/preview/wireframe.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace kalvo {

namespace {

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr int kMaxFillPasses = 1000001;
constexpr int kPassesPerClockCheck = 16;

} // namespace

const TModelList& TPreviewScene::Entries() const
{
    static const TModelList none;
    return Models ? *Models : none;
}

TPreviewScene::TPreviewScene() : Clock(SteadyMilliseconds)
{
    InitialiseCamera(Camera, 0, 0);
    Bitmap.Allocate(1, 1, true, false);
}

void TPreviewScene::Layout(int modelWidth, int modelHeight)
{
    if (Closing)
        return;
    modelWidth_ = modelWidth;
    modelHeight_ = modelHeight;
    layout_ = LayoutPanes(modelWidth, modelHeight, SplitView, ThreeView, View.ActiveView, layout_);
    for (int view = 0; view < kViewCount; ++view) {
        const TPaneRect box = layout_.PaintBox(view);
        const int width = std::max(box.Width, 0);
        const int height = std::max(box.Height, 0);
        if (panes_[view].Width() != width || panes_[view].Height() != height)
            panes_[view].SetSize(width, height);
    }
    Camera.ViewWidth = panes_[kPerspectiveView].Width();
    Camera.ViewHeight = panes_[kPerspectiveView].Height();
    Camera.SetDistance(View.ViewDistance);
    SelectView(View.ActiveView);
    PrepareBuffer(DisplayMode);
}

bool TPreviewScene::SelectView(int view)
{
    if (view < 0 || view >= kViewCount || view == View.ActiveView)
        return false;
    View.ActiveView = view;
    if (SplitView == 0 || ThreeView)
        Layout(modelWidth_, modelHeight_);
    return true;
}

TPixel TPreviewScene::ZoomLabelPosition(int labelHeight, int stripWidth) const
{
    const TPaneRect& pane = layout_.Pane[View.ActiveView];
    return TPixel{pane.Left + stripWidth, pane.Top + pane.Height - labelHeight};
}

bool TPreviewScene::UsesBuffer(int mode) const
{
    switch (mode) {
    case kShadedWireframeMode:
        return Settings.FrameMode == 1;
    case kHiddenSurfaceEdgesMode:
        return Settings.FlatFrameMode == 1;
    case kHiddenSurfaceMode:
        return Settings.FlatMode == 1;
    default:
        return false;
    }
}

void TPreviewScene::PrepareBuffer(int mode)
{
    const int width = panes_[kPerspectiveView].Width() / 4 * 4;
    const int height = panes_[kPerspectiveView].Height() / 4 * 4;
    Bitmap.SetSize(width, height, UsesBuffer(mode), mode != kWireframeMode);
}

void TPreviewScene::RedrawView(int view, int mode)
{
    if (view == kPerspectiveView)
        RedrawPerspective(mode);
    else if (IsFlatView(view))
        RedrawOrtho(view);
}

void TPreviewScene::RepaintAll()
{
    if (Closing)
        return;
    if (layout_.Shown[kPerspectiveView])
        RedrawView(kPerspectiveView, DisplayMode);
    for (const int view : {kTopView, kSideView, kFaceView}) {
        if (layout_.Shown[view])
            RedrawView(view, kWireframeMode);
    }
}

TDrawScratch* TPreviewScene::FindScratch(const TpreviewObj& model)
{
    for (TDrawnModel& drawn : drawn_) {
        if (drawn.Model == &model)
            return &drawn.Scratch;
    }
    return nullptr;
}

TDrawScratch& TPreviewScene::ScratchOf(const TpreviewObj& model)
{
    if (TDrawScratch* scratch = FindScratch(model))
        return *scratch;
    drawn_.push_back(TDrawnModel{&model, {}});
    return drawn_.back().Scratch;
}

void TPreviewScene::DropUnlistedScratch()
{
    std::erase_if(drawn_,
                  [&](const TDrawnModel& drawn) { return Entries().IndexOf(drawn.Model) < 0; });
}

void TPreviewScene::PrepareScratch(TDrawScratch& scratch) const
{
    scratch.BackColour = Settings.BackColor;
    scratch.WireColour = Settings.ObjectColor;
    scratch.TexturePreview = TexturePreview;
    scratch.TextureShade = Settings.TextureShade;
}

void TPreviewScene::RedrawPerspective(int mode)
{
    TCanvas& pane = panes_[kPerspectiveView];
    const bool toBitmap = UsesBuffer(mode);
    if (toBitmap) {
        PrepareBuffer(mode);
        Bitmap.Fill(Settings.BackColor);
        // The bitmap is the pane cut down to multiples of 4; the strips it leaves uncovered
        // show the background rather than what the pane held before.
        pane.FillRect(Bitmap.Width(), 0, pane.Width(), pane.Height(), Settings.BackColor);
        pane.FillRect(0, Bitmap.Height(), Bitmap.Width(), pane.Height(), Settings.BackColor);
    } else {
        pane.Clear(Settings.BackColor);
    }
    if (mode != kWireframeMode) {
        // Cleared after the bitmap has been sized: a resize leaves the depth plane undefined.
        if (!Bitmap.HasDepth())
            PrepareBuffer(mode);
        Bitmap.ClearDepth();
    }

    DrawAxes(toBitmap);
    DrawBoundingBoxes(toBitmap);

    DropUnlistedScratch();
    for (const TModelEntry& entry : Entries()) {
        if (!entry.Shown || !entry.Model)
            continue;
        TpreviewObj& model = *entry.Model;
        TDrawScratch& scratch = ScratchOf(model);
        PrepareScratch(scratch);
        const int count = model.PolygonCount();
        switch (mode) {
        case kWireframeMode:
            ClearDrawn(model, scratch);
            ProjectVertices(model, scratch, Camera, pane);
            for (int p = 0; p < count; ++p) {
                PrefetchWireAhead(model, scratch, p);
                DrawPolygonWire(model, scratch, p, pane);
            }
            break;
        case kShadedWireframeMode:
            ProjectVertices(model, scratch, Camera, pane);
            ClearDrawn(model, scratch);
            BuildDrawOrder(model, scratch);
            for (int p = 0; p < count; ++p) {
                PrefetchAhead(model, scratch, p);
                DrawPolygonEdges(model, scratch, p, true, toBitmap, pane, Bitmap);
            }
            break;
        case kHiddenSurfaceEdgesMode:
        case kHiddenSurfaceMode:
            ProjectVertices(model, scratch, Camera, pane);
            if (mode == kHiddenSurfaceEdgesMode)
                ClearDrawn(model, scratch);
            BuildDrawOrder(model, scratch);
            ProgressIndex = 0;
            if (toBitmap) {
                for (int p = 0; p < count; ++p) {
                    PrefetchAhead(model, scratch, p);
                    FillPolygon(model, scratch, p, true, pane, Bitmap);
                }
                if (mode == kHiddenSurfaceEdgesMode) {
                    for (int p = 0; p < count; ++p)
                        DrawPolygonEdges(model, scratch, p, false, true, pane, Bitmap);
                }
            } else {
                DeferredMode = mode;
                ProgressPending = true;
            }
            break;
        default:
            break;
        }
    }

    if (toBitmap)
        Bitmap.Draw(pane, 0, 0, pane.Width(), pane.Height());
}

void TPreviewScene::RedrawOrtho(int view)
{
    TCanvas& pane = panes_[view];
    pane.Clear(Settings.BackColor);
    const TOrthoColours colours{Settings.EditableEdge, Settings.UnEditableEdge};
    for (const TModelEntry& entry : Entries()) {
        if (!entry.Shown || !entry.Model)
            continue;
        const TpreviewObj& model = *entry.Model;
        ClearDrawn(model, orthoScratch_);
        PrepareScratch(orthoScratch_);
        DrawOrthoView(model, orthoScratch_, view, pane, View.OrthoCentre, entry.Selected,
                      View.OrthoZoom, colours);
    }
    crossHairs_[view - kTopView].Shown = false;
    DrawCrossHair(view, View.CursorPoint);
}

bool TPreviewScene::FillStep()
{
    if (Closing || !ProgressPending)
        return false;
    const bool direct = (DeferredMode == kHiddenSurfaceEdgesMode && Settings.FlatFrameMode == 0) ||
                        (DeferredMode == kHiddenSurfaceMode && Settings.FlatMode == 0);
    if (!direct)
        return false;
    TCanvas& pane = panes_[kPerspectiveView];
    // The shown models as they are now, each with the scratch its frame was projected into;
    // a model listed since that frame has none and waits for the next.
    std::vector<std::pair<const TpreviewObj*, TDrawScratch*>> shown;
    for (const TModelEntry& entry : Entries()) {
        if (!entry.Shown || !entry.Model)
            continue;
        if (TDrawScratch* scratch = FindScratch(*entry.Model))
            shown.emplace_back(entry.Model.get(), scratch);
    }
    const std::int64_t start = Clock();
    for (int pass = 0; pass < kMaxFillPasses; ++pass) {
        bool filled = false;
        for (const auto& [model, scratch] : shown) {
            if (model->PolygonCount() <= ProgressIndex)
                continue;
            PrefetchAhead(*model, *scratch, ProgressIndex);
            FillPolygon(*model, *scratch, ProgressIndex, false, pane, Bitmap);
            filled = true;
        }
        if (!filled) {
            ProgressPending = false;
            break;
        }
        ++ProgressIndex;
        if (pass % kPassesPerClockCheck == 0 && Clock() - start > FillBudgetMs)
            break;
    }
    if (!ProgressPending && DeferredMode == kHiddenSurfaceEdgesMode)
        DrawEdgesOfShown(false);
    return true;
}

void TPreviewScene::FinishFill()
{
    while (ProgressPending) {
        if (!FillStep())
            break;
    }
}

void TPreviewScene::DrawEdgesOfShown(bool toBitmap)
{
    for (const TModelEntry& entry : Entries()) {
        if (!entry.Shown || !entry.Model)
            continue;
        const TpreviewObj& model = *entry.Model;
        TDrawScratch& scratch = ScratchOf(model);
        ClearDrawn(model, scratch);
        const int count = model.PolygonCount();
        for (int p = 0; p < count; ++p)
            DrawPolygonEdges(model, scratch, p, false, toBitmap, panes_[kPerspectiveView], Bitmap);
    }
}

// --- Overlays ---------------------------------------------------------------------------

TPixel TPreviewScene::ProjectOverlay(const VertexInput& point, double& depth) const
{
    int offsetX = 0;
    int offsetY = 0;
    depth = Camera.ProjectPoint(point, offsetX, offsetY);
    return TPixel{Camera.ViewWidth / 2 + offsetX, Camera.ViewHeight / 2 - offsetY};
}

void TPreviewScene::OverlayLine(const VertexInput& from, const VertexInput& to, TColour colour,
                                bool toBitmap)
{
    // Overlay lines are never depth-cued, so they need no scratch of a model.
    static const TDrawScratch noModel;
    double fromDepth = 0.0;
    double toDepth = 0.0;
    const TPixel a = ProjectOverlay(from, fromDepth);
    const TPixel b = ProjectOverlay(to, toDepth);
    if (toBitmap) {
        DrawDepthLine(noModel, MakePoint(a.x, a.y, fromDepth), MakePoint(b.x, b.y, toDepth), true,
                      false, colour, panes_[kPerspectiveView], Bitmap);
    } else {
        panes_[kPerspectiveView].SetPenColour(colour);
        panes_[kPerspectiveView].Line(a.x, a.y, b.x, b.y);
    }
}

void TPreviewScene::DrawAxes(bool toBitmap)
{
    TCanvas& pane = panes_[kPerspectiveView];
    const double distance = View.ViewDistance;
    const double half = distance / 2;
    const VertexInput origin = MakePoint(0.0, 0.0, 0.0);
    const TColour colours[3] = {Settings.AxisXColor, Settings.AxisYColor, Settings.AxisZColor};
    const char* const letters[3] = {"X", "Y", "Z"};
    for (int axis = 0; axis < 3; ++axis) {
        const VertexInput end =
            MakePoint(axis == 0 ? half : 0.0, axis == 1 ? half : 0.0, axis == 2 ? half : 0.0);
        OverlayLine(origin, end, colours[axis], toBitmap);
        if (toBitmap)
            continue;
        double depth = 0.0;
        const TPixel letter = ProjectOverlay(end, depth);
        // The canvas font keeps its default colour: only the pen follows the axis.
        pane.SetFontColour(0);
        pane.SetTransparentText();
        pane.TextOut(letter.x, letter.y, letters[axis]);
        if (!(distance < 500.0))
            continue;
        const int ticks = RoundHalfEven(half);
        for (int k = 0; k <= ticks; ++k) {
            const double c = k % 5 == 0 ? distance / 40 : distance / 80;
            VertexInput from, to;
            switch (axis) {
            case 0:
                from = MakePoint(k, c, 0.0);
                to = MakePoint(k, -c, 0.0);
                break;
            case 1:
                from = MakePoint(c, k, 0.0);
                to = MakePoint(-c, k, 0.0);
                break;
            default:
                from = MakePoint(c, 0.0, k);
                to = MakePoint(-c, 0.0, k);
                break;
            }
            OverlayLine(from, to, colours[axis], false);
        }
    }
}

void TPreviewScene::DrawBoundingBoxes(bool toBitmap)
{
    if (!Settings.BoundingBox)
        return;
    for (const TModelEntry& entry : Entries()) {
        if (!entry.Selected || !entry.Model)
            continue;
        const TpreviewObj& model = *entry.Model;
        const double xs[2] = {model.MinX, model.MaxX};
        const double ys[2] = {model.MinY, model.MaxY};
        const double zs[2] = {model.MinZ, model.MaxZ};
        const auto corner = [&](int i) {
            return MakePoint(xs[i & 1], ys[(i >> 1) & 1], zs[i >> 2]);
        };
        // Corners i and j share an edge when their indices differ in one bit.
        for (int i = 0; i < 8; ++i) {
            for (int bit = 1; bit < 8; bit <<= 1) {
                if (!(i & bit))
                    OverlayLine(corner(i), corner(i | bit), Settings.SelectColor, toBitmap);
            }
        }
    }
}

void TPreviewScene::CrossLines(int view, const VertexInput& point, bool dashedVertical,
                               bool dashedHorizontal)
{
    TCanvas& pane = panes_[view];
    const int width = pane.Width();
    const int height = pane.Height();
    const double scale = OrthoScaleFor(width, View.OrthoZoom);
    const VertexInput& centre = View.OrthoCentre;
    int column = 0;
    int row = 0;
    switch (view) {
    case kTopView:
        column = OrthoToPixel(point.y, centre.y, 1, scale, width / 2);
        row = OrthoToPixel(point.x, centre.x, 1, scale, height / 2);
        break;
    case kSideView:
        column = OrthoToPixel(point.y, centre.y, 1, scale, width / 2);
        row = OrthoToPixel(point.z, centre.z, -1, scale, height / 2);
        break;
    default:
        column = OrthoToPixel(point.x, centre.x, -1, scale, width / 2);
        row = OrthoToPixel(point.z, centre.z, -1, scale, height / 2);
        break;
    }
    // A dashed line: pieces of 3 pixels every 4 from its start.
    if (dashedVertical) {
        for (int i = 0; i <= std::abs(height) / 4; ++i)
            pane.Line(column, 4 * i, column, 4 * i + 3);
    } else {
        pane.Line(column, 0, column, height);
    }
    if (dashedHorizontal) {
        for (int i = 0; i <= std::abs(width) / 4; ++i)
            pane.Line(4 * i, row, 4 * i + 3, row);
    } else {
        pane.Line(0, row, width, row);
    }
}

void TPreviewScene::DrawCrossHair(int view, const VertexInput& point)
{
    if (!IsFlatView(view))
        return;
    TCanvas& pane = panes_[view];
    TCrossHair& crossHair = crossHairs_[view - kTopView];
    pane.SetPenMode(TPenMode::Invert);
    // Erased with the style it was drawn in: the top pane's style follows the active view,
    // which may have changed since.
    if (crossHair.Shown)
        CrossLines(view, crossHair.Point, crossHair.DashedVertical, crossHair.DashedHorizontal);
    const bool top = view == kTopView;
    crossHair.Shown = true;
    crossHair.Point = point;
    crossHair.DashedVertical = top && View.ActiveView == kFaceView;
    crossHair.DashedHorizontal = top && View.ActiveView == kSideView;
    CrossLines(view, point, crossHair.DashedVertical, crossHair.DashedHorizontal);
    pane.SetPenMode(TPenMode::Copy);
}

void TPreviewScene::SetCursorPoint(const VertexInput& point)
{
    for (const int view : {kTopView, kSideView, kFaceView})
        DrawCrossHair(view, point);
    View.CursorPoint = point;
}

} // namespace kalvo
