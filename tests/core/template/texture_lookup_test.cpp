#include "core/template/map_template.h"
#include "tests/core/template/template_test_support.h"

#include <gtest/gtest.h>
#include <limits>

namespace kalvo {
namespace {

using test::MakeUVModel;

// Every pixel of the bitmap holds its own position, so a sample tells where it was taken.
TColour At(int x, int y) { return static_cast<TColour>(x) | static_cast<TColour>(y) << 12; }

void PaintPositions(TMapTemplate& map)
{
    TCanvas picture(map.Bitmap().Width(), map.Bitmap().Height());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, At(x, y));
    map.LoadPicture(picture); // same size: copied as it is
}

struct Sample
{
    int Orientation;
    double U, V;
    int X, Y;
};

class TextureLookupTest : public testing::TestWithParam<Sample>
{
};

TEST_P(TextureLookupTest, SamplesThePixelTheTemplateDrawsThere)
{
    TpreviewObj model = MakeUVModel({{0.0, 0.0}, {1.0, 1.0}}, {{0, 1}});
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(640, 480));
    const Sample& s = GetParam();
    for (int turn = 0; turn < s.Orientation; ++turn)
        map.Rotate();
    PaintPositions(map);
    EXPECT_EQ(map.SampleTexture(s.U, s.V), At(s.X, s.Y)) << s.U << ", " << s.V;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, TextureLookupTest,
    testing::Values(Sample{0, 0.5, 0.5, 320, 240}, Sample{0, 0.0, 0.0, 0, 0},
                    Sample{0, 1.0, 1.0, 0, 0}, Sample{0, 0.25, 0.75, 160, 120},
                    Sample{1, 0.25, 0.75, 480, 120}, Sample{2, 0.25, 0.75, 480, 360},
                    Sample{3, 0.25, 0.75, 160, 360},
                    // Lifted across the seam: 1.05 continues at the left edge.
                    Sample{0, 1.05, 0.5, 32, 240}, Sample{0, -0.05, 1.25, 608, 360},
                    // Far outside the layout the lookup still wraps.
                    Sample{0, 5.25, -3.0, 160, 0}, Sample{0, -7.75, 0.5, 160, 240}));

TEST(TextureLookup, RoundsTemplatePositionsHalfToEven)
{
    TpreviewObj model = MakeUVModel({{0.0, 0.0}, {1.0, 1.0}}, {{0, 1}});
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(8, 8));
    PaintPositions(map);
    // u = 1/16 and 3/16 land on x = 0.5 and 1.5: pixels 0 and 2. v = 1 - 5/16 lands on y = 2.5.
    EXPECT_EQ(map.SampleTexture(0.0625, 1.0 - 0.3125), At(0, 2));
    EXPECT_EQ(map.SampleTexture(0.1875, 1.0 - 0.1875), At(2, 2));
}

TEST(TextureLookup, NeverReadsOutsideTheBitmap)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TpreviewObj model = MakeUVModel({{0.0, 0.0}, {0.0, 0.0}}, {{0, 1}}, 0.0, 0.0);
    TMapTemplate map;
    EXPECT_EQ(map.SampleTexture(0.5, 0.5), 0u); // not set up yet
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(3, 1));
    for (double u : {nan, inf, -inf, 1e300, -1e300, 12345.678})
        for (double v : {nan, inf, 0.0, -1e300})
            EXPECT_EQ(map.SampleTexture(u, v), 0xFFFFFFu);
}

TEST(TextureLookup, TransparencyNeedsTheSwitchAndTheExactColour)
{
    TMapTemplate map;
    map.TransparentColour = 0x00FF00;
    EXPECT_FALSE(map.IsTransparent(0x00FF00));
    map.Transparency = true;
    EXPECT_TRUE(map.IsTransparent(0x00FF00));
    EXPECT_FALSE(map.IsTransparent(0x00FE00));
}

TEST(TextureLookup, TheModelSeesTheTemplateOnlyWhileItExists)
{
    TpreviewObj model;
    {
        TMapTemplate map;
        map.SetModel(&model);
        EXPECT_EQ(model.TemplateWindow, &map);
    }
    EXPECT_EQ(model.TemplateWindow, nullptr);
}

} // namespace
} // namespace kalvo
