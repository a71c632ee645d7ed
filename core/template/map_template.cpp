#include "core/template/map_template.h"

#include "core/model/preview_obj.h"
#include "core/template/template_pick.h"
#include "core/template/template_stretch.h"

#include <algorithm>
#include <cmath>

namespace kalvo {

namespace {

// Wraps a rounded template position into 0 .. size - 1. Positions within one template of
// the edges (all that the seams produce) wrap as a plain remainder would; positions farther
// out, from (u, v) dragged far off the layout, wrap the same way instead of reading outside.
int WrapPixel(double position, int size)
{
    if (!std::isfinite(position))
        return 0;
    double rounded = std::nearbyint(position);
    rounded = std::fmod(rounded, static_cast<double>(size));
    if (rounded < 0)
        rounded += size;
    const int pixel = static_cast<int>(rounded);
    return pixel >= size ? 0 : pixel;
}

} // namespace

TMapTemplate::~TMapTemplate() { SetModel(nullptr); }

void TMapTemplate::SetModel(TpreviewObj* model)
{
    if (model_ && model_->TemplateWindow == this)
        model_->SetTemplateWindow(nullptr);
    model_ = model;
    if (model_)
        model_->SetTemplateWindow(this);
}

bool TMapTemplate::SetPenWidth(int width)
{
    if (width != 1 && width != 4 && width != 8 && width != 16)
        return false;
    PenWidth = width;
    return true;
}

bool TMapTemplate::SetupTemplate(int width, int height)
{
    if (!mapping_.Setup(model_, width, height))
        return false;
    bitmap_.SetSize(width, height);
    RedrawBitmap();
    return true;
}

void TMapTemplate::RedrawBitmap()
{
    bitmap_.Clear(Colours.TempColor);
    if (model_)
        DrawTemplateMesh(bitmap_, true, 1.0);
}

void TMapTemplate::Rotate()
{
    mapping_.Orientation = (mapping_.Orientation + 1) % 4;
    TextureShown = false;
    RedrawBitmap();
}

bool TMapTemplate::MatchRatio()
{
    const double maxU = model_ ? model_->MaxU : 0.0;
    const double maxV = model_ ? model_->MaxV : 0.0;
    int width = mapping_.TemplateWidth;
    int height = mapping_.TemplateHeight;
    double side;
    if (mapping_.VScale > mapping_.UScale) {
        side = mapping_.VScale * maxU;
        width = NearestInt(side);
    } else {
        side = mapping_.UScale * maxV;
        height = NearestInt(side);
    }
    // A side of 0 (MaxU or MaxV is 0) or beyond the largest template is refused outright.
    if (!(side >= kMinTemplateSide - 0.5 && side < kMaxTemplateSide + 0.5) ||
        !IsValidTemplateSize(width, height))
        return false;
    TextureShown = false;
    return SetupTemplate(width, height);
}

bool TMapTemplate::ChangeSize(int width, int height)
{
    if (!IsValidTemplateSize(width, height))
        return false;
    TextureShown = false;
    return SetupTemplate(width, height);
}

void TMapTemplate::ClearBitmap() { bitmap_.Clear(Colours.TempColor); }

void TMapTemplate::LoadPicture(const TCanvas& picture)
{
    TextureShown = true;
    StretchPicture(picture, bitmap_);
}

TTemplateRect TMapTemplate::PenStroke(int x0, int y0, int x1, int y1)
{
    bitmap_.SetPenMode(TPenMode::Copy);
    bitmap_.SetPenColour(PenColour);
    bitmap_.SetPenWidth(PenWidth);
    bitmap_.Line(x0, y0, x1, y1);
    bitmap_.SetPenWidth(1);
    return StrokeBounds(x0, y0, x1, y1);
}

TTemplateRect TMapTemplate::StrokeBounds(int x0, int y0, int x1, int y1) const
{
    // A round pen of diameter PenWidth reaches PenWidth / 2 past the line either way; one more
    // pixel covers its rounding.
    const long long reach = std::max(PenWidth, 1) / 2 + 1;
    const auto clamp = [](long long value, int size) {
        return static_cast<int>(std::clamp<long long>(value, 0, size));
    };
    TTemplateRect rect;
    rect.Left = clamp(std::min<long long>(x0, x1) - reach, bitmap_.Width());
    rect.Top = clamp(std::min<long long>(y0, y1) - reach, bitmap_.Height());
    rect.Right = clamp(std::max<long long>(x0, x1) + reach + 1, bitmap_.Width());
    rect.Bottom = clamp(std::max<long long>(y0, y1) + reach + 1, bitmap_.Height());
    return rect;
}

int TMapTemplate::FindNearestVertex(double u, double v, double radius) const
{
    return model_ ? kalvo::FindNearestVertex(*model_, u, v, radius) : -1;
}

int TMapTemplate::FindNearestEdge(double u, double v, double radius) const
{
    return model_ ? kalvo::FindNearestEdge(*model_, u, v, radius) : -1;
}

int TMapTemplate::VertexAtPixel(double x, double y) const
{
    const TUVPoint p = PixelToUV(x, y);
    return FindNearestVertex(p.u, p.v, PickRadius());
}

int TMapTemplate::EdgeAtPixel(double x, double y) const
{
    const TUVPoint p = PixelToUV(x, y);
    return FindNearestEdge(p.u, p.v, PickRadius());
}

void TMapTemplate::MoveMarked(double du, double dv)
{
    if (model_)
        kalvo::MoveMarked(*model_, du, dv);
}

void TMapTemplate::ClearMarks()
{
    if (model_)
        kalvo::ClearMarks(*model_);
}

TColour TMapTemplate::SampleTexture(double u, double v) const
{
    const int width = bitmap_.Width();
    const int height = bitmap_.Height();
    if (width <= 0 || height <= 0)
        return 0;
    const TTemplatePoint p = mapping_.UVToTemplate(u, v);
    return bitmap_
        .Pixels()[static_cast<std::size_t>(WrapPixel(p.y, height)) * width + WrapPixel(p.x, width)];
}

} // namespace kalvo
