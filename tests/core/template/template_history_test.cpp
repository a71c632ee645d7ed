// Undo and redo of the map template: what each step restores, and what the bound drops.

#include "core/template/map_template.h"
#include "core/template/template_history.h"
#include "tests/core/template/template_test_support.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace kalvo {
namespace {

using test::MakeUVModel;

std::vector<std::uint32_t> PixelsOf(const TCanvas& canvas)
{
    return {canvas.Pixels(), canvas.Pixels() + canvas.Width() * canvas.Height()};
}

struct TemplateHistory : ::testing::Test
{
    TemplateHistory() : model(MakeUVModel({{0.1, 0.1}, {0.9, 0.1}, {0.5, 0.9}}, {{0, 1}, {1, 2}}))
    {
        map.SetModel(&model);
        map.SetupTemplate(200, 100);
    }
    TpreviewObj model;
    TMapTemplate map;
    TTemplateHistory history{map};
};

TEST_F(TemplateHistory, StrokesAcrossManyTilesComeBackPixelForPixel)
{
    ASSERT_TRUE(map.ChangeSize(640, 480));
    const std::vector<std::uint32_t> before = PixelsOf(map.Bitmap());
    map.PenWidth = 16;
    history.BeginBitmapChange();
    map.TextureShown = true;
    for (const auto& [x0, y0, x1, y1] : {std::array{-20, 50, 190, 60}, std::array{190, 60, 100, 99},
                                         std::array{100, 99, 100, 0}}) {
        history.BeforeBitmapChange(map.StrokeBounds(x0, y0, x1, y1));
        map.PenStroke(x0, y0, x1, y1);
    }
    history.EndBitmapChange();
    const std::vector<std::uint32_t> after = PixelsOf(map.Bitmap());
    ASSERT_NE(before, after);
    // Only the tiles the stroke crossed were saved, not the whole picture.
    EXPECT_LT(history.Bytes(), before.size() * 4);

    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(PixelsOf(map.Bitmap()), before);
    EXPECT_FALSE(map.TextureShown);
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(PixelsOf(map.Bitmap()), after);
    EXPECT_TRUE(map.TextureShown);
}

TEST_F(TemplateHistory, UVStepsRestoreExactlyAndLeaveThePictureAlone)
{
    model.Vertices[1].Mark = true;
    history.BeginUVChange();
    map.MoveMarked(0.1 / 3, -0.7);
    map.MoveMarked(1e-17, 0.0); // too small to change u: not part of the step
    ASSERT_TRUE(history.EndUVChange());
    history.BeginUVChange();
    EXPECT_FALSE(history.EndUVChange()); // nothing moved: no step

    map.TextureShown = true;
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(model.Vertices[1].u, 0.9);
    EXPECT_EQ(model.Vertices[1].v, 0.1);
    EXPECT_TRUE(map.TextureShown);
    EXPECT_FALSE(history.Undo());
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(model.Vertices[1].u, 0.9 + 0.1 / 3);
}

TEST_F(TemplateHistory, WholeStepsBringBackSizeLayoutAndPicture)
{
    const std::vector<std::uint32_t> before = PixelsOf(map.Bitmap());
    history.RecordWholeTemplate();
    ASSERT_TRUE(map.ChangeSize(64, 640));
    history.RecordWholeTemplate();
    map.Rotate();
    // A new edit after an undo drops what could have been redone.
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(map.Mapping().Orientation, 0);
    history.RecordWholeTemplate();
    map.Rotate();
    history.RecordWholeTemplate();
    map.Rotate();
    EXPECT_FALSE(history.Redo());

    while (history.Undo()) {
    }
    EXPECT_EQ(map.Mapping().TemplateWidth, 200);
    EXPECT_EQ(map.Mapping().Orientation, 0);
    EXPECT_EQ(PixelsOf(map.Bitmap()), before);
}

TEST_F(TemplateHistory, KeepsWithinItsBoundDroppingTheOldest)
{
    const std::size_t picture = 200 * 100 * 4;
    TTemplateHistory bounded(map, 3 * picture + picture / 2);
    for (int i = 0; i < 6; ++i) {
        bounded.RecordWholeTemplate();
        map.Rotate();
    }
    EXPECT_EQ(bounded.Steps(), 3u);
    EXPECT_LE(bounded.Bytes(), 3 * picture + picture / 2);
    int undone = 0;
    while (bounded.Undo())
        ++undone;
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(map.Mapping().Orientation, 3); // the three oldest quarter turns stay done

    // A step larger than the whole bound cannot be kept: the history empties.
    TTemplateHistory tiny(map, picture / 2);
    tiny.RecordWholeTemplate();
    EXPECT_EQ(tiny.Steps(), 0u);
    EXPECT_FALSE(tiny.Undo());
}

} // namespace
} // namespace kalvo
