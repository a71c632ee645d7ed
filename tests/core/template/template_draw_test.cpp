#include "core/template/map_template.h"
#include "tests/core/template/template_test_support.h"
#include "tests/support/golden_image.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace kalvo {
namespace {

using test::CompareImageWithGolden;
using test::CountColour;
using test::MakeUVModel;

constexpr TColour kBack = 0xFFFFFF;
constexpr TColour kMesh = 0xFF0000;

// Columns of row y holding colour.
std::set<int> ColumnsOf(const TCanvas& canvas, int y, TColour colour)
{
    std::set<int> columns;
    for (int x = 0; x < canvas.Width(); ++x)
        if (canvas.GetPixel(x, y) == colour)
            columns.insert(x);
    return columns;
}

std::set<int> Range(int first, int last)
{
    std::set<int> values;
    for (int i = first; i <= last; ++i)
        values.insert(i);
    return values;
}

TEST(TemplateDrawing, DrawsAnEdgeAcrossTheUSeamFromBothSides)
{
    // 0.95 -> 0.05 becomes 0.95 -> 1.05 and -0.05 -> 0.05, never the long way across.
    TpreviewObj model = MakeUVModel({{0.95, 0.5}, {0.05, 0.5}}, {{0, 1}});
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(100, 100));
    EXPECT_EQ(ColumnsOf(map.Bitmap(), 50, kMesh),
              (std::set<int>{0, 1, 2, 3, 4, 95, 96, 97, 98, 99}));
    EXPECT_EQ(CountColour(map.Bitmap(), kMesh), 10);

    // Starting from the low end: 1.05 -> 0.95 (end pixel 95 excluded) and 0.05 -> -0.05.
    std::swap(model.Edges[0].StartVertex, model.Edges[0].EndVertex);
    map.RedrawBitmap();
    EXPECT_EQ(ColumnsOf(map.Bitmap(), 50, kMesh),
              (std::set<int>{0, 1, 2, 3, 4, 5, 96, 97, 98, 99}));
}

TEST(TemplateDrawing, DrawsAnEdgeAcrossTheVSeamFromBothSides)
{
    TpreviewObj model = MakeUVModel({{0.5, 0.9}, {0.5, 0.1}}, {{0, 1}});
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(100, 100));
    // v = 0.9 -> 1.1 runs from row 10 up to row -10; v = -0.1 -> 0.1 from row 110 to 90.
    std::set<int> rows;
    for (int y = 0; y < 100; ++y)
        if (map.Bitmap().GetPixel(50, y) == kMesh)
            rows.insert(y);
    std::set<int> expected = Range(0, 10);
    for (int y : Range(91, 99))
        expected.insert(y);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(CountColour(map.Bitmap(), kMesh), 20);
}

TEST(TemplateDrawing, DrawsTheOutlineOfALayoutThatFillsTheTemplateInside)
{
    // The square over the whole UV range: its sides at u = 1 and v = 0 map onto the column and
    // row just past the bitmap, and must still show on its last column and row, in every
    // orientation, on screen as in the bitmap. A planar projection lays it out so, without
    // seams (with them, the sides would be taken as running across the seam).
    TpreviewObj model =
        MakeUVModel({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 1}, {1, 2}, {2, 3}, {3, 0}});
    model.SeamU = model.SeamV = false;
    TMapTemplate map;
    map.Colours = {kBack, kMesh, kMesh, kMesh};
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 48));
    map.SetZoom(0.5);
    const auto expectOutline = [](const TCanvas& canvas, int orientation) {
        const int w = canvas.Width(), h = canvas.Height();
        int left = 0, right = 0, top = 0, bottom = 0;
        for (int y = 0; y < h; ++y) {
            left += canvas.GetPixel(0, y) == kMesh;
            right += canvas.GetPixel(w - 1, y) == kMesh;
        }
        for (int x = 0; x < w; ++x) {
            top += canvas.GetPixel(x, 0) == kMesh;
            bottom += canvas.GetPixel(x, h - 1) == kMesh;
        }
        // A line leaves out its end pixel; a corner may be missing from one of its two sides.
        EXPECT_GE(left, h - 1) << "orientation " << orientation;
        EXPECT_GE(right, h - 1) << "orientation " << orientation;
        EXPECT_GE(top, w - 1) << "orientation " << orientation;
        EXPECT_GE(bottom, w - 1) << "orientation " << orientation;
    };
    for (int orientation = 0; orientation < 4; ++orientation) {
        expectOutline(map.Bitmap(), orientation);
        TCanvas screen(map.ScreenWidth(), map.ScreenHeight());
        screen.Clear(kBack);
        map.DrawTemplateMesh(screen, false, map.Mapping().Zoom);
        expectOutline(screen, orientation);
        map.Rotate();
    }
}

