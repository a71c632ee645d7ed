#include "core/model/template_link.h"
#include "core/preview/clip.h"
#include "core/preview/shading.h"
#include "core/preview/valid_index.h"
#include "core/preview/vector_math.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace kalvo {

namespace {

int Sign(std::int64_t value) { return (value > 0) - (value < 0); }

// Segments handed to ScanEdge come clipped to the pane. Anything reaching further than this
// beyond it is cut back first, so no input makes the scan walk millions of pixels.
constexpr double kScanSlack = 4096.0;

// Cuts a-b (with its depth, u and v) to the box [left, right] x [top, bottom]; false when
// nothing of it is inside.
bool TrimToBox(VertexInput& a, VertexInput& b, double left, double top, double right, double bottom)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const auto limit = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double t = q / p;
        if (p < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!(limit(-dx, a.x - left) && limit(dx, right - a.x) && limit(-dy, a.y - top) &&
          limit(dy, bottom - a.y)))
        return false;
    const VertexInput start = a;
    const VertexInput end = b;
    const auto at = [&](double t, VertexInput& p) {
        p.x = start.x + (end.x - start.x) * t;
        p.y = start.y + (end.y - start.y) * t;
        p.z = start.z + (end.z - start.z) * t;
        p.u = start.u + (end.u - start.u) * t;
        p.v = start.v + (end.v - start.v) * t;
    };
    if (t0 > 0.0)
        at(t0, a);
    if (t1 < 1.0)
        at(t1, b);
    return true;
}

// Lifts one end of a seam-crossing coordinate pair by the period, the short way round.
void SeamPair(double a, double b, double period, bool& wrap, double& outA, double& outB)
{
    const double half = period / 2;
    if (wrap) {
        outA = half > a ? a + period : a;
        outB = half > b ? b + period : b;
    } else if (std::fabs(a - b) > half) {
        wrap = true;
        if (half >= a) {
            outA = a + period;
            outB = b;
        } else {
            outA = a;
            outB = b + period;
        }
    } else {
        outA = a;
        outB = b;
    }
}

// Enters column c with its values into one row of the span table. In the steep walk the
// other end of the row is lifted across the seam too when the polygon wraps, so both ends of
// the span lie on the same side of it.
void UpdateRow(const TDrawScratch& scratch, SpanRow& row, int c, double z, double u, double v,
               bool steep)
{
    if (row.Left < 0) {
        row.Left = row.Right = c;
        row.LeftDepth = row.RightDepth = z;
        row.LeftU = row.RightU = u;
        row.LeftV = row.RightV = v;
    } else if (c < row.Left) {
        row.Left = c;
        row.LeftDepth = z;
        row.LeftU = u;
        row.LeftV = v;
        if (steep) {
            if (scratch.WrapU && scratch.Seams.U / 2 > row.RightU)
                row.RightU += scratch.Seams.U;
            if (scratch.WrapV && scratch.Seams.V / 2 > row.RightV)
                row.RightV += scratch.Seams.V;
        }
    } else if (c > row.Right) {
        row.Right = c;
        row.RightDepth = z;
        row.RightU = u;
        row.RightV = v;
        if (steep) {
            if (scratch.WrapU && scratch.Seams.U / 2 > row.LeftU)
                row.LeftU += scratch.Seams.U;
            if (scratch.WrapV && scratch.Seams.V / 2 > row.LeftV)
                row.LeftV += scratch.Seams.V;
        }
    }
}

// Columns left of the pane enter as column 0 and those beyond its right edge as the last
// column; the right edge itself (x == width) stays as it is, and FillSpan skips it.
int SpanColumn(std::int64_t x, int width)
{
    if (x <= 0)
        return 0;
    if (x > width)
        return width - 1;
    return static_cast<int>(x);
}

// Side midpoints in model space, for the face normal; left uninitialised on purpose, as the
// filler runs once per polygon per frame.
struct TMidPoint
{
    double x, y, z;
};

bool WithinColumns(const VertexInput& p, int width) { return p.x >= -0.5 && p.x <= width + 0.5; }

} // namespace

