#pragma once

#include "core/model/records.h"
#include "core/model/template_link.h"
#include "core/preview/canvas.h"
#include "core/template/template_mapping.h"

#include <cstdint>

namespace kalvo {

class TpreviewObj;

// Colours of the template, from the settings of the same names.
struct TTemplateColours
{
    TColour TempColor = kDefaultTempColour;         // background of the template bitmap and panel
    TColour MeshColor = kDefaultMeshColour;         // UV lines in the template bitmap
    TColour EditMeshColor = kDefaultEditMeshColour; // UV lines on screen
    TColour TempSelColor = kDefaultTempSelColour;   // marked edges and points' squares, on screen
};

enum class TTemplateTool : std::uint8_t {
    Select = 0,
    PickColour = 1, // pick the transparent colour from the bitmap
    Pen = 3,
};

// The map template of one model: the template bitmap, the mapping between (u, v) and its
// pixels, the tool state of the template window, and the picking and moving of UV points.
// The template window is one (or owns one) and only wires its widgets and mouse to it; the
// command-line program makes one to write templates and textured previews.
//
// While attached to a model (SetModel) the model's TemplateWindow refers to this object, and
// the renderer takes its texture from SampleTexture and IsTransparent. The destructor detaches
// it again, so the model falls back to flat colours. The model must not die first: whoever
// destroys a model closes its template before (the object window does).
class TMapTemplate : public TTemplateLink
{
public:
    TMapTemplate() = default;
    ~TMapTemplate() override;
    TMapTemplate(const TMapTemplate&) = delete;
    TMapTemplate& operator=(const TMapTemplate&) = delete;

    // Gives the template its model (once, before SetupTemplate) and records the template in
    // the model. model must outlive the template or be detached with SetModel(nullptr).
    void SetModel(TpreviewObj* model);
    TpreviewObj* Model() const { return model_; }

    TTemplateColours Colours;

    // --- Window state that is not widgets ---------------------------------------------------
    bool TextureShown = false; // the bitmap is shown under the on-screen UV lines
    TTemplateTool Tool = TTemplateTool::Pen;
    int PenWidth = 1;             // 1, 4, 8 or 16 template pixels
    TColour PenColour = 0xFF0000; // blue
    bool Transparency = false;    // texels of TransparentColour are not drawn in the preview
    TColour TransparentColour = 0xFFFFFF;

    // Sets PenWidth when width is one of the pen sizes 1, 4, 8, 16; false otherwise.
    bool SetPenWidth(int width);

    // --- Mapping and layout --------------------------------------------------------------------
    const TTemplateMapping& Mapping() const { return mapping_; }
    // (Re)builds the template at width x height: mapping, screen zoom, and the bitmap filled
    // with TempColor with the UV layout in MeshColor over it. Returns false and changes
    // nothing when a side is outside kMinTemplateSide .. kMaxTemplateSide.
    bool SetupTemplate(int width, int height);
    // Zoom buttons: the on-screen scale times or divided by 2.
    void SetZoom(double zoom) { mapping_.Zoom = zoom; }

    TTemplatePoint UVToTemplate(double u, double v) const { return mapping_.UVToTemplate(u, v); }
    TUVPoint PixelToUV(double x, double y) const { return mapping_.PixelToUV(x, y); }
    TUVPoint PixelDeltaToUV(double dx, double dy) const { return mapping_.PixelDeltaToUV(dx, dy); }
    double PickRadius() const { return mapping_.PickRadius(); }

    // "90度右回転": a quarter turn clockwise; the bitmap is redrawn from the layout.
    void Rotate();
    // "比率をあわせる": makes u and v units equally long on the template by growing the side
    // of the smaller scale, then sets the template up again. Returns false and changes nothing
    // when the new side would be outside the accepted sizes (a model whose MaxU or MaxV is 0).
    bool MatchRatio();
    // "テンプレートサイズ変更...": sets the template up at the new size. False and no change
    // for sizes outside the accepted range.
    bool ChangeSize(int width, int height);