// A small layout with a square and its diagonal, an edge across each seam, and a tail.
TpreviewObj GoldenLayout()
{
    return MakeUVModel({{0.125, 0.125},
                        {0.5, 0.125},
                        {0.5, 0.5},
                        {0.125, 0.5},
                        {0.875, 0.75},
                        {0.0625, 0.75},
                        {0.75, 0.9375},
                        {0.75, 0.0625},
                        {0.25, 0.875}},
                       {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {4, 5}, {6, 7}, {2, 8}, {8, 4}});
}

TEST(TemplateDrawing, DrawsTheLayoutInEachOrientation)
{
    TpreviewObj model = GoldenLayout();
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 48));
    for (int orientation = 0; orientation < 4; ++orientation) {
        const std::string name = "template_o" + std::to_string(orientation) + ".ppm";
        EXPECT_EQ(CompareImageWithGolden(name, map.Bitmap()), "");
        map.Rotate();
    }
}

TEST(TemplateDrawing, DrawsMarksAndMarkedEdgesOnScreenOnly)
{
    TpreviewObj model = GoldenLayout();
    model.Vertices[1].Mark = true;
    model.Edges[6].Mark = true;
    TMapTemplate map;
    map.Colours = {kBack, kMesh, 0x000000, 0x0000FF};
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 48));
    // Into the bitmap the marks do not show.
    TpreviewObj unmarked = GoldenLayout();
    TMapTemplate plain;
    plain.SetModel(&unmarked);
    ASSERT_TRUE(plain.SetupTemplate(64, 48));
    EXPECT_EQ(map.Bitmap().Pixels()[0], plain.Bitmap().Pixels()[0]);
    EXPECT_TRUE(std::equal(map.Bitmap().Pixels(), map.Bitmap().Pixels() + 64 * 48,
                           plain.Bitmap().Pixels()));

    TCanvas screen(128, 96);
    screen.Clear(kBack);
    map.DrawTemplateMesh(screen, false, 2.0);
    EXPECT_EQ(CompareImageWithGolden("template_screen.ppm", screen), "");
    // The square at vertex 1, (0.5, 0.125) -> (64, 84) at zoom 2: 62..65 x 82..85.
    for (int y = 82; y < 86; ++y)
        EXPECT_EQ(ColumnsOf(screen, y, 0x0000FF).count(61), 0u);
    EXPECT_EQ(screen.GetPixel(62, 82), 0x0000FFu);
    EXPECT_EQ(screen.GetPixel(65, 85), 0x0000FFu);
    EXPECT_NE(screen.GetPixel(66, 85), 0x0000FFu);
}

