#include "core/model/preview_obj.h"
#include "core/model/uv_projection.h"

#include <gtest/gtest.h>
#include <vector>

namespace kalvo {
namespace {

struct TPos
{
    double x, y, z;
};

// One triangle per three points, so every point is a vertex of the model in order (points
// must all differ).
TpreviewObj ModelOf(const std::vector<TPos>& points)
{
    TpreviewObj model;
    for (std::size_t i = 0; i + 2 < points.size(); i += 3) {
        VertexInput corners[3];
        for (int k = 0; k < 3; ++k)
            corners[k] = FillVertexInput(points[i + k].x, points[i + k].y, points[i + k].z, 0.7,
                                         0.7, 0, 0, false);
        model.AddPolygonByCorners(0, corners, 3);
    }
    return model;
}

struct TProjectionCase
{
    const char* name;
    TUvProjection projection;
    std::vector<double> uv; // u, v of each vertex of the box model below
};

class UvProjectionLayouts : public testing::TestWithParam<TProjectionCase>
{
};

// The box runs over x 0..4, y -1..1, z 10..12. The vertices: the corner of the smallest
// values, the corner of the largest, the point (1, 0.5, 11.5) and (4, 0, 10).
TEST_P(UvProjectionLayouts, FollowThePaneConventionsOverTheUnitSquare)
{
    TpreviewObj model =
        ModelOf({{0, -1, 10}, {4, 1, 12}, {1, 0.5, 11.5}, {4, 0, 10}, {0, 0, 12}, {2, 1, 11}});
    model.MaxU = 5.0;
    ProjectUv(model, GetParam().projection);
    const std::vector<double>& uv = GetParam().uv;
    for (std::size_t i = 0; i < uv.size() / 2; ++i) {
        EXPECT_NEAR(model.Vertices[i].u, uv[2 * i], 1e-12) << "vertex " << i;
        EXPECT_NEAR(model.Vertices[i].v, uv[2 * i + 1], 1e-12) << "vertex " << i;
    }
    EXPECT_EQ(model.MinU, 0.0);
    EXPECT_EQ(model.MaxU, 1.0);
    EXPECT_EQ(model.MinV, 0.0);
    EXPECT_EQ(model.MaxV, 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    UvProjection, UvProjectionLayouts,
    testing::Values(
        // Side view: u = y, v = z.
        TProjectionCase{"PlanarX", TUvProjection::PlanarX, {0, 0, 1, 1, 0.75, 0.75, 0.5, 0}},
        // Face view: +X to the left, so u = 1 - x.
        TProjectionCase{"PlanarY", TUvProjection::PlanarY, {1, 0, 0, 1, 0.75, 0.75, 0, 0}},
        // Top view: +Y right, +X down.
        TProjectionCase{"PlanarZ", TUvProjection::PlanarZ, {0, 1, 1, 0, 0.75, 0.75, 0.5, 0}},
        // About Z from the box's centre, in the box scaled to -1..1: (-1, -1) is 7/8 of a turn
        // from the -Y seam counter-clockwise, (1, 1) 3/8, (-0.5, 0.5) 5/8, (1, 0) 1/4.
        TProjectionCase{
            "CylinderZ", TUvProjection::CylinderZ, {0.875, 0, 0.375, 1, 0.625, 0.75, 0.25, 0}},
        // About X: angle in the YZ plane from -Z towards +Y; v along x.
        TProjectionCase{
            "CylinderX", TUvProjection::CylinderX, {0.875, 0, 0.375, 1, 0.375, 0.25, 0, 1}}),
    [](const testing::TestParamInfo<TProjectionCase>& info) {
        return std::string(info.param.name);
    });

TEST(UvProjection, BoxTakesEachVertexAlongItsPolygonsDominantNormal)
{
    // A flat square in the YZ plane beside a flat square in the XY plane that shares no
    // vertex with it: the first is laid out as the side view, the second as the top view.
    TpreviewObj model;
    const auto square = [&model](std::vector<TPos> p) {
        std::vector<VertexInput> corners;
        for (const TPos& q : p)
            corners.push_back(FillVertexInput(q.x, q.y, q.z, 0, 0, 0, 0, false));
        model.AddPolygonByCorners(0, corners);
    };
    square({{0, 0, 0}, {0, 2, 0}, {0, 2, 2}, {0, 0, 2}});
    square({{1, 0, 1}, {2, 0, 1}, {2, 2, 1}, {1, 2, 1}});
    ProjectUv(model, TUvProjection::Box);
    // Box: x 0..2, y 0..2, z 0..2. Side view of (0, 2, 2): u = 1, v = 1; top view of
    // (2, 0, 1): u = 0, v = 0; of (1, 2, 1): u = 1, v = 0.5.
    EXPECT_DOUBLE_EQ(model.Vertices[2].u, 1.0);
    EXPECT_DOUBLE_EQ(model.Vertices[2].v, 1.0);
    EXPECT_DOUBLE_EQ(model.Vertices[5].u, 0.0);
    EXPECT_DOUBLE_EQ(model.Vertices[5].v, 0.0);
    EXPECT_DOUBLE_EQ(model.Vertices[7].u, 1.0);
    EXPECT_DOUBLE_EQ(model.Vertices[7].v, 0.5);
}

TEST(UvProjection, SphereTakesLongitudeAndLatitude)
{
    // Box x 0..4, y -1..1, z 10..12; (4, 0, 10) is below the equator at 45 degrees on the +X
    // side, (0, 0, 12) above it at 45 degrees on the -X side.
    TpreviewObj model =
        ModelOf({{4, 0, 10}, {0, 0, 12}, {2, 1, 11}, {0, -1, 11}, {4, 1, 12}, {2, 0, 11.5}});
    ProjectUv(model, TUvProjection::Sphere);
    EXPECT_NEAR(model.Vertices[0].u, 0.25, 1e-12);
    EXPECT_NEAR(model.Vertices[0].v, 0.25, 1e-12);
    EXPECT_NEAR(model.Vertices[1].u, 0.75, 1e-12);
    EXPECT_NEAR(model.Vertices[1].v, 0.75, 1e-12);
    EXPECT_NEAR(model.Vertices[2].u, 0.5, 1e-12); // +Y, the front, on the equator
    EXPECT_NEAR(model.Vertices[2].v, 0.5, 1e-12);
    EXPECT_NEAR(model.Vertices[5].v, 1.0, 1e-12); // straight above the centre
}

TEST(UvProjection, FlatModelsAndNamesAreHandled)
{
    TpreviewObj flat = ModelOf({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}});
    ProjectUv(flat, TUvProjection::PlanarX); // z has no extent: v = 0, never NaN
    for (const TVecPointC& p : flat.Vertices)
        EXPECT_EQ(p.v, 0.0);
    EXPECT_TRUE(HasUv(flat));
    for (const TUvProjectionName& entry : UvProjectionNames())
        EXPECT_EQ(UvProjectionOfName(entry.Name), entry.Projection);
    EXPECT_FALSE(UvProjectionOfName("cylinder"));
}

} // namespace
} // namespace kalvo