TColour ShadeColour(const VertexInput& normal, TColour base)
{
    static const VertexInput light = Normalise(MakePoint(1.0, 1.0, 1.0));
    double c = DotProduct(normal, light);
    if (c < 0.0)
        c = -c;
    // A face square to the light can come out a hair above 1, where arcsin has no value.
    if (c > 1.0)
        c = 1.0;
    const double angle = std::asin(c) * 180.0 / 3.141592;
    TColour result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double channel = static_cast<double>((base >> shift) & 0xFFu);
        const int shaded = std::clamp(RoundHalfEven(channel / 90.0 * angle), 0, 255);
        result |= static_cast<TColour>(shaded) << shift;
    }
    return result;
}

void ResetSpans(TDrawScratch& scratch, int paneHeight)
{
    // Only the rows the previous polygon entered can hold a span: emptying those keeps the
    // cost proportional to the polygon, not to the pane.
    std::vector<SpanRow>& table = scratch.SpanTable;
    const int last = std::min<std::int64_t>(scratch.LastRow, std::ssize(table) - 1);
    for (int row = std::max(scratch.FirstRow, 0); row <= last; ++row)
        table[row].Left = table[row].Right = -1;
    const int rows = std::max(paneHeight, 0);
    if (std::ssize(table) != rows)
        table.resize(rows);
    scratch.FirstRow = paneHeight;
    scratch.LastRow = 0;
    scratch.WrapU = false;
    scratch.WrapV = false;
}

void ScanEdge(TDrawScratch& scratch, const VertexInput& a, const VertexInput& b, int paneWidth,
              int paneHeight)
{
    VertexInput start = a;
    VertexInput end = b;
    SeamPair(a.u, b.u, scratch.Seams.U, scratch.WrapU, start.u, end.u);
    SeamPair(a.v, b.v, scratch.Seams.V, scratch.WrapV, start.v, end.v);
    const double right = paneWidth + kScanSlack;
    const double bottom = paneHeight + kScanSlack;
    const bool inBox = start.x >= -kScanSlack && start.x <= right && end.x >= -kScanSlack &&
                       end.x <= right && start.y >= -kScanSlack && start.y <= bottom &&
                       end.y >= -kScanSlack && end.y <= bottom;
    if (!inBox && !TrimToBox(start, end, -kScanSlack, -kScanSlack, right, bottom))
        return;

    std::int64_t xA = RoundHalfEven(start.x);
    std::int64_t yA = RoundHalfEven(start.y);
    std::int64_t xB = RoundHalfEven(end.x);
    std::int64_t yB = RoundHalfEven(end.y);
    double zA = start.z, zB = end.z;
    double uA = start.u, uB = end.u;
    double vA = start.v, vB = end.v;

    if (scratch.LastRow < scratch.FirstRow)
        scratch.FirstRow = scratch.LastRow = static_cast<int>(yA);
    scratch.FirstRow = static_cast<int>(std::min<std::int64_t>({scratch.FirstRow, yA, yB}));
    scratch.LastRow = static_cast<int>(std::max<std::int64_t>({scratch.LastRow, yA, yB}));

    const std::int64_t rows = std::min<std::int64_t>(paneHeight, std::ssize(scratch.SpanTable));
    SpanRow* table = scratch.SpanTable.data();

    if (std::llabs(yB - yA) > std::llabs(xB - xA)) {
        if (yB < yA) {
            std::swap(xA, xB);
            std::swap(yA, yB);
            std::swap(zA, zB);
            std::swap(uA, uB);
            std::swap(vA, vB);
        }
        const std::int64_t major = yB - yA;
        const std::int64_t minor = std::llabs(xB - xA);
        const double dz = (zB - zA) / major;
        const double du = (uB - uA) / major;
        const double dv = (vB - vA) / major;
        const int sx = Sign(xB - xA);
        std::int64_t err = major / 2;
        std::int64_t x = xA;
        double z = zA, u = uA, v = vA;
        for (std::int64_t row = yA; row <= yB; ++row) {
            if (row >= 0 && row < rows)
                UpdateRow(scratch, table[row], SpanColumn(x, paneWidth), z, u, v, true);
            z += dz;
            u += du;
            v += dv;
            err -= minor;
            if (err <= 0) {
                err += major;
                x += sx;
            }
        }
        return;
    }

    if (xA > xB) {
        std::swap(xA, xB);
        std::swap(yA, yB);
        std::swap(zA, zB);
        std::swap(uA, uB);
        std::swap(vA, vB);
    }
    const std::int64_t major = xB - xA;
    const std::int64_t minor = std::llabs(yB - yA);
    const double dz = major != 0 ? (zB - zA) / major : 0.0;
    const double du = major != 0 ? (uB - uA) / major : 0.0;
    const double dv = major != 0 ? (vB - vA) / major : 0.0;
    const int sy = Sign(yB - yA);
    std::int64_t err = major / 2;
    std::int64_t row = yA;
    double z = zA, u = uA, v = vA;
    for (std::int64_t x = xA; x <= xB; ++x) {
        if (row >= 0 && row < rows)
            UpdateRow(scratch, table[row], SpanColumn(x, paneWidth), z, u, v, false);
        err -= minor;
        z += dz;
        u += du;
        v += dv;
        if (err <= 0) {
            row += sy;
            err += major;
        }
    }
}