    // --- Drawing -----------------------------------------------------------------------------
    // Every edge's UV segment, edges across a seam twice. Into the bitmap: MeshColor, zoom 1.
    // On screen (intoBitmap false, zoom = Mapping().Zoom): EditMeshColor, marked edges in
    // TempSelColor, and squares at marked points and the ends of marked edges.
    void DrawTemplateMesh(TCanvas& canvas, bool intoBitmap, double zoom) const
    {
        DrawTemplateMesh(canvas, intoBitmap, zoom, 0, 0);
    }
    // The same onto a canvas that holds only part of the zoomed template (the window draws
    // what is exposed): (left, top) is the screen pixel that falls on the canvas's top-left.
    void DrawTemplateMesh(TCanvas& canvas, bool intoBitmap, double zoom, int left, int top) const;
    // One line, end pixel excluded, in the canvas's current pen.
    void DrawTemplateEdge(TCanvas& canvas, TUVPoint first, TUVPoint second, double zoom,
                          int left = 0, int top = 0) const;
    // A 4 x 4 square in TempSelColor whose top-left pixel is 2 left of and 2 above (u, v).
    void DrawTemplateMark(TCanvas& canvas, double u, double v, double zoom, int left = 0,
                          int top = 0) const;
    // What the template window shows of the zoomed template, canvas-sized, starting at screen
    // pixel (left, top): the bitmap stretched to the zoomed size when TextureShown, else
    // TempColor, and the on-screen UV lines and marks over it.
    void DrawTemplateView(TCanvas& canvas, int left, int top) const;
    // The on-screen size of the template: nearest(TemplateWidth * Zoom) by
    // nearest(TemplateHeight * Zoom).
    int ScreenWidth() const;
    int ScreenHeight() const;
    // Fills the bitmap with TempColor and draws the layout into it: what the copy command puts
    // on the clipboard.
    void RedrawBitmap();

    // --- The bitmap --------------------------------------------------------------------------
    const TCanvas& Bitmap() const { return bitmap_; }
    // Fills the bitmap with TempColor (the discard answer of the first pen use).
    void ClearBitmap();
    // Open and paste: picture stretched over the whole bitmap; TextureShown becomes true.
    void LoadPicture(const TCanvas& picture);
    // A pen stroke from (x0, y0) to (x1, y1) in template pixels, in PenColour and PenWidth.
    // Returns the bitmap pixels it may have changed (empty when it missed the bitmap), so a
    // window repaints only those.
    TTemplateRect PenStroke(int x0, int y0, int x1, int y1);
    // The pixels a stroke from (x0, y0) to (x1, y1) at PenWidth may touch, within the bitmap.
    TTemplateRect StrokeBounds(int x0, int y0, int x1, int y1) const;
    // The bitmap's pixel at (x, y) in template pixels (0 outside): the transparent-colour pick.
    TColour BitmapPixel(int x, int y) const { return bitmap_.GetPixel(x, y); }

    // --- Picking and moving UV points (no model: nothing is found) --------------------------
    int FindNearestVertex(double u, double v, double radius) const;
    int FindNearestEdge(double u, double v, double radius) const;
    // The vertex or edge within PickRadius of the screen pixel (x, y), or -1.
    int VertexAtPixel(double x, double y) const;
    int EdgeAtPixel(double x, double y) const;
    void MoveMarked(double du, double dv);
    void ClearMarks();

    // --- Texture lookup for the renderer ------------------------------------------------------
    // The bitmap pixel (u, v) falls on, wrapped around the template's edges in both directions.
    TColour SampleTexture(double u, double v) const override;
    bool IsTransparent(TColour colour) const override
    {
        return Transparency && colour == TransparentColour;
    }

private:
    friend class TTemplateHistory; // swaps bitmap, mapping and flags for undo and redo

    TpreviewObj* model_ = nullptr; // not owned
    TTemplateMapping mapping_;
    TCanvas bitmap_;
};

} // namespace kalvo
