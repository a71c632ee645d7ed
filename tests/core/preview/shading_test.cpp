#include "core/preview/shading.h"
#include "core/preview/vector_math.h"
#include "core/preview/wireframe.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace kalvo {
namespace {

// A model whose polygons are given in model space (for the light) and whose projected
// corners are set by hand (screen column, row and depth), one projected point per corner in
// the order the corners were added.
struct TFlatScene
{
    TpreviewObj Model;
    TDrawScratch Scratch;
    TCanvas Pane;
    TDIB Bitmap;

    TFlatScene(int width, int height) : Pane(width, height)
    {
        Pane.Clear(0xFFFFFF);
        Bitmap.Allocate(width, height, true, true);
        Bitmap.ClearDepth();
    }

    // Corners in model space plus their screen positions and depths.
    int Add(TColour colour, const std::vector<VertexInput>& corners,
            const std::vector<VertexInput>& screen)
    {
        const int p = Model.AddPolygonByCorners(colour, corners);
        Scratch.Projected.resize(Model.Vertices.size());
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const int vertex = Model.AddVertex(corners[i]);
            TVecPointC& projected = Scratch.Projected[vertex];
            projected.x = screen[i].x;
            projected.y = screen[i].y;
            projected.z = screen[i].z;
        }
        return p;
    }
};

VertexInput P(double x, double y, double z) { return MakePoint(x, y, z); }

TEST(Shading, ChannelsScaleWithTheAngleToTheLight)
{
    struct TCase
    {
        VertexInput Normal;
        TColour Base;
        TColour Expected;
    };
    const double r2 = 1.0 / std::sqrt(2.0);
    const double r3 = 1.0 / std::sqrt(3.0);
    const TCase cases[] = {
        {P(0, 0, 1), 0x0080FF, 0x003264},       // angle 35.26 degrees: R 100, G 50, B 0
        {P(0, 0, -1), 0x0080FF, 0x003264},      // the back of a face is lit alike
        {P(r2, -r2, 0), 0xFFFFFF, 0x000000},    // contains the light direction: black
        {P(r3, r3, r3), 0x123456, 0x123456},    // faces the light: its own colour
        {P(-r3, -r3, -r3), 0xFFFFFF, 0xFFFFFF}, // c rounds a hair above 1: still full
        {P(0, 0, 1), 255, 100},                 // texture intensity: a shade of red
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ShadeColour(c.Normal, c.Base), c.Expected) << std::hex << c.Base;
}

TEST(Shading, BlendColourMixesChannelByChannel)
{
    EXPECT_EQ(BlendColour(0x102030, 0xFFFFFF, 0), 0x102030u);
    EXPECT_EQ(BlendColour(0x102030, 0xFFFFFF, 256), 0xFFFFFFu);
    // Half-way between 0 and 255 is 127.5, which rounds to the even 128.
    EXPECT_EQ(BlendColour(0x000000, 0xFFFFFF, 128), 0x808080u);
    // 1 - 0 = 1, 1/256 * 128 = 0.5 rounds to 0.
    EXPECT_EQ(BlendColour(0x000000, 0x010101, 128), 0x000000u);
}

TEST(Shading, FilledTriangleTakesTheShadedPolygonColour)
{
    TFlatScene scene(32, 32);
    const int p = scene.Add(0x0080FF, {P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)},
                            {P(2, 2, 5), P(20, 2, 5), P(2, 20, 5)});
    FillPolygon(scene.Model, scene.Scratch, p, false, scene.Pane, scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(5, 5), 0x003264u);
    EXPECT_FLOAT_EQ(static_cast<float>(scene.Bitmap.GetDepth(5, 5)), 5.0f);
    EXPECT_EQ(scene.Pane.GetPixel(25, 25), 0xFFFFFFu); // outside the triangle
    EXPECT_EQ(scene.Pane.GetPixel(2, 2), 0x003264u);   // corners are inside
    EXPECT_EQ(scene.Pane.GetPixel(20, 2), 0x003264u);
}

TEST(Shading, TexturePreviewWithoutTemplateDrawsShadesOfRed)
{
    TFlatScene scene(32, 32);
    scene.Scratch.TexturePreview = true;
    const int p = scene.Add(0x00FF00, {P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)},
                            {P(2, 2, 5), P(20, 2, 5), P(2, 20, 5)});
    FillPolygon(scene.Model, scene.Scratch, p, false, scene.Pane, scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(5, 5), 100u);
}

