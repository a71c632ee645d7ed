#include "core/model/preview_obj.h"
#include "core/model/uv_projection.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <set>
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

// The corners of a polygon, walked along its sides.
std::vector<int> Corners(const TpreviewObj& model, const PolygonRec& polygon)
{
    std::vector<int> corners;
    const int n = polygon.count();
    for (int i = 0; i < n; ++i) {
        const TEdgeC& a = model.Edges[polygon.sides[i]];
        const TEdgeC& b = model.Edges[polygon.sides[(i + 1) % n]];
        corners.push_back(a.EndVertex == b.StartVertex || a.EndVertex == b.EndVertex
                              ? a.EndVertex
                              : a.StartVertex);
    }
    return corners;
}

TEST(UvProjection, BoxGivesEachSideOfACubeItsOwnSquare)
{
    // A cube over 0..2 read as from a file: eight shared corners, faces wound outwards.
    TpreviewObj model;
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const auto corner = [](int i) {
        return FillVertexInput(i & 1 ? 2 : 0, i & 2 ? 2 : 0, i & 4 ? 2 : 0, 0, 0, 0, 1, false);
    };
    for (const auto& face : faces) {
        // Corners 0 1 3 2 run around the square, as the faces above name them.
        const int order[8] = {0, 1, 3, 2, 4, 5, 7, 6};
        VertexInput corners[4];
        for (int k = 0; k < 4; ++k)
            corners[k] = corner(order[face[k]]);
        model.AddPolygonByCorners(0, corners, 4);
    }
    ASSERT_EQ(model.VertexCount(), 8);
    std::vector<std::array<double, 3>> positionsBefore;
    for (const PolygonRec& polygon : model.Polygons)
        for (const int c : Corners(model, polygon))
            positionsBefore.push_back(
                {model.Vertices[c].x, model.Vertices[c].y, model.Vertices[c].z});

    ProjectUv(model, TUvProjection::Box);

    EXPECT_EQ(model.VertexCount(), 24);
    EXPECT_EQ(model.EdgeCount(), 24);
    EXPECT_EQ(model.CountEdgeUse(), 1) << "every edge bounds one side: no loose line is left";
    std::vector<std::array<double, 3>> positionsAfter;
    std::set<int> seen;
    std::set<std::pair<int, int>> cells;
    for (const PolygonRec& polygon : model.Polygons) {
        const std::vector<int> corners = Corners(model, polygon);
        ASSERT_EQ(corners.size(), 4u);
        double lowU = 1, highU = 0, lowV = 1, highV = 0;
        for (const int c : corners) {
            EXPECT_TRUE(seen.insert(c).second) << "vertex " << c << " serves two sides";
            const TVecPointC& p = model.Vertices[c];
            positionsAfter.push_back({p.x, p.y, p.z});
            lowU = std::min(lowU, p.u), highU = std::max(highU, p.u);
            lowV = std::min(lowV, p.v), highV = std::max(highV, p.v);
        }
        // Each side fills one cell of the 3 x 2 grid, less the margin, without touching it.
        const int column = static_cast<int>(lowU * 3), row = static_cast<int>(lowV * 2);
        EXPECT_TRUE(cells.insert({column, row}).second) << "two sides share a cell";
        EXPECT_GT(lowU, column / 3.0);
        EXPECT_LT(highU, (column + 1) / 3.0);
        EXPECT_GT(lowV, row / 2.0);
        EXPECT_LT(highV, (row + 1) / 2.0);
        EXPECT_NEAR(highU - lowU, 0.9 / 3, 1e-12);
        EXPECT_NEAR(highV - lowV, 0.9 / 2, 1e-12);
    }
    EXPECT_EQ(cells.size(), 6u);
    EXPECT_EQ(positionsAfter, positionsBefore) << "the polygons keep their corners in space";

    // The top (+Z) is laid out as the top view shows it, in the upper right cell: corner
    // (0, 2, 2) is at the top view's right (+Y) and top (-X).
    int found = 0;
    for (const TVecPointC& p : model.Vertices) {
        if (p.x == 0 && p.y == 2 && p.z == 2 && p.u > 2.0 / 3 && p.v > 0.5) {
            ++found;
            EXPECT_NEAR(p.u, (2 + 0.05 + 0.9) / 3, 1e-12);
            EXPECT_NEAR(p.v, (1 + 0.05 + 0.9) / 2, 1e-12);
        }
    }
    EXPECT_EQ(found, 1);
}

TEST(UvProjection, BoxSplitsOnlyWhereSidesMeet)
{
    // Two triangles facing +Z sharing a side, and a third facing +X on that side's end: only
    // the vertex the +X triangle shares with them is copied, and only its side moves to the
    // copies; the shared side of the +Z triangles stays one edge.
    TpreviewObj model;
    const auto at = [](double x, double y, double z) {
        return FillVertexInput(x, y, z, 0, 0, 0, 1, false);
    };
    model.AddPolygonByCorners(0, {at(0, 0, 0), at(1, 0, 0), at(1, 1, 0)});
    model.AddPolygonByCorners(0, {at(0, 0, 0), at(1, 1, 0), at(0, 1, 0)});
    model.AddPolygonByCorners(0, {at(1, 0, 0), at(1, 1, 0.5), at(1, 0, 1)});
    ASSERT_EQ(model.VertexCount(), 6);
    ASSERT_EQ(model.EdgeCount(), 8);
    ProjectUv(model, TUvProjection::Box);
    EXPECT_EQ(model.VertexCount(), 7);
    EXPECT_EQ(model.EdgeCount(), 8) << "the +X triangle's edges are moved, not added";
    EXPECT_EQ(model.CountEdgeUse(), 2);
    EXPECT_EQ(model.Polygons[0].sides[2], model.Polygons[1].sides[0]);
    const std::vector<int> side = Corners(model, model.Polygons[2]);
    for (const int c : side)
        EXPECT_LT(model.Vertices[c].u, 1.0 / 3) << "the +X cell";
    for (const int c : Corners(model, model.Polygons[0]))
        EXPECT_GT(model.Vertices[c].u, 2.0 / 3) << "the +Z cell";
    EXPECT_EQ(model.Vertices[6].x, 1.0);
    EXPECT_EQ(model.Vertices[6].y, 0.0);
    EXPECT_EQ(model.Vertices[6].z, 0.0);
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

TEST(UvProjection, FlatAndHugeModelsAndNamesAreHandled)
{
    TpreviewObj flat = ModelOf({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}});
    ProjectUv(flat, TUvProjection::PlanarX); // z has no extent: v = 0, never NaN
    for (const TVecPointC& p : flat.Vertices)
        EXPECT_EQ(p.v, 0.0);
    EXPECT_TRUE(HasUv(flat));
    // A box wider than the largest double still lays out within 0..1.
    for (const TUvProjectionName& entry : UvProjectionNames()) {
        TpreviewObj huge = ModelOf({{-1e308, -1e308, -1e308}, {1e308, 0, 1e308}, {0, 1e308, 0}});
        ProjectUv(huge, entry.Projection);
        for (const TVecPointC& p : huge.Vertices) {
            EXPECT_TRUE(p.u >= 0.0 && p.u <= 1.0) << entry.Name << " u " << p.u;
            EXPECT_TRUE(p.v >= 0.0 && p.v <= 1.0) << entry.Name << " v " << p.v;
        }
    }
    for (const TUvProjectionName& entry : UvProjectionNames())
        EXPECT_EQ(UvProjectionOfName(entry.Name), entry.Projection);
    EXPECT_FALSE(UvProjectionOfName("cylinder"));
}

} // namespace
} // namespace kalvo
