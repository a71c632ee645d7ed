#include "core/preview/canvas.h"
#include "core/preview/vector_math.h"
#include "core/preview/view_state.h"
#include "core/preview/wireframe.h"
#include "tests/support/golden_image.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

constexpr TColour kBack = 0x00402010;
constexpr TColour kWire = 0x0000FFFF;
constexpr TOrthoColours kOrthoColours{0x0000FF00, 0x00FF8000};

VertexInput Corner(double x, double y, double z)
{
    return FillVertexInput(x, y, z, 0.0, 0.0, 0, 0, false);
}

// An axis-aligned cube of side 2 * h around the origin, six quadrilaterals.
void AddCube(TpreviewObj& model, double h)
{
    const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    for (const auto& face : faces) {
        std::vector<VertexInput> corners;
        for (int c : face)
            corners.push_back(Corner(c & 1 ? h : -h, c & 2 ? h : -h, c & 4 ? h : -h));
        model.AddPolygonByCorners(0x808080, corners);
    }
}

TDrawScratch DrawModeZero(const TpreviewObj& model, const TVector& camera, TCanvas& pane)
{
    TDrawScratch scratch;
    scratch.WireColour = kWire;
    ClearDrawn(model, scratch);
    ProjectVertices(model, scratch, camera, pane);
    for (int p = 0; p < model.PolygonCount(); ++p)
        DrawPolygonWire(model, scratch, p, pane);
    return scratch;
}

TVector CameraAt(int width, int height, int angleH, int angleV, double distance)
{
    TVector camera;
    InitialiseCamera(camera, width, height);
    TViewState state;
    state.ViewAngleH = angleH;
    state.ViewAngleV = angleV;
    state.ViewDistance = distance;
    ApplyView(state, camera);
    return camera;
}

TEST(Projection, FillsProjectedWithPanePixelsAndSinglePrecisionDepth)
{
    TpreviewObj model;
    model.AddVertex(FillVertexInput(0.0, 10.0, 0.1, 0.25, 0.75, 0, 3, false));
    model.Vertices[0].Mark = true;
    const TVector camera = CameraAt(400, 300, 0, 0, 50.0);
    const TCanvas pane(401, 301);
    TDrawScratch scratch;
    ProjectVertices(model, scratch, camera, pane);
    ASSERT_EQ(scratch.Projected.size(), 1u);
    const TVecPointC& p = scratch.Projected[0];
    EXPECT_EQ(scratch.CentreX, 200);
    EXPECT_EQ(scratch.CentreY, 150);
    EXPECT_EQ(p.x, 200 + 72);
    EXPECT_EQ(p.y, 150 - 1); // 0.1 * 7.24 up rounds to 1
    EXPECT_EQ(p.z, 50.0);
    EXPECT_EQ(p.u, 0.25);
    EXPECT_EQ(p.v, 0.75);
    EXPECT_TRUE(p.Mark);
    EXPECT_EQ(p.flag, 0);

    model.AddVertex(Corner(1.0 / 3.0 + 0.0, 0.0, 0.0)); // depth 50 - 1/3: not a float
    ProjectVertices(model, scratch, camera, pane);
    ASSERT_EQ(scratch.Projected.size(), 2u);
    EXPECT_EQ(scratch.Projected[1].z, static_cast<double>(static_cast<float>(50.0 - 1.0 / 3.0)));
}

// In invert mode an edge drawn twice would vanish again, so the middle pixel of every edge
// being lit shows each edge was drawn exactly once.
TEST(WireframeMode0, DrawsEachCubeEdgeOnce)
{
    TpreviewObj model;
    AddCube(model, 5.0);
    ASSERT_EQ(model.EdgeCount(), 12);
    const TVector camera = CameraAt(160, 120, -30, 20, 50.0);
    TCanvas pane(160, 120);
    pane.SetPenMode(TPenMode::Invert);
    const TDrawScratch scratch = DrawModeZero(model, camera, pane);
    int drawn = 0;
    for (int e = 0; e < model.EdgeCount(); ++e) {
        const TEdgeC& edge = model.Edges[e];
        drawn += scratch.Drawn[e];
        const TVecPointC& a = scratch.Projected[edge.StartVertex];
        const TVecPointC& b = scratch.Projected[edge.EndVertex];
        const int x = RoundHalfEven((a.x + b.x) / 2), y = RoundHalfEven((a.y + b.y) / 2);
        bool lit = false; // the middle pixel or a neighbour, for lines of even length
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                lit = lit || pane.GetPixel(x + dx, y + dy) == 0x00FFFFFF;
        EXPECT_TRUE(lit) << "edge " << edge.StartVertex << "-" << edge.EndVertex;
    }
    EXPECT_EQ(drawn, 12);
}

TEST(WireframeMode0, SkipsEdgesBehindTheEyeButDrawsDepthZero)
{
    TpreviewObj model;
    model.AddPolygonByCorners(0, {Corner(0, 0, 0), Corner(1, 0, 0), Corner(2, 0, 0)});
    TDrawScratch scratch;
    scratch.WireColour = kWire;
    TCanvas pane(20, 10);
    scratch.Projected.assign(3, TVecPointC{});
    scratch.Projected[0] = TVecPointC{2, 2, 0.0}; // depth exactly 0
    scratch.Projected[1] = TVecPointC{12, 2, 1.0};
    scratch.Projected[2] = TVecPointC{12, 8, -0.5}; // behind the eye
    DrawPolygonWire(model, scratch, 0, pane);
    EXPECT_EQ(pane.GetPixel(2, 2), kWire);
    EXPECT_EQ(pane.GetPixel(11, 2), kWire);
    EXPECT_EQ(pane.GetPixel(12, 5), 0u); // 1-2 touches the point behind the eye
    EXPECT_EQ(pane.GetPixel(7, 5), 0u);  // and so does 2-0
}

