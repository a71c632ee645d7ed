#include "core/model/preview_obj.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kalvo {
namespace {

VertexInput Corner(double x, double y, double z, double u = 0, double v = 0, int group = 0,
                   int flag = 0)
{
    return FillVertexInput(x, y, z, u, v, group, flag, false);
}

TEST(MeshBuilding, LaterRequestForAPositionOverwritesItsValues)
{
    TpreviewObj model;
    EXPECT_EQ(model.AddVertex(Corner(1, 2, 3, 0.1, 0.2, 0, 5)), 0);
    EXPECT_EQ(model.AddVertex(Corner(1, 2, 3, 0.7, 0.8, 1, 9)), 0);
    ASSERT_EQ(model.VertexCount(), 1);
    EXPECT_EQ(model.Vertices[0].u, 0.7);
    EXPECT_EQ(model.Vertices[0].v, 0.8);
    EXPECT_EQ(model.Vertices[0].group, 1);
    EXPECT_EQ(model.Vertices[0].flag, 9);
}

TEST(MeshBuilding, NegativeZeroMergesWithZeroButNaNNeverMerges)
{
    TpreviewObj model;
    EXPECT_EQ(model.AddVertex(Corner(0, 0, 0)), 0);
    EXPECT_EQ(model.AddVertex(Corner(0, -0.0, -0.0)), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(model.AddVertex(Corner(nan, 0, 0)), 1);
    EXPECT_EQ(model.AddVertex(Corner(nan, 0, 0)), 2);
    EXPECT_EQ(model.AddVertex(Corner(0, 0, 0)), 0);
}

TEST(MeshBuilding, SeamRequestsKeepAVertexForEachUvAtAPosition)
{
    TpreviewObj model;
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, 0.1, 0.2)), 0);
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, 0.7, 0.8)), 1);
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, 0.1, 0.2, 0, 4)), 0);
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, 0.7, 0.8)), 1);
    EXPECT_EQ(model.Vertices[0].flag, 4) << "a match takes the request's other values";
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, -0.0, 0.5)), 2);
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, 0.0, 0.5)), 2);
    // A NaN in (u, v) merges by position, and plain requests still find the first vertex.
    EXPECT_EQ(model.AddVertexWithUv(Corner(1, 2, 3, std::nan(""), 0.5)), 0);
    EXPECT_EQ(model.AddVertex(Corner(1, 2, 3, 0.3, 0.3)), 0);
    ASSERT_EQ(model.VertexCount(), 3);

    // A copy made afterwards is found by its (u, v) as they are when the next request comes,
    // also after the group sort has moved the vertices.
    const int copy = model.CopyVertex(1);
    model.Vertices[copy].u = 0.9;
    model.NumberVertices();
    model.SortVerticesByGroup(0, model.VertexCount() - 1);
    model.RemapAfterSort();
    const int found = model.AddVertexWithUv(Corner(1, 2, 3, 0.9, 0.8));
    EXPECT_EQ(model.Vertices[found].PreSortIndex, copy);
    EXPECT_EQ(model.VertexCount(), 4);
}

TEST(MeshBuilding, EdgeKeepsTheOrientationOfItsFirstRequest)
{
    TpreviewObj model;
    const int first = model.AddEdge(2, 5);
    EXPECT_EQ(model.AddEdge(5, 2), first);
    EXPECT_EQ(model.AddEdge(2, 5), first);
    EXPECT_EQ(model.Edges[first].StartVertex, 2);
    EXPECT_EQ(model.Edges[first].EndVertex, 5);
    EXPECT_EQ(model.AddEdge(3, 3), 1); // a = b is accepted
    EXPECT_EQ(model.AddEdge(3, 3), 1);
}

TEST(MeshBuilding, GroupIndexBeyondTheCountAddsExactlyOneGroup)
{
    TpreviewObj model;
    model.AddVertex(Corner(1, 1, 1, 0, 0, 2));
    EXPECT_EQ(model.GroupCount, 1);
    ASSERT_EQ(model.Groups.size(), 1u);
    EXPECT_EQ(model.Groups[0].FirstVertex, 0);
    EXPECT_TRUE(model.Groups[0].Visible);
}

TEST(MeshBuilding, UVRangeAlwaysContainsZeroAndSkipsTheFirstRequest)
{
    TpreviewObj model;
    model.AddVertex(Corner(0, 0, 0, 0.9, 0.9));
    model.AddVertex(Corner(1, 0, 0, 0.2, 0.3));
    model.AddVertex(Corner(2, 0, 0, 0.8, 0.6));
    EXPECT_EQ(model.MinU, 0.0);
    EXPECT_EQ(model.MaxU, 0.8); // the first request's 0.9 is not taken in
    EXPECT_EQ(model.MinV, 0.0);
    EXPECT_EQ(model.MaxV, 0.6);
}