TEST(Shading, FirstPolygonDrawnAtADepthKeepsThePixel)
{
    TFlatScene scene(32, 32);
    const std::vector<VertexInput> screen{P(2, 2, 5), P(20, 2, 5), P(2, 20, 5)};
    const int first = scene.Add(0x0000FF, {P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)}, screen);
    const int second = scene.Add(0x00FF00, {P(0, 0, 1), P(1, 0, 1), P(0, 1, 1)}, screen);
    FillPolygon(scene.Model, scene.Scratch, first, false, scene.Pane, scene.Bitmap);
    FillPolygon(scene.Model, scene.Scratch, second, false, scene.Pane, scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(5, 5), ShadeColour(P(0, 0, 1), 0x0000FF));
}

TEST(Shading, PolygonsThatCannotBeFilledLeaveThePaneAlone)
{
    TFlatScene scene(32, 32);
    // A pentagon is never filled; its edges still are drawn.
    const int pentagon =
        scene.Add(0xFF0000, {P(0, 0, 0), P(1, 0, 0), P(2, 1, 0), P(1, 2, 0), P(0, 1, 0)},
                  {P(2, 2, 5), P(12, 2, 5), P(20, 10, 5), P(12, 20, 5), P(2, 12, 5)});
    // A triangle with a corner behind the eye is not drawn at all.
    const int behind = scene.Add(0xFF0000, {P(5, 5, 5), P(6, 5, 5), P(5, 6, 5)},
                                 {P(2, 2, 5), P(30, 2, -1), P(2, 30, 5)});
    FillPolygon(scene.Model, scene.Scratch, pentagon, false, scene.Pane, scene.Bitmap);
    FillPolygon(scene.Model, scene.Scratch, behind, false, scene.Pane, scene.Bitmap);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(scene.Pane.GetPixel(x, y), 0xFFFFFFu) << x << "," << y;

    ClearDrawn(scene.Model, scene.Scratch);
    DrawPolygonEdges(scene.Model, scene.Scratch, pentagon, false, false, scene.Pane, scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(7, 2), 0u); // on the top side, in WireColour (black)
}

TEST(Shading, TallPanesFillFromFreshRowsOnly)
{
    // Rows past 1024 once kept the spans of earlier polygons.
    TFlatScene scene(40, 1200);
    const int wide = scene.Add(0x0000FF, {P(0, 0, 0), P(1, 0, 0), P(0, 1, 0)},
                               {P(5, 1100, 9), P(30, 1100, 9), P(5, 1150, 9)});
    const int narrow = scene.Add(0x00FF00, {P(0, 0, 1), P(1, 0, 1), P(0, 1, 1)},
                                 {P(0, 1100, 1), P(3, 1100, 1), P(0, 1150, 1)});
    FillPolygon(scene.Model, scene.Scratch, wide, false, scene.Pane, scene.Bitmap);
    FillPolygon(scene.Model, scene.Scratch, narrow, false, scene.Pane, scene.Bitmap);
    const TColour wideColour = ShadeColour(P(0, 0, 1), 0x0000FF);
    EXPECT_EQ(scene.Pane.GetPixel(20, 1105), wideColour);
    EXPECT_EQ(scene.Pane.GetPixel(1, 1101), ShadeColour(P(0, 0, 1), 0x00FF00));
    // Every row is empty again after the polygon's own rows were reset.
    ResetSpans(scene.Scratch, 1200);
    for (const SpanRow& row : scene.Scratch.SpanTable)
        ASSERT_EQ(row.Left, -1);
}

TEST(Shading, SpanRowsTakeOnlyColumnsOutsideTheSpanSoFar)
{
    TDrawScratch scratch;
    ResetSpans(scratch, 20);
    // Horizontal edge: one row, Left and Right at its ends.
    ScanEdge(scratch, P(3, 5, 1), P(9, 5, 2), 20, 20);
    EXPECT_EQ(scratch.SpanTable[5].Left, 3);
    EXPECT_EQ(scratch.SpanTable[5].Right, 9);
    EXPECT_NEAR(scratch.SpanTable[5].RightDepth, 2.0, 1e-12);
    // A second edge inside the span changes nothing; one reaching further moves that end.
    ScanEdge(scratch, P(4, 5, 7), P(8, 5, 7), 20, 20);
    EXPECT_EQ(scratch.SpanTable[5].Left, 3);
    EXPECT_DOUBLE_EQ(scratch.SpanTable[5].LeftDepth, 1.0);
    ScanEdge(scratch, P(1, 5, 7), P(2, 5, 7), 20, 20);
    EXPECT_EQ(scratch.SpanTable[5].Left, 1);
    EXPECT_DOUBLE_EQ(scratch.SpanTable[5].LeftDepth, 7.0);
    // Columns beyond the pane enter at its border columns.
    ScanEdge(scratch, P(-5, 8, 1), P(-5, 12, 1), 20, 20);
    ScanEdge(scratch, P(23, 8, 1), P(23, 12, 1), 20, 20);
    EXPECT_EQ(scratch.SpanTable[10].Left, 0);
    EXPECT_EQ(scratch.SpanTable[10].Right, 19);
    EXPECT_EQ(scratch.FirstRow, 5);
    EXPECT_EQ(scratch.LastRow, 12);
}

