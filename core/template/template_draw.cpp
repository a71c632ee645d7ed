#include "core/model/preview_obj.h"
#include "core/template/map_template.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kalvo {

namespace {

// 64-bit sums pinned to int: a point dragged far off may sit at the edge of the int range.
int ClampInt(long long value)
{
    return static_cast<int>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
}

} // namespace

void TMapTemplate::DrawTemplateEdge(TCanvas& canvas, TUVPoint first, TUVPoint second, double zoom,
                                    int left, int top) const
{
    int x0, y0, x1, y1;
    mapping_.ScreenPosition(first.u, first.v, zoom, x0, y0);
    mapping_.ScreenPosition(second.u, second.v, zoom, x1, y1);
    // The far end of the layout (u = MaxU and v = MinV as first laid out) maps onto the column
    // and row just past the template, so the outline of a layout that fills the template would
    // lie outside the bitmap. A line running along that column (row) is drawn on the last one
    // inside instead. Only such lines move: lines that merely end there already show up to the
    // last pixel, and the mapping itself, which the texture lookup shares, stays as it is.
    const int farColumn = NearestInt(mapping_.TemplateWidth * zoom);
    const int farRow = NearestInt(mapping_.TemplateHeight * zoom);
    if (x0 == farColumn && x1 == farColumn)
        x0 = x1 = farColumn - 1;
    if (y0 == farRow && y1 == farRow)
        y0 = y1 = farRow - 1;
    canvas.Line(
        ClampInt(static_cast<long long>(x0) - left), ClampInt(static_cast<long long>(y0) - top),
        ClampInt(static_cast<long long>(x1) - left), ClampInt(static_cast<long long>(y1) - top));
}

void TMapTemplate::DrawTemplateMark(TCanvas& canvas, double u, double v, double zoom, int left,
                                    int top) const
{
    int x, y;
    mapping_.ScreenPosition(u, v, zoom, x, y);
    const long long cx = static_cast<long long>(x) - left;
    const long long cy = static_cast<long long>(y) - top;
    canvas.FillRect(ClampInt(cx - 2), ClampInt(cy - 2), ClampInt(cx + 2), ClampInt(cy + 2),
                    Colours.TempSelColor);
}

int TMapTemplate::ScreenWidth() const { return NearestInt(mapping_.TemplateWidth * mapping_.Zoom); }

int TMapTemplate::ScreenHeight() const
{
    return NearestInt(mapping_.TemplateHeight * mapping_.Zoom);
}

void TMapTemplate::DrawTemplateView(TCanvas& canvas, int left, int top) const
{
    const int width = canvas.Width();
    const int height = canvas.Height();
    if (width <= 0 || height <= 0)
        return;
    const int screenWidth = ScreenWidth();
    const int screenHeight = ScreenHeight();
    if (!TextureShown || bitmap_.Width() <= 0 || bitmap_.Height() <= 0 || screenWidth <= 0 ||
        screenHeight <= 0) {
        canvas.Clear(Colours.TempColor);
    } else {
        // The bitmap stretched over the zoomed area, each screen pixel taking the bitmap pixel
        // it falls in; outside the zoomed area the panel's TempColor shows.
        const int bitmapWidth = bitmap_.Width();
        const int bitmapHeight = bitmap_.Height();
        const auto source = [](long long screen, int screenSize, int bitmapSize) {
            if (screen < 0 || screen >= screenSize)
                return -1;
            return static_cast<int>(screen * bitmapSize / screenSize);
        };
        std::vector<int> columns(static_cast<std::size_t>(width));
        for (int x = 0; x < width; ++x)
            columns[x] = source(static_cast<long long>(left) + x, screenWidth, bitmapWidth);
        for (int y = 0; y < height; ++y) {
            std::uint32_t* out = canvas.Pixels() + static_cast<std::size_t>(y) * width;
            const int row = source(static_cast<long long>(top) + y, screenHeight, bitmapHeight);
            if (row < 0) {
                std::fill(out, out + width, Colours.TempColor);
                continue;
            }
            const std::uint32_t* in =
                bitmap_.Pixels() + static_cast<std::size_t>(row) * bitmapWidth;
            for (int x = 0; x < width; ++x)
                out[x] = columns[x] < 0 ? Colours.TempColor : in[columns[x]];
        }
    }
    DrawTemplateMesh(canvas, false, mapping_.Zoom, left, top);
}

void TMapTemplate::DrawTemplateMesh(TCanvas& canvas, bool intoBitmap, double zoom, int left,
                                    int top) const
{
    if (!model_)
        return;
    const TpreviewObj& model = *model_;
    canvas.SetPenMode(TPenMode::Copy);
    canvas.SetPenWidth(1);
    // The seams: u and v are periodic with periods MaxU and MaxV (where the model has them).
    const double p = model.SeamPeriodU();
    const double q = model.SeamPeriodV();
    const int vertexCount = model.VertexCount();
    for (const TEdgeC& edge : model.Edges) {
        if (edge.StartVertex < 0 || edge.StartVertex >= vertexCount || edge.EndVertex < 0 ||
            edge.EndVertex >= vertexCount)
            continue;
        const TVecPointC& a = model.Vertices[edge.StartVertex];
        const TVecPointC& b = model.Vertices[edge.EndVertex];
        if (intoBitmap)
            canvas.SetPenColour(Colours.MeshColor);
        else
            canvas.SetPenColour(edge.Mark ? Colours.TempSelColor : Colours.EditMeshColor);

        // An edge longer than half a period runs across the seam the short way: it leaves the
        // template on one side and comes back on the other, so it is drawn once from each.
        if (std::fabs(a.u - b.u) > p / 2) {
            if (a.u <= p / 2) {
                DrawTemplateEdge(canvas, {a.u + p, a.v}, {b.u, b.v}, zoom, left, top);
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u - p, b.v}, zoom, left, top);
            } else {
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u + p, b.v}, zoom, left, top);
                DrawTemplateEdge(canvas, {a.u - p, a.v}, {b.u, b.v}, zoom, left, top);
            }
        } else if (std::fabs(a.v - b.v) > q / 2) {
            if (a.v <= q / 2) {
                DrawTemplateEdge(canvas, {a.u, a.v + q}, {b.u, b.v}, zoom, left, top);
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u, b.v - q}, zoom, left, top);
            } else {
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u, b.v + q}, zoom, left, top);
                DrawTemplateEdge(canvas, {a.u, a.v - q}, {b.u, b.v}, zoom, left, top);
            }
        } else {
            DrawTemplateEdge(canvas, {a.u, a.v}, {b.u, b.v}, zoom, left, top);
        }

        if (!intoBitmap) {
            if (a.Mark || edge.Mark)
                DrawTemplateMark(canvas, a.u, a.v, zoom, left, top);
            if (b.Mark || edge.Mark)
                DrawTemplateMark(canvas, b.u, b.v, zoom, left, top);
        }
    }
}

} // namespace kalvo