TEST(MeshBuilding, SpatialBoxOfOneVertexIsItsPosition)
{
    TpreviewObj model;
    model.AddVertex(Corner(-1.5, 2, 7));
    EXPECT_EQ(model.MinX, -1.5);
    EXPECT_EQ(model.MaxX, -1.5);
    EXPECT_EQ(model.MinY, 2);
    EXPECT_EQ(model.MaxY, 2);
    EXPECT_EQ(model.MinZ, 7);
    EXPECT_EQ(model.MaxZ, 7);
    model.AddVertex(Corner(3, -4, 7));
    EXPECT_EQ(model.MaxX, 3);
    EXPECT_EQ(model.MinY, -4);
}

TEST(MeshBuilding, TrianglesSharingASideShareTheEdge)
{
    TpreviewObj model;
    const std::vector<VertexInput> first{Corner(0, 0, 0), Corner(1, 0, 0), Corner(0, 1, 0)};
    EXPECT_EQ(model.AddPolygonByCorners(7, first), 0);
    EXPECT_EQ(model.VertexCount(), 3);
    EXPECT_EQ(model.EdgeCount(), 3);
    ASSERT_EQ(model.Polygons[0].count(), 3);
    EXPECT_EQ(model.Polygons[0].colour, 7u);
    EXPECT_EQ(model.Polygons[0].sides, (std::vector<int>{0, 1, 2}));

    const std::vector<VertexInput> second{Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0)};
    EXPECT_EQ(model.AddPolygonByCorners(7, second), 1);
    EXPECT_EQ(model.VertexCount(), 4);
    EXPECT_EQ(model.EdgeCount(), 5);
    EXPECT_EQ(model.Polygons[1].sides, (std::vector<int>{3, 4, 1}));
}

// The hash indexes must give the indices a first-match scan from the front gives.
TEST(MeshBuilding, IndexesAgreeWithAScanOnARandomStream)
{
    TpreviewObj model;
    std::vector<TVecPointC> scanVertices;
    std::vector<std::pair<int, int>> scanEdges;
    unsigned state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 7;
    };
    for (int request = 0; request < 3000; ++request) {
        const VertexInput a = Corner(next(), next() * 0.5, -double(next()));
        const VertexInput b = Corner(next(), next() * 0.5, -double(next()));
        int expectA = -1, expectB = -1;
        for (int i = 0; i < int(scanVertices.size()); ++i)
            if (scanVertices[i].x == a.x && scanVertices[i].y == a.y && scanVertices[i].z == a.z) {
                expectA = i;
                break;
            }
        if (expectA < 0) {
            expectA = int(scanVertices.size());
            scanVertices.push_back(TVecPointC{a.x, a.y, a.z});
        }
        for (int i = 0; i < int(scanVertices.size()); ++i)
            if (scanVertices[i].x == b.x && scanVertices[i].y == b.y && scanVertices[i].z == b.z) {
                expectB = i;
                break;
            }
        if (expectB < 0) {
            expectB = int(scanVertices.size());
            scanVertices.push_back(TVecPointC{b.x, b.y, b.z});
        }
        int expectEdge = -1;
        for (int i = 0; i < int(scanEdges.size()); ++i)
            if (scanEdges[i] == std::pair{expectA, expectB} ||
                scanEdges[i] == std::pair{expectB, expectA}) {
                expectEdge = i;
                break;
            }
        if (expectEdge < 0) {
            expectEdge = int(scanEdges.size());
            scanEdges.emplace_back(expectA, expectB);
        }
        ASSERT_EQ(model.AddEdgeByInputs(a, b), expectEdge) << "request " << request;
    }
    EXPECT_EQ(model.VertexCount(), int(scanVertices.size()));
}

} // namespace
} // namespace kalvo

namespace kalvo {
namespace {

// Each corner passes through AddVertex twice; the second pass must still count where it can
// change something.
TEST(MeshBuilding, RepeatedCornerRequestsStillAddJumpedGroupsAndWidenTheUVRange)
{
    TpreviewObj jumped;
    jumped.AddPolygonByCorners(1, {FillVertexInput(0, 0, 0, 0, 0, 0, 0, false),
                                   FillVertexInput(1, 0, 0, 0, 0, 5, 0, false),
                                   FillVertexInput(0, 1, 0, 0, 0, 0, 0, false)});
    // The corner of group 5 adds one group at each of its two passes.
    EXPECT_EQ(jumped.GroupCount, 3);

    TpreviewObj first;
    first.AddPolygonByCorners(1, {FillVertexInput(0, 0, 0, 0.7, 0.9, 0, 0, false),
                                  FillVertexInput(1, 0, 0, 0, 0, 0, 0, false),
                                  FillVertexInput(0, 1, 0, 0, 0, 0, 0, false)});
    // The very first request sets the box only; the corner's last pass takes its u and v in.
    EXPECT_EQ(first.MaxU, 0.7);
    EXPECT_EQ(first.MaxV, 0.9);
}

} // namespace
} // namespace kalvo