TEST(Shading, DepthLinesPassWithinTheirTolerance)
{
    TFlatScene scene(20, 10);
    for (int x = 0; x < 20; ++x)
        scene.Bitmap.SetDepth(x, 2, 10.0);
    for (int x = 0; x < 20; ++x)
        scene.Bitmap.SetDepth(x, 6, 10.0);
    DrawDepthLine(scene.Scratch, P(0, 2, 10.005), P(19, 2, 10.005), false, false, 0x0000FF,
                  scene.Pane, scene.Bitmap);
    DrawDepthLine(scene.Scratch, P(0, 6, 10.02), P(19, 6, 10.02), false, false, 0x0000FF,
                  scene.Pane, scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(10, 2), 0x0000FFu);
    EXPECT_EQ(scene.Pane.GetPixel(10, 6), 0xFFFFFFu);
}

TEST(Shading, DepthCueFadesFromLineColourToBackground)
{
    TFlatScene scene(20, 10);
    scene.Scratch.NearDepth = 10.0;
    scene.Scratch.FarDepth = 20.0;
    scene.Scratch.BackColour = 0xFFFFFF;
    const double depths[3] = {10.0, 15.0, 20.0};
    const TColour expected[3] = {0x000000, 0x808080, 0xFFFFFF};
    for (int i = 0; i < 3; ++i) {
        DrawDepthLine(scene.Scratch, P(0, 2 * i, depths[i]), P(19, 2 * i, depths[i]), false, true,
                      0x000000, scene.Pane, scene.Bitmap);
        EXPECT_EQ(scene.Pane.GetPixel(7, 2 * i), expected[i]) << depths[i];
    }
    // A model at one single depth has no range to fade along: lines keep their colour.
    scene.Scratch.FarDepth = scene.Scratch.NearDepth;
    DrawDepthLine(scene.Scratch, P(0, 8, 10.0), P(19, 8, 10.0), false, true, 0x00FF00, scene.Pane,
                  scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(7, 8), 0x00FF00u);
}

TEST(Shading, WideLinesReachTheRightEdgeOfWidePanes)
{
    TFlatScene scene(1500, 12);
    DrawDepthLine(scene.Scratch, P(0, 3, 1), P(1499, 5, 1), false, false, 0, scene.Pane,
                  scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(1300, 5), 0u);
    EXPECT_EQ(scene.Pane.GetPixel(1499, 5), 0u);
    // A line from far outside the pane lands on the same pixels as its visible part.
    DrawDepthLine(scene.Scratch, P(-1000000, 9, 1), P(1000000, 9, 1), false, false, 0x0000FF,
                  scene.Pane, scene.Bitmap);
    EXPECT_EQ(scene.Pane.GetPixel(0, 9), 0x0000FFu);
    EXPECT_EQ(scene.Pane.GetPixel(1499, 9), 0x0000FFu);
}

TEST(Shading, BuildDrawOrderSortsNearestFirstAndFindsTheDepthRange)
{
    TFlatScene scene(32, 32);
    const double depths[4] = {30.0, 10.0, 20.0, 12.5};
    for (int i = 0; i < 4; ++i) {
        const double z = depths[i];
        scene.Add(static_cast<TColour>(i), {P(i, 0, 0), P(i, 1, 0), P(i, 0, 1)},
                  {P(1, 1, z), P(5, 1, z + 1), P(1, 5, z + 2)});
    }
    BuildDrawOrder(scene.Model, scene.Scratch);
    ASSERT_EQ(scene.Scratch.DrawOrderCount, 4);
    // Keys are four times the mean corner depth (every corner counted twice over three sides).
    const int keys[4] = {44, 54, 84, 124};
    const TColour colours[4] = {1, 3, 2, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(scene.Model.Polygons[i].DepthKey, keys[i]);
        EXPECT_EQ(scene.Model.Polygons[i].colour, colours[i]);
    }
    EXPECT_DOUBLE_EQ(scene.Scratch.NearDepth, 10.0);
    EXPECT_DOUBLE_EQ(scene.Scratch.FarDepth, 32.0);
    EXPECT_FALSE(scene.Scratch.DepthRangeSet);
}

} // namespace
} // namespace kalvo
