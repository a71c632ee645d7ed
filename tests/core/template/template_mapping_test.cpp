#include "core/template/map_template.h"
#include "core/template/template_mapping.h"
#include "tests/core/template/template_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace kalvo {
namespace {

using test::MakeUVModel;

// A unit UV square, one edge, enough for every mapping test.
TpreviewObj UnitModel() { return MakeUVModel({{0.0, 0.0}, {1.0, 1.0}}, {{0, 1}}); }

struct OrientationCase
{
    int Orientation;
    double TemplateX, TemplateY; // of (0.25, 0.75) on 640 x 480
    double ScreenX, ScreenY;     // of (0.25, 0.75) on 1024 x 768 at zoom 0.5
    double DeltaU, DeltaV;       // of a mouse move (64, 48) on 1024 x 768 at zoom 0.5
};

class OrientationTest : public testing::TestWithParam<OrientationCase>
{
};

TEST_P(OrientationTest, MapsAQuarterPointAndBack)
{
    const OrientationCase& c = GetParam();
    TpreviewObj model = UnitModel();
    TTemplateMapping mapping;
    mapping.Orientation = c.Orientation;
    ASSERT_TRUE(mapping.Setup(&model, 640, 480));
    const TTemplatePoint p = mapping.UVToTemplate(0.25, 0.75);
    EXPECT_DOUBLE_EQ(p.x, c.TemplateX);
    EXPECT_DOUBLE_EQ(p.y, c.TemplateY);
    const TUVPoint back = mapping.PixelToUV(c.TemplateX, c.TemplateY);
    EXPECT_DOUBLE_EQ(back.u, 0.25);
    EXPECT_DOUBLE_EQ(back.v, 0.75);

    ASSERT_TRUE(mapping.Setup(&model, 1024, 768));
    ASSERT_EQ(mapping.Zoom, 0.5);
    int x = 0, y = 0;
    mapping.ScreenPosition(0.25, 0.75, mapping.Zoom, x, y);
    EXPECT_EQ(x, c.ScreenX);
    EXPECT_EQ(y, c.ScreenY);
    const TUVPoint screenBack = mapping.PixelToUV(c.ScreenX, c.ScreenY);
    EXPECT_DOUBLE_EQ(screenBack.u, 0.25);
    EXPECT_DOUBLE_EQ(screenBack.v, 0.75);
    const TUVPoint delta = mapping.PixelDeltaToUV(64, 48);
    EXPECT_DOUBLE_EQ(delta.u, c.DeltaU);
    EXPECT_DOUBLE_EQ(delta.v, c.DeltaV);
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, OrientationTest,
                         testing::Values(OrientationCase{0, 160, 120, 128, 96, 0.125, -0.125},
                                         OrientationCase{1, 480, 120, 384, 96, 0.125, 0.125},
                                         OrientationCase{2, 480, 360, 384, 288, -0.125, 0.125},
                                         OrientationCase{3, 160, 360, 128, 288, -0.125, -0.125}));

TEST(TemplateSetup, HalvesTheZoomUntilTheTemplateFits640By480)
{
    const struct
    {
        int Width, Height;
        double Zoom;
    } cases[] = {{640, 480, 1.0},   {641, 480, 0.5},  {640, 481, 0.5}, {1024, 768, 0.5},
                 {2000, 100, 0.25}, {1280, 960, 0.5}, {1281, 1, 0.25}, {1, 1, 1.0}};
    TpreviewObj model = UnitModel();
    for (const auto& c : cases) {
        TTemplateMapping mapping;
        mapping.Zoom = 8.0; // setup starts again from 1
        ASSERT_TRUE(mapping.Setup(&model, c.Width, c.Height));
        EXPECT_EQ(mapping.Zoom, c.Zoom) << c.Width << " x " << c.Height;
    }
}

TEST(TemplateSetup, MeasuresFromTheModelsMinimum)
{
    TpreviewObj model = MakeUVModel({{0.0, 1.0}}, {}, 0.5, 2.0, -0.5, 0.0);
    TTemplateMapping mapping;
    ASSERT_TRUE(mapping.Setup(&model, 400, 200));
    EXPECT_EQ(mapping.UScale, 400.0);
    EXPECT_EQ(mapping.VScale, 100.0);
    const TTemplatePoint p = mapping.UVToTemplate(0.0, 1.0);
    EXPECT_EQ(p.x, 200.0);
    EXPECT_EQ(p.y, 100.0);
}

TEST(TemplateSetup, RefusesSizesBelowOneAndAboveTheLimitKeepingTheTemplate)
{
    TpreviewObj model = UnitModel();
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 48));
    for (const auto& [w, h] : {std::pair{0, 48}, {64, 0}, {-5, 10}, {kMaxTemplateSide + 1, 10}}) {
        EXPECT_FALSE(map.SetupTemplate(w, h));
        EXPECT_FALSE(map.ChangeSize(w, h));
    }
    EXPECT_EQ(map.Mapping().TemplateWidth, 64);
    EXPECT_EQ(map.Mapping().UScale, 64.0);
    EXPECT_EQ(map.Bitmap().Width(), 64);
    EXPECT_EQ(map.Bitmap().Height(), 48);
}

