#include "core/model/preview_obj.h"
#include "core/template/map_template.h"

#include <cmath>
#include <cstdint>

namespace kalvo {

void TMapTemplate::DrawTemplateEdge(TCanvas& canvas, TUVPoint first, TUVPoint second,
                                    double zoom) const
{
    int x0, y0, x1, y1;
    mapping_.ScreenPosition(first.u, first.v, zoom, x0, y0);
    mapping_.ScreenPosition(second.u, second.v, zoom, x1, y1);
    canvas.Line(x0, y0, x1, y1);
}

void TMapTemplate::DrawTemplateMark(TCanvas& canvas, double u, double v, double zoom) const
{
    int x, y;
    mapping_.ScreenPosition(u, v, zoom, x, y);
    // 64-bit corners: a point dragged far off may sit at the edge of the int range.
    const auto clampInt = [](long long value) {
        return static_cast<int>(value < INT32_MIN   ? INT32_MIN
                                : value > INT32_MAX ? INT32_MAX
                                                    : value);
    };
    canvas.FillRect(clampInt(x - 2LL), clampInt(y - 2LL), clampInt(x + 2LL), clampInt(y + 2LL),
                    Colours.TempSelColor);
}

void TMapTemplate::DrawTemplateMesh(TCanvas& canvas, bool intoBitmap, double zoom) const
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
                DrawTemplateEdge(canvas, {a.u + p, a.v}, {b.u, b.v}, zoom);
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u - p, b.v}, zoom);
            } else {
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u + p, b.v}, zoom);
                DrawTemplateEdge(canvas, {a.u - p, a.v}, {b.u, b.v}, zoom);
            }
        } else if (std::fabs(a.v - b.v) > q / 2) {
            if (a.v <= q / 2) {
                DrawTemplateEdge(canvas, {a.u, a.v + q}, {b.u, b.v}, zoom);
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u, b.v - q}, zoom);
            } else {
                DrawTemplateEdge(canvas, {a.u, a.v}, {b.u, b.v + q}, zoom);
                DrawTemplateEdge(canvas, {a.u, a.v - q}, {b.u, b.v}, zoom);
            }
        } else {
            DrawTemplateEdge(canvas, {a.u, a.v}, {b.u, b.v}, zoom);
        }

        if (!intoBitmap) {
            if (a.Mark || edge.Mark)
                DrawTemplateMark(canvas, a.u, a.v, zoom);
            if (b.Mark || edge.Mark)
                DrawTemplateMark(canvas, b.u, b.v, zoom);
        }
    }
}

} // namespace kalvo
