#include "core/preview/camera.h"
#include "core/preview/ortho.h"
#include "core/preview/vector_math.h"
#include "core/preview/view_state.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace kalvo {
namespace {

TVector CameraFor400x300()
{
    TVector camera;
    InitialiseCamera(camera, 400, 300);
    return camera;
}

TEST(RoundHalfEven, RoundsHalvesToEvenAndSaturates)
{
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(-2.5001), -3);
    EXPECT_EQ(RoundHalfEven(1e300), kCoordLimit);
    EXPECT_EQ(RoundHalfEven(-INFINITY), -kCoordLimit);
    EXPECT_EQ(RoundHalfEven(NAN), 0);
}

TEST(Camera, ScaleFitsTheShorterSideAndFollowsTheDistance)
{
    TVector camera = CameraFor400x300();
    // 150 / (tan 22.5 deg * 50) = 150 / 20.7107 = 7.2426
    EXPECT_NEAR(camera.Scale, 7.242640687, 1e-9);

    int ox = 0, oy = 0;
    camera.ProjectPoint(MakePoint(0.0, 10.0, 0.0), ox, oy);
    EXPECT_EQ(ox, 72); // 72.43
    EXPECT_EQ(oy, 0);

    camera.SetDistance(100.0);
    EXPECT_NEAR(camera.Scale, 7.242640687 / 2.0, 1e-9);
    camera.ProjectPoint(MakePoint(0.0, 10.0, 0.0), ox, oy);
    EXPECT_EQ(ox, 36); // 36.21
}

TEST(Camera, ResizingFollowsTheShorterSide)
{
    TVector camera = CameraFor400x300();
    TViewState state;
    ResizeCamera(state, camera, 200, 600); // now the width is the shorter side
    EXPECT_NEAR(camera.Scale, 7.242640687 * 100.0 / 150.0, 1e-9);
}

TEST(Camera, IgnoresDistancesThatAreNotPositive)
{
    TVector camera = CameraFor400x300();
    const double scale = camera.Scale;
    camera.SetDistance(0.0);
    camera.SetDistance(-5.0);
    EXPECT_EQ(camera.Distance, 50.0);
    EXPECT_EQ(camera.Scale, scale);
}

TEST(Camera, ProjectsTheTargetToTheCentreAtTheEyeDistance)
{
    TVector camera = CameraFor400x300();
    camera.SetTarget(MakePoint(1.0, 2.0, 3.0));
    int ox = 9, oy = 9;
    EXPECT_DOUBLE_EQ(camera.ProjectPoint(MakePoint(1.0, 2.0, 3.0), ox, oy), 50.0);
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);
}

TEST(Camera, PutsPointsAtOrBehindTheEyeOnTheCentre)
{
    TVector camera = CameraFor400x300(); // eye at (50, 0, 0)
    int ox = 9, oy = 9;
    EXPECT_DOUBLE_EQ(camera.ProjectPoint(MakePoint(50.0, 10.0, 10.0), ox, oy), 0.0);
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);
    EXPECT_LT(camera.ProjectPoint(MakePoint(60.0, 10.0, 10.0), ox, oy), 0.0);
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);
}

// Where the +X, +Y and +Z unit directions (10 units from the target) land on screen for each
// fixed viewpoint: sign of the offset to the right and up.
struct ViewpointCase
{
    const char* Caption;
    int XRight, XUp, YRight, YUp, ZRight, ZUp;
};

class FixedViewpoint : public testing::TestWithParam<ViewpointCase>
{
};

TEST_P(FixedViewpoint, OrientsTheAxesAsItsNameSays)
{
    const ViewpointCase& c = GetParam();
    TViewState state;
    TVector camera = CameraFor400x300();
    const TFixedViewpoint* found = nullptr;
    for (const TFixedViewpoint& viewpoint : FixedViewpoints())
        if (std::string(viewpoint.Caption) == c.Caption)
            found = &viewpoint;
    ASSERT_NE(found, nullptr);
    ApplyFixedViewpoint(state, camera, *found);
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    int ox = 0, oy = 0;
    camera.ProjectPoint(MakePoint(10, 0, 0), ox, oy);
    EXPECT_EQ(sign(ox), c.XRight) << "x";
    EXPECT_EQ(sign(oy), c.XUp) << "x";
    camera.ProjectPoint(MakePoint(0, 10, 0), ox, oy);
    EXPECT_EQ(sign(ox), c.YRight) << "y";
    EXPECT_EQ(sign(oy), c.YUp) << "y";
    camera.ProjectPoint(MakePoint(0, 0, 10), ox, oy);
    EXPECT_EQ(sign(ox), c.ZRight) << "z";
    EXPECT_EQ(sign(oy), c.ZUp) << "z";
}

INSTANTIATE_TEST_SUITE_P(Viewpoints, FixedViewpoint,
                         testing::Values(ViewpointCase{"正面", -1, 0, 0, 0, 0, 1},
                                         ViewpointCase{"左", 0, 0, 1, 0, 0, 1},
                                         ViewpointCase{"右", 0, 0, -1, 0, 0, 1},
                                         ViewpointCase{"上", 0, -1, 1, 0, 0, 0},
                                         ViewpointCase{"下", 0, 1, 1, 0, 0, 0},
                                         ViewpointCase{"背面", 1, 0, 0, 0, 0, 1}));