TEST(TemplateSetup, ScalesAZeroRangeAsIfItWereOne)
{
    // Every DXF model: u = v = 0 everywhere.
    TpreviewObj model = MakeUVModel({{0.0, 0.0}, {0.0, 0.0}}, {{0, 1}}, 0.0, 0.0);
    TTemplateMapping mapping;
    ASSERT_TRUE(mapping.Setup(&model, 640, 480));
    EXPECT_EQ(mapping.UScale, 640.0);
    EXPECT_EQ(mapping.VScale, 480.0);
    // The layout collapses onto one point...
    const TTemplatePoint p = mapping.UVToTemplate(0.0, 0.0);
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    // ...while the mouse mappings and the pick radius stay finite.
    EXPECT_DOUBLE_EQ(mapping.PickRadius(), 4.0 / 640.0);
    const TUVPoint uv = mapping.PixelToUV(64, 48);
    EXPECT_DOUBLE_EQ(uv.u, 0.1);
    EXPECT_DOUBLE_EQ(uv.v, -0.1);
    const TUVPoint d = mapping.PixelDeltaToUV(64, 48);
    EXPECT_TRUE(std::isfinite(d.u) && std::isfinite(d.v));
}

TEST(TemplateLayout, MatchingTheRatioGrowsTheSideOfTheSmallerScale)
{
    TpreviewObj model = UnitModel();
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(640, 480));
    map.TextureShown = true;
    ASSERT_TRUE(map.MatchRatio());
    EXPECT_EQ(map.Mapping().TemplateHeight, 640);
    EXPECT_EQ(map.Mapping().TemplateWidth, 640);
    EXPECT_EQ(map.Mapping().VScale, 640.0);
    EXPECT_EQ(map.Mapping().UScale, 640.0);
    EXPECT_EQ(map.Bitmap().Height(), 640);
    EXPECT_FALSE(map.TextureShown);

    ASSERT_TRUE(map.SetupTemplate(300, 500));
    ASSERT_TRUE(map.MatchRatio());
    EXPECT_EQ(map.Mapping().TemplateWidth, 500);
    EXPECT_EQ(map.Mapping().TemplateHeight, 500);
}

TEST(TemplateLayout, MatchingTheRatioOfAFlatModelIsRefused)
{
    // MaxV = 0 would make the template 0 pixels high.
    TpreviewObj model = MakeUVModel({{0.0, 0.0}, {1.0, 0.0}}, {{0, 1}}, 1.0, 0.0);
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(640, 480));
    map.TextureShown = true;
    EXPECT_FALSE(map.MatchRatio());
    EXPECT_EQ(map.Mapping().TemplateHeight, 480);
    EXPECT_TRUE(map.TextureShown);
}

} // namespace
} // namespace kalvo
