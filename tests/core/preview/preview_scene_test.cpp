#include "core/preview/preview_scene.h"
#include "core/preview/vector_math.h"
#include "tests/support/golden_image.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kalvo {
namespace {

// --- Scenes --------------------------------------------------------------------------------

VertexInput P(double x, double y, double z) { return MakePoint(x, y, z); }

// A unit cube with six differently coloured faces, marked at one corner, and a tilted
// triangle cutting into it: enough to show hiding, shading, shared edges and depth cue.
std::unique_ptr<TpreviewObj> MakeCubeScene()
{
    auto model = std::make_unique<TpreviewObj>();
    const VertexInput c[8] = {P(-1, -1, -1), P(1, -1, -1), P(1, 1, -1), P(-1, 1, -1),
                              P(-1, -1, 1),  P(1, -1, 1),  P(1, 1, 1),  P(-1, 1, 1)};
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const TColour colours[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00};
    for (int f = 0; f < 6; ++f)
        model->AddPolygonByCorners(
            colours[f], {c[faces[f][0]], c[faces[f][1]], c[faces[f][2]], c[faces[f][3]]});
    model->AddPolygonByCorners(0xFFFFFF, {P(0, -2, -0.5), P(2.5, 0, 0.5), P(0, 2, 1.8)});
    model->Vertices[6].Mark = true;
    return model;
}

struct TSceneFixture
{
    TModelList Models;
    TpreviewObj* Model = nullptr;
    TPreviewScene Scene;