TEST(TemplateLayout, FourRotationsBringBackAPlainLayout)
{
    TpreviewObj model = GoldenLayout();
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 48));
    const std::vector<TColour> initial(map.Bitmap().Pixels(), map.Bitmap().Pixels() + 64 * 48);
    map.PenColour = 0x00FF00;
    map.SetPenWidth(16);
    map.PenStroke(10, 10, 50, 30);
    map.TextureShown = true;
    map.Rotate();
    EXPECT_EQ(map.Mapping().Orientation, 1);
    EXPECT_FALSE(map.TextureShown);
    EXPECT_EQ(CountColour(map.Bitmap(), 0x00FF00), 0); // the painting is gone
    EXPECT_FALSE(std::equal(initial.begin(), initial.end(), map.Bitmap().Pixels()));
    map.Rotate();
    map.Rotate();
    map.Rotate();
    EXPECT_EQ(map.Mapping().Orientation, 0);
    EXPECT_TRUE(std::equal(initial.begin(), initial.end(), map.Bitmap().Pixels()));
}

TEST(TemplateBitmap, PaintsRoundEndedStrokesInThePenColourAndWidth)
{
    TpreviewObj model;
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 48));
    EXPECT_FALSE(map.SetPenWidth(3));
    ASSERT_TRUE(map.SetPenWidth(8));
    map.PenColour = 0x123456;
    map.PenStroke(10, 20, 30, 20);
    EXPECT_EQ(map.BitmapPixel(20, 23), 0x123456u);
    EXPECT_EQ(map.BitmapPixel(20, 26), kBack);
    EXPECT_EQ(map.BitmapPixel(33, 20), 0x123456u); // the round end reaches past the end point
    EXPECT_EQ(map.BitmapPixel(34, 24), kBack);     // but not into a square's corner
    EXPECT_EQ(map.BitmapPixel(-1, 20), 0u);

    ASSERT_TRUE(map.SetPenWidth(1));
    map.PenStroke(0, 0, 5, 0);
    EXPECT_EQ(map.BitmapPixel(4, 0), 0x123456u);
    EXPECT_EQ(map.BitmapPixel(5, 0), kBack); // a one-pixel line leaves its end pixel
}

TEST(TemplateBitmap, StretchesAPictureSmoothlyOverTheWholeTemplate)
{
    TpreviewObj model;
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(4, 1));
    TCanvas picture(2, 1);
    picture.SetPixel(0, 0, 0);
    picture.SetPixel(1, 0, 255);
    map.LoadPicture(picture);
    EXPECT_TRUE(map.TextureShown);
    // Enlarging interpolates between neighbours: 0, 0.25, 0.75 and 1 of the way.
    const TColour enlarged[] = {0, 64, 191, 255};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(map.BitmapPixel(x, 0), enlarged[x]) << x;

    // Shrinking averages what each pixel covers: 3 -> 2 takes 1.5 source pixels each.
    ASSERT_TRUE(map.ChangeSize(2, 1));
    TCanvas three(3, 1);
    three.SetPixel(0, 0, 10 | 100 << 8);
    three.SetPixel(1, 0, 20 | 200 << 8);
    three.SetPixel(2, 0, 30 | 50 << 16);
    map.LoadPicture(three);
    EXPECT_EQ(map.BitmapPixel(0, 0), 13u | 133u << 8);
    EXPECT_EQ(map.BitmapPixel(1, 0), 27u | 67u << 8 | 33u << 16);
}

TEST(TemplateBitmap, APastedPictureFillsTheWholeTemplate)
{
    TpreviewObj model;
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(640, 480));
    TCanvas picture(100, 50);
    picture.FillRect(0, 0, 50, 50, 0x0000FF);
    picture.FillRect(50, 0, 100, 50, 0x00FF00);
    map.LoadPicture(picture);
    EXPECT_EQ(CountColour(map.Bitmap(), kBack), 0);
    for (int y : {0, 240, 479}) {
        EXPECT_EQ(map.BitmapPixel(0, y), 0x0000FFu);
        EXPECT_EQ(map.BitmapPixel(316, y), 0x0000FFu);
        EXPECT_EQ(map.BitmapPixel(323, y), 0x00FF00u);
        EXPECT_EQ(map.BitmapPixel(639, y), 0x00FF00u);
    }
}

} // namespace
} // namespace kalvo