TEST(ViewCommands, TargetTheOriginKeepsAnglesAndDistance)
{
    TViewState state;
    state.ViewAngleH = 30;
    state.ViewDistance = 80.0;
    state.ViewTarget = MakePoint(5, 6, 7);
    TVector camera = CameraFor400x300();
    ApplyView(state, camera);
    TargetOrigin(state, camera);
    EXPECT_EQ(state.ViewTarget.x, 0.0);
    EXPECT_EQ(camera.Target[2], 0.0);
    EXPECT_EQ(camera.Distance, 80.0);
    EXPECT_DOUBLE_EQ(camera.SinA, std::sin(-30.0 * M_PI / 180.0));
}

TEST(ViewCommands, CentreOnBoxesMovesTheTargetOrTheOrthographicCentre)
{
    const TBox boxes[] = {{0, 2, -4, 0, 1, 1}, {-2, 1, 0, 8, 3, 5}};
    TViewState state;
    TVector camera = CameraFor400x300();
    EXPECT_EQ(CentreOnBoxes(state, camera, boxes), TViewChange::Perspective);
    EXPECT_EQ(state.ViewTarget.x, 0.0); // -2 .. 2
    EXPECT_EQ(state.ViewTarget.y, 2.0); // -4 .. 8
    EXPECT_EQ(state.ViewTarget.z, 3.0); // 1 .. 5
    EXPECT_EQ(camera.Target[1], 2.0);

    TViewState ortho;
    ortho.ActiveView = 2;
    EXPECT_EQ(CentreOnBoxes(ortho, camera, boxes), TViewChange::Ortho);
    EXPECT_EQ(ortho.OrthoCentre.y, 2.0);
    EXPECT_EQ(ortho.CursorPoint.z, 3.0);
    EXPECT_EQ(ortho.ViewTarget.y, 0.0);
}

TEST(ViewCommands, CentreOnNoBoxesChangesNothing)
{
    TViewState state;
    state.ViewTarget = MakePoint(1, 2, 3);
    TVector camera = CameraFor400x300();
    EXPECT_EQ(CentreOnBoxes(state, camera, {}), TViewChange::None);
    EXPECT_EQ(state.ViewTarget.x, 1.0);
}

TEST(OrthoMapping, PlacesAPointOneUnitAlongXPerPane)
{
    const VertexInput centre = MakePoint(1, 2, 3);
    const VertexInput p = MakePoint(2, 2, 3);  // centre + 1 along X
    const double s = OrthoScaleFor(200, 10.0); // 20 pixels per unit
    const TPixel top = OrthoProject(kTopView, p, centre, s, 100, 50);
    EXPECT_EQ(top.x, 100);
    EXPECT_EQ(top.y, 70); // below the centre
    const TPixel face = OrthoProject(kFaceView, p, centre, s, 100, 50);
    EXPECT_EQ(face.x, 80); // left of the centre
    EXPECT_EQ(face.y, 50);
    const TPixel side = OrthoProject(kSideView, MakePoint(1, 2, 4), centre, s, 100, 50);
    EXPECT_EQ(side.x, 100);
    EXPECT_EQ(side.y, 30); // +Z up
}

TEST(OrthoMapping, PixelsMapBackToModelValues)
{
    const double s = 20.0;
    EXPECT_EQ(OrthoToPixel(2.5, 1.0, 1, s, 100), 130);
    EXPECT_EQ(OrthoToPixel(2.5, 1.0, -1, s, 50), 20);
    EXPECT_DOUBLE_EQ(OrthoColumnToModel(130, 1.0, s, 100), 2.5);
    EXPECT_DOUBLE_EQ(OrthoRowToModel(70, 1.0, 1, s, 50, 100), 2.0);
    // Sign -1 counts rows from the bottom: centre + (H - py - cy) / s.
    EXPECT_DOUBLE_EQ(OrthoRowToModel(20, 1.0, -1, s, 50, 100), 2.5);
    EXPECT_EQ(OrthoToPixel(0.025, 0.0, 1, s, 0), 0); // 0.5 rounds to even
    EXPECT_EQ(OrthoToPixel(0.075, 0.0, 1, s, 0), 2); // 1.5 rounds to even
}

// The popup's items and the zoom commands walk the same steps: each item sets the zoom its
// caption "a:b" names (10 model units per pane width at 1:1, b/a times that), the commands step
// from one item's value to the next and stop at the ends, and the label always reads as the
// item that sets the same zoom.
TEST(OrthoZoom, PopupItemsAndZoomCommandsShareTheirStepsAndLabels)
{
    const auto items = ZoomItems();
    ASSERT_EQ(items.size(), 11u);
    double zoom = ZoomForItem(items.front());
    EXPECT_FALSE(ZoomOut(zoom));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string caption = items[i].Caption;
        SCOPED_TRACE(caption);
        const std::size_t colon = caption.find(':');
        ASSERT_NE(colon, std::string::npos);
        const double a = std::stod(caption.substr(0, colon));
        const double b = std::stod(caption.substr(colon + 1));
        EXPECT_EQ(ZoomForItem(items[i]), 10.0 * b / a);
        EXPECT_EQ(zoom, ZoomForItem(items[i]));
        EXPECT_EQ(ZoomLabel(zoom), caption);
        EXPECT_EQ(ZoomIn(zoom), i + 1 < items.size());
    }
    EXPECT_EQ(zoom, 0.3125);
    for (std::size_t i = items.size() - 1; i-- > 0;) {
        ASSERT_TRUE(ZoomOut(zoom));
        EXPECT_EQ(zoom, ZoomForItem(items[i]));
    }
    EXPECT_FALSE(ZoomOut(zoom));
    EXPECT_EQ(zoom, 320.0);
}

} // namespace
} // namespace kalvo