void FillSpan(const TpreviewObj& model, const TDrawScratch& scratch, const SpanRow& span, int row,
              bool toBitmap, TCanvas& pane, TDIB& bitmap, TColour colour)
{
    const int width = pane.Width();
    if (row < 0 || row >= pane.Height())
        return;
    const int n = span.Right - span.Left;
    const double dz = n != 0 ? (span.RightDepth - span.LeftDepth) / n : 0.0;
    const TTemplateLink* texture = scratch.TexturePreview ? model.TemplateWindow : nullptr;
    // In texture mode the polygon's colour is an intensity held in the red channel.
    const double intensity = static_cast<double>(colour & 0xFFu);
    // The depth plane is read directly; pixels outside it read 0 and so are never drawn.
    const float* depthRow = bitmap.Depths() && row < bitmap.Height()
                                ? bitmap.Depths() + static_cast<std::size_t>(row) * bitmap.Width()
                                : nullptr;
    const int depthWidth = depthRow ? bitmap.Width() : 0;
    if (!texture && toBitmap && depthRow && bitmap.Indices()) {
        // The common case of a flat colour into the bitmap: every column the loop reaches
        // lies in the bitmap, so the pixels are written directly, without the bounds checks
        // of SetPixel and SetDepth. Spans are mostly a pixel or two long, so the dithered
        // index is worked out per pixel rather than tabled per span. The depth still advances by
        // the same additions from the left end as in the general loop, so it rounds alike.
        float* depths = bitmap.Depths() + static_cast<std::size_t>(row) * bitmap.Width();
        std::uint8_t* indices = bitmap.Indices() + static_cast<std::size_t>(row) * bitmap.Width();
        const int limit = std::min(width, depthWidth);
        double z = span.LeftDepth;
        for (int x = span.Left; x <= span.Right; ++x, z += dz) {
            if (x < 0 || x >= limit)
                continue;
            const double stored = static_cast<double>(depths[x]);
            if (!(stored > z || stored < 0.0))
                continue;
            indices[x] = TDIB::DitheredIndex(x, row, colour);
            depths[x] = static_cast<float>(z);
        }
        return;
    }
    // Texture coordinates only matter here, so only here are their steps worked out.
    double du = 0.0, dv = 0.0;
    if (n != 0) {
        du = (span.RightU - span.LeftU) / n;
        dv = (span.RightV - span.LeftV) / n;
    }
    double z = span.LeftDepth, u = span.LeftU, v = span.LeftV;
    for (int x = span.Left; x <= span.Right; ++x, z += dz, u += du, v += dv) {
        if (x < 0 || x >= width)
            continue;
        const double stored = x < depthWidth ? static_cast<double>(depthRow[x]) : 0.0;
        // Equal depths are not drawn: the first polygon drawn at a depth keeps the pixel.
        if (!(stored > z || stored < 0.0))
            continue;
        TColour drawn = colour;
        if (texture) {
            const TColour texel = texture->SampleTexture(u, v);
            // A transparent texel leaves colour and depth alone, so what lies behind it can
            // still be drawn.
            if (texture->IsTransparent(texel))
                continue;
            drawn = texel;
            if (scratch.TextureShade) {
                drawn = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const double channel = static_cast<double>((texel >> shift) & 0xFFu);
                    const int shaded =
                        std::clamp(RoundHalfEven(channel / 256.0 * intensity), 0, 255);
                    drawn |= static_cast<TColour>(shaded) << shift;
                }
            }
        }
        if (toBitmap)
            bitmap.SetPixel(x, row, drawn);
        else
            pane.SetPixel(x, row, drawn);
        bitmap.SetDepth(x, row, z);
    }
}