    explicit TSceneFixture(int view, int width = 160, int height = 120)
    {
        TModelEntry& entry = Models.Add(MakeCubeScene());
        entry.Selected = true;
        Model = entry.Model.get();
        Scene.Models = &Models;
        Scene.View.ActiveView = view;
        Scene.View.ViewAngleH = 30;
        Scene.View.ViewAngleV = 25;
        Scene.View.ViewDistance = 9.0;
        Scene.View.OrthoZoom = 6.0;
        Scene.View.CursorPoint = P(0.5, 0.25, -0.5);
        ApplyView(Scene.View, Scene.Camera);
        Scene.Layout(width + 8, height + 8);
    }
};

struct TPerspectiveCase
{
    int Mode;
    bool Buffered;
    bool Texture;
    const char* Golden;
};

class PerspectivePane : public testing::TestWithParam<TPerspectiveCase>
{
};

TEST_P(PerspectivePane, MatchesTheGoldenPicture)
{
    const TPerspectiveCase& c = GetParam();
    TSceneFixture fixture(0);
    TPreviewScene& scene = fixture.Scene;
    scene.Settings.FrameMode = scene.Settings.FlatFrameMode = scene.Settings.FlatMode =
        c.Buffered ? 1 : 0;
    scene.TexturePreview = c.Texture;
    scene.DisplayMode = c.Mode;
    scene.PrepareBuffer(c.Mode);
    scene.RedrawView(0, c.Mode);
    scene.FinishFill();
    EXPECT_FALSE(scene.ProgressPending);
    EXPECT_EQ(test::CompareImageWithGolden(c.Golden, scene.Pane(0)), "");
}

INSTANTIATE_TEST_SUITE_P(
    EveryModeAndPath, PerspectivePane,
    testing::Values(TPerspectiveCase{0, false, false, "scene_persp_mode0.png"},
                    TPerspectiveCase{1, false, false, "scene_persp_mode1_direct.png"},
                    TPerspectiveCase{1, true, false, "scene_persp_mode1_buffered.png"},
                    TPerspectiveCase{2, false, false, "scene_persp_mode2_direct.png"},
                    TPerspectiveCase{2, true, false, "scene_persp_mode2_buffered.png"},
                    TPerspectiveCase{3, false, false, "scene_persp_mode3_direct.png"},
                    TPerspectiveCase{3, true, false, "scene_persp_mode3_buffered.png"},
                    TPerspectiveCase{3, false, true, "scene_persp_mode3_texture.png"}));

class OrthographicPane : public testing::TestWithParam<int>
{
};

TEST_P(OrthographicPane, MatchesTheGoldenPicture)
{
    const int view = GetParam();
    TSceneFixture fixture(view);
    fixture.Scene.RedrawView(view, 0);
    const char* const names[4] = {"", "scene_top.png", "scene_side.png", "scene_face.png"};
    EXPECT_EQ(test::CompareImageWithGolden(names[view], fixture.Scene.Pane(view)), "");
}

INSTANTIATE_TEST_SUITE_P(EveryFlatView, OrthographicPane, testing::Values(1, 2, 3));

// --- Layout --------------------------------------------------------------------------------

TEST(PreviewLayout, SplitAndThreeViewPanesOfA600By300Area)
{
    TPreviewScene scene;
    scene.SplitView = 1;
    scene.Layout(600, 300);
    const TPaneLayout& split = scene.Panes();
    EXPECT_EQ(split.Pane[0], (TPaneRect{300, 0, 300, 150}));
    EXPECT_EQ(split.Pane[1], (TPaneRect{0, 0, 300, 150}));
    EXPECT_EQ(split.Pane[2], (TPaneRect{0, 150, 300, 150}));
    EXPECT_EQ(split.Pane[3], (TPaneRect{300, 150, 300, 150}));
    EXPECT_EQ(scene.Pane(0).Width(), 292);
    EXPECT_EQ(scene.Pane(0).Height(), 142);
    EXPECT_EQ(scene.Camera.ViewWidth, 292);
    EXPECT_EQ(scene.Bitmap.Width(), 292);
    EXPECT_EQ(scene.Bitmap.Height(), 140);

    scene.ThreeView = true;
    scene.View.ActiveView = 2;
    scene.Layout(600, 300);
    const TPaneLayout& three = scene.Panes();
    EXPECT_FALSE(three.Shown[0]);
    EXPECT_EQ(three.Pane[2], (TPaneRect{0, 0, 400, 300}));
    EXPECT_EQ(three.Pane[1], (TPaneRect{400, 0, 200, 150}));
    EXPECT_EQ(three.Pane[3], (TPaneRect{400, 150, 200, 150}));

    // A single pane fills the area; selecting another view re-lays it out.
    TPreviewScene single;
    single.Layout(600, 300);
    EXPECT_TRUE(single.Panes().Shown[0]);
    EXPECT_FALSE(single.Panes().Shown[1]);
    EXPECT_TRUE(single.SelectView(3));
    EXPECT_TRUE(single.Panes().Shown[3]);
    EXPECT_EQ(single.Panes().Pane[3], (TPaneRect{0, 0, 600, 300}));
    EXPECT_EQ(single.ZoomLabelPosition().x, 11);
    EXPECT_EQ(single.ZoomLabelPosition().y, 300 - 17);
}

// --- Cross-hair ----------------------------------------------------------------------------

TEST(CrossHair, TopPaneDashesTheLineOfTheOtherActiveViewAndErasesCleanly)
{
    TPreviewScene scene;
    scene.SplitView = 1;
    scene.View.ActiveView = 3;
    scene.Layout(208, 208); // 104 x 104 panes, 96 x 96 paint boxes
    scene.RedrawView(1, 0);
    const TCanvas& top = scene.Pane(1);
    const TColour back = scene.Settings.BackColor;
    const TColour inverted = back ^ 0xFFFFFF;
    // Vertical line at column 48, dashed: rows 0-2 inverted, row 3 not, and so on.
    for (int row = 0; row < 12; ++row)
        EXPECT_EQ(top.GetPixel(48, row), row % 4 == 3 ? back : inverted) << row;
    // Horizontal line at row 48, solid.
    EXPECT_EQ(top.GetPixel(3, 48), inverted);

    // Moving the cursor erases the old lines, even after the active view changed.
    scene.View.ActiveView = 1;
    scene.SetCursorPoint(P(1, 1, 0)); // scale 9.6 px per unit: column 58, row 58
    EXPECT_EQ(top.GetPixel(48, 3), back);
    EXPECT_EQ(top.GetPixel(48, 1), back);
    EXPECT_EQ(top.GetPixel(58, 3), inverted);
    EXPECT_EQ(top.GetPixel(3, 58), inverted);
    EXPECT_EQ(scene.View.CursorPoint.x, 1.0);
}

// --- Progressive filling --------------------------------------------------------------------

TEST(ProgressiveFill, StopsWhenTheBudgetIsSpentCheckingEvery16Passes)
{
    TSceneFixture fixture(0);
    TPreviewScene& scene = fixture.Scene;
    // A strip of 40 small triangles.
    for (int i = 0; i < 40; ++i)
        fixture.Model->AddPolygonByCorners(
            0x808080, {P(2, i * 0.1, 0), P(2, i * 0.1 + 0.1, 0), P(2, i * 0.1, 0.1)});
    std::int64_t now = 0;
    scene.Clock = [&now] { return now += 60; };
    scene.DisplayMode = 3;
    scene.PrepareBuffer(3);
    scene.RedrawView(0, 3);
    ASSERT_TRUE(scene.ProgressPending);
    EXPECT_EQ(scene.DeferredMode, 3);
    // The clock reads 60 ms further on each look: at pass 0 (60 ms) the budget holds, at pass
    // 16 (120 ms) it is spent, so 17 polygons are filled per tick.
    scene.FillStep();
    EXPECT_EQ(scene.ProgressIndex, 17);
    scene.FillStep();
    EXPECT_EQ(scene.ProgressIndex, 34);
    EXPECT_TRUE(scene.ProgressPending);
    scene.FillStep();
    EXPECT_FALSE(scene.ProgressPending);
    EXPECT_EQ(scene.ProgressIndex, fixture.Model->PolygonCount());
    EXPECT_FALSE(scene.FillStep());

    // Filled in slices, the frame ends up as it does when filled in one go.
    TSceneFixture reference(0);
    for (int i = 0; i < 40; ++i)
        reference.Model->AddPolygonByCorners(
            0x808080, {P(2, i * 0.1, 0), P(2, i * 0.1 + 0.1, 0), P(2, i * 0.1, 0.1)});
    reference.Scene.DisplayMode = 3;
    reference.Scene.PrepareBuffer(3);
    reference.Scene.RedrawView(0, 3);
    reference.Scene.FinishFill();
    const TCanvas& a = scene.Pane(0);
    const TCanvas& b = reference.Scene.Pane(0);
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
}

// The object window may delete or add models while a frame is being filled; the fill goes on
// with the models still listed that the frame projected.
TEST(ProgressiveFill, ModelsDeletedOrAddedDuringTheFillAreLeftAlone)
{
    TSceneFixture fixture(0);
    TPreviewScene& scene = fixture.Scene;
    fixture.Models.Add(MakeCubeScene());
    scene.DisplayMode = 3;
    scene.PrepareBuffer(3);
    scene.RedrawView(0, 3);
    ASSERT_TRUE(scene.ProgressPending);
    fixture.Models.RemoveAt(0);
    fixture.Models.Add(MakeCubeScene());
    scene.FinishFill();
    EXPECT_FALSE(scene.ProgressPending);
    EXPECT_EQ(scene.ProgressIndex, fixture.Models[0].Model->PolygonCount());
}

TEST(ProgressiveFill, RedrawInModeTwoDrawsTheEdgesOnceFilled)
{
    TSceneFixture fixture(0);
    TPreviewScene& scene = fixture.Scene;
    scene.DisplayMode = 2;
    scene.PrepareBuffer(2);
    scene.RedrawView(0, 2);
    ASSERT_TRUE(scene.ProgressPending);
    const TCanvas before = scene.Pane(0);
    scene.FinishFill();
    // Edges go over the fill: some pixels now have the line colour (black) where the faces
    // had been filled.
    int black = 0;
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x)
            black += scene.Pane(0).GetPixel(x, y) == 0 && before.GetPixel(x, y) != 0;
    EXPECT_GT(black, 100);
}

} // namespace
} // namespace kalvo