TEST(WireframeMode0, ClipsLinesLeavingThePaneAndSurvivesBrokenIndices)
{
    TpreviewObj model;
    model.AddPolygonByCorners(0, {Corner(0, 0, 0), Corner(1, 0, 0), Corner(2, 0, 0)});
    model.Edges[1].EndVertex = -1; // as the group sort leaves an unknown vertex
    model.Polygons[0].sides.push_back(99);
    TDrawScratch scratch;
    scratch.WireColour = kWire;
    TCanvas pane(20, 10);
    scratch.Projected.assign(3, TVecPointC{});
    scratch.Projected[0] = TVecPointC{-1e6, 5, 1.0};
    scratch.Projected[1] = TVecPointC{1e6, 5, 1.0};
    scratch.Projected[2] = TVecPointC{5, 5, 1.0};
    DrawPolygonWire(model, scratch, 0, pane);
    DrawPolygonWire(model, scratch, 7, pane);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(pane.GetPixel(x, 5), kWire) << x;
}

TEST(OrthoPanes, TopPaneWorkedCaseWithAMarkedCorner)
{
    TpreviewObj model;
    model.AddEdgeByInputs(Corner(1, 2, 3), Corner(0, 0, 0));
    model.Vertices[0].Mark = true;
    TCanvas pane(200, 60);
    TDrawScratch scratch;
    ClearDrawn(model, scratch);
    DrawOrthoView(model, scratch, 1, pane, Corner(0, 0, 0), true, 10.0, kOrthoColours);
    EXPECT_EQ(scratch.OrthoScale, 20.0);
    // (1, 2, 3) -> column 100 + 2 * 20, row 30 + 1 * 20: a 4 x 4 square from (138, 48).
    for (int y = 46; y < 54; ++y)
        for (int x = 136; x < 144; ++x) {
            const bool inSquare = x >= 138 && x < 142 && y >= 48 && y < 52;
            if (inSquare)
                EXPECT_EQ(pane.GetPixel(x, y), kMarkColour) << x << "," << y;
            else
                EXPECT_NE(pane.GetPixel(x, y), kMarkColour) << x << "," << y;
        }
    EXPECT_EQ(pane.GetPixel(100, 30), 0u);                     // the line's end pixel
    EXPECT_EQ(pane.GetPixel(120, 40), kOrthoColours.Editable); // half-way
}

// The golden pictures below were checked by eye against the scene descriptions.

TEST(WireframeGolden, CubeAndPrismInPerspective)
{
    TpreviewObj model;
    AddCube(model, 5.0);
    // A triangular prism standing beside the cube, partly out of the pane.
    const VertexInput prism[6] = {Corner(-4, 8, -5), Corner(4, 8, -5), Corner(0, 20, -5),
                                  Corner(-4, 8, 12), Corner(4, 8, 12), Corner(0, 20, 12)};
    model.AddPolygonByCorners(0, {prism[0], prism[1], prism[2]});
    model.AddPolygonByCorners(0, {prism[3], prism[5], prism[4]});
    model.AddPolygonByCorners(0, {prism[0], prism[3], prism[4], prism[1]});
    model.AddPolygonByCorners(0, {prism[1], prism[4], prism[5], prism[2]});
    model.AddPolygonByCorners(0, {prism[2], prism[5], prism[3], prism[0]});
    const TVector camera = CameraAt(160, 120, -30, 20, 40.0);
    TCanvas pane(160, 120);
    pane.Clear(kBack);
    DrawModeZero(model, camera, pane);
    EXPECT_EQ(test::CompareImageWithGolden("wire_persp.png", pane), "");
}

TEST(WireframeGolden, ThreeOrthographicPanes)
{
    TpreviewObj selected;
    AddCube(selected, 2.0);
    TpreviewObj other;
    other.AddPolygonByCorners(0, {Corner(3, 0, -2), Corner(3, 4, -2), Corner(3, 2, 3)});
    other.AddPolygonByCorners(0, {Corner(3, 4, -2), Corner(6, 4, -2), Corner(3, 2, 3)});
    other.Vertices[2].Mark = true; // (3, 2, 3)
    const VertexInput centre = Corner(1, 1, 0);
    for (int view = 1; view <= 3; ++view) {
        TCanvas pane(120, 90);
        pane.Clear(kBack);
        TDrawScratch scratch;
        ClearDrawn(selected, scratch);
        DrawOrthoView(selected, scratch, view, pane, centre, true, 16.0, kOrthoColours);
        ClearDrawn(other, scratch);
        DrawOrthoView(other, scratch, view, pane, centre, false, 16.0, kOrthoColours);
        const std::string name = "wire_ortho_" + std::to_string(view) + ".png";
        EXPECT_EQ(test::CompareImageWithGolden(name, pane), "");
    }
}

} // namespace
} // namespace kalvo