void FillPolygon(const TpreviewObj& model, TDrawScratch& scratch, int p, bool toBitmap,
                 TCanvas& pane, TDIB& bitmap)
{
    if (!ValidIndex(p, model.Polygons.size()))
        return;
    const PolygonRec& polygon = model.Polygons[p];
    const int width = pane.Width();
    const int height = pane.Height();
    scratch.CentreX = width / 2;
    scratch.CentreY = height / 2;
    const int n = polygon.count();
    if (n > 4)
        return;
    ResetSpans(scratch, height);
    scratch.Seams = TSeamPeriods{model.SeamPeriodU(), model.SeamPeriodV()};

    const TClipRect rect{0, 0, width, height};
    const std::size_t projectedCount = scratch.Projected.size();
    const std::size_t vertexCount = model.Vertices.size();
    TMidPoint middle[3];
    for (int i = 0; i < n; ++i) {
        const int e = polygon.sides[i];
        if (!ValidIndex(e, model.Edges.size()))
            return;
        const TEdgeC& edge = model.Edges[e];
        const int s = edge.StartVertex;
        const int t = edge.EndVertex;
        if (!ValidIndex(s, projectedCount) || !ValidIndex(t, projectedCount) ||
            !ValidIndex(s, vertexCount) || !ValidIndex(t, vertexCount))
            return;
        VertexInput a = ReadPoint(scratch.Projected[s]);
        VertexInput b = ReadPoint(scratch.Projected[t]);
        // A corner behind the eye has no image, and neither has the polygon.
        if (a.z < 0.0 || b.z < 0.0)
            return;
        if (i < 3) {
            const TVecPointC& vs = model.Vertices[s];
            const TVecPointC& vt = model.Vertices[t];
            middle[i] = TMidPoint{(vt.x + vs.x) / 2.0, (vt.y + vs.y) / 2.0, (vt.z + vs.z) / 2.0};
        }
        if (OutCode(a, rect) == 0 && OutCode(b, rect) == 0) {
            // Wholly inside: the clipper would only put the left end first.
            if (a.x > b.x)
                std::swap(a, b);
            ScanEdge(scratch, a, b, width, height);
            continue;
        }
        TClipBorders borders;
        // A side that misses the pane near a corner comes back from the clipper with an end
        // beyond the left or right border; it has nothing inside the pane to enter.
        if (ClipSegment(a, b, rect, borders, TSeamPeriods{model.MaxU, model.MaxV}) &&
            WithinColumns(a, width) && WithinColumns(b, width))
            ScanEdge(scratch, a, b, width, height);
        if (borders.StartBorder.Present)
            ScanEdge(scratch, borders.StartBorder.A, borders.StartBorder.B, width, height);
        if (borders.EndBorder.Present)
            ScanEdge(scratch, borders.EndBorder.A, borders.EndBorder.B, width, height);
    }

    // Faces of fewer than three sides have no plane to light: black.
    TColour colour = 0;
    if (n >= 3) {
        const TColour base = scratch.TexturePreview ? 255u : polygon.colour;
        const auto point = [](const TMidPoint& m) { return MakePoint(m.x, m.y, m.z); };
        colour =
            ShadeColour(FaceNormal(point(middle[0]), point(middle[1]), point(middle[2])), base);
    }

    const int enteredLast = scratch.LastRow;
    scratch.FirstRow = std::max(scratch.FirstRow, 0);
    scratch.LastRow = std::min(scratch.LastRow, bitmap.Height() - 1);
    const int tableLast = static_cast<int>(std::ssize(scratch.SpanTable)) - 1;
    const int fillLast = std::min(scratch.LastRow, tableLast);
    for (int row = scratch.FirstRow; row <= fillLast; ++row) {
        if (scratch.SpanTable[row].Left >= 0)
            FillSpan(model, scratch, scratch.SpanTable[row], row, toBitmap, pane, bitmap, colour);
    }
    // Rows below the bitmap were entered but are never filled; empty them now, since the
    // stored row range no longer covers them and the next ResetSpans would miss them.
    for (int row = std::max(scratch.LastRow + 1, 0); row <= std::min(enteredLast, tableLast); ++row)
        scratch.SpanTable[row].Left = scratch.SpanTable[row].Right = -1;
}

} // namespace kalvo
