#include "core/model/preview_obj.h"
#include "core/model/quick_sort.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kalvo {
namespace {

VertexInput Corner(double x, double y, double z, int group = 0)
{
    return FillVertexInput(x, y, z, 0, 0, group, 0, false);
}

void RunGroupSort(TpreviewObj& model)
{
    model.NumberVertices();
    model.SortVerticesByGroup(0, model.VertexCount() - 1);
    model.RemapAfterSort();
}

TEST(GroupSort, OrdersGroupsAndKeepsEdgesOnTheSamePoints)
{
    TpreviewObj model;
    model.AddVertex(Corner(0, 0, 0, 0));
    model.AddVertex(Corner(1, 0, 0, 1));
    model.AddVertex(Corner(2, 0, 0, 1));
    model.AddVertex(Corner(3, 0, 0, 0));
    model.Vertices[0].group = 1; // groups 1, 0, 1, 0 at positions 0 to 3
    model.Vertices[1].group = 0;
    model.Vertices[2].group = 1;
    model.Vertices[3].group = 0;
    model.AddEdge(0, 1);
    model.AddEdge(2, 3);
    model.AddEdge(3, 0);

    RunGroupSort(model);

    std::vector<int> groups;
    for (const TVecPointC& vertex : model.Vertices)
        groups.push_back(vertex.group);
    EXPECT_EQ(groups, (std::vector<int>{0, 0, 1, 1}));
    const auto xOf = [&](int index) { return model.Vertices[index].x; };
    EXPECT_EQ(xOf(model.Edges[0].StartVertex), 0);
    EXPECT_EQ(xOf(model.Edges[0].EndVertex), 1);
    EXPECT_EQ(xOf(model.Edges[1].StartVertex), 2);
    EXPECT_EQ(xOf(model.Edges[1].EndVertex), 3);
    EXPECT_EQ(xOf(model.Edges[2].StartVertex), 3);
    EXPECT_EQ(model.Groups[0].FirstVertex, 0);
    EXPECT_EQ(model.Groups[1].FirstVertex, 2);

    // The lookups still find the moved vertices and edges.
    EXPECT_EQ(model.AddVertex(Corner(3, 0, 0, 0)), model.Edges[2].StartVertex);
    EXPECT_EQ(model.AddEdge(model.Edges[1].EndVertex, model.Edges[1].StartVertex), 1);
    EXPECT_EQ(model.VertexCount(), 4);
}

TEST(GroupSort, GroupsWithoutARecordAreIgnored)
{
    TpreviewObj model;
    model.AddVertex(Corner(0, 0, 0, 0));
    model.AddVertex(Corner(1, 0, 0, 5)); // one record only: a jump of five adds group 1
    model.AddVertex(Corner(2, 0, 0, -3));
    ASSERT_EQ(model.Groups.size(), 2u);
    RunGroupSort(model);
    EXPECT_EQ(model.Vertices.front().group, -3);
    EXPECT_EQ(model.Groups[0].FirstVertex, 1);
}

// The Hoare partition order with the middle pivot, worked by hand for 3 1 2 3 1 2.
TEST(GroupSort, QuickSortGivesTheClassicOrderAndSurvivesHostileInput)
{
    std::vector<std::pair<int, char>> items{{3, 'a'}, {1, 'b'}, {2, 'c'},
                                            {3, 'd'}, {1, 'e'}, {2, 'f'}};
    QuickSortRange(
        0, 5, [&](int k) { return items[k].first; },
        [&](int a, int b) { std::swap(items[a], items[b]); });
    std::string order;
    for (const auto& item : items)
        order += item.second;
    EXPECT_EQ(order, "ebfcad");

    // A long run of equal keys and a sawtooth used to drive the recursion deep.
    std::vector<int> keys(200000);
    for (int i = 0; i < int(keys.size()); ++i)
        keys[i] = (i % 2) ? i : int(keys.size()) - i;
    QuickSortRange(
        0, int(keys.size()) - 1, [&](int k) { return keys[k]; },
        [&](int a, int b) { std::swap(keys[a], keys[b]); });
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
}

TEST(EdgeUse, VerdictsForEmptyLooseClosedAndOverusedModels)
{
    TpreviewObj empty;
    EXPECT_EQ(empty.CountEdgeUse(), 0);

    TpreviewObj loose;
    loose.AddEdgeByInputs(Corner(0, 0, 0), Corner(1, 0, 0));
    EXPECT_EQ(loose.CountEdgeUse(), -1);

    TpreviewObj cube;
    const auto P = [](int x, int y, int z) { return Corner(x, y, z); };
    const std::vector<std::vector<VertexInput>> faces{
        {P(0, 0, 0), P(1, 0, 0), P(1, 1, 0), P(0, 1, 0)},
        {P(0, 0, 1), P(0, 1, 1), P(1, 1, 1), P(1, 0, 1)},
        {P(0, 0, 0), P(0, 0, 1), P(1, 0, 1), P(1, 0, 0)},
        {P(0, 1, 0), P(1, 1, 0), P(1, 1, 1), P(0, 1, 1)},
        {P(0, 0, 0), P(0, 1, 0), P(0, 1, 1), P(0, 0, 1)},
        {P(1, 0, 0), P(1, 0, 1), P(1, 1, 1), P(1, 1, 0)}};
    for (const auto& face : faces)
        cube.AddPolygonByCorners(1, face);
    EXPECT_EQ(cube.VertexCount(), 8);
    EXPECT_EQ(cube.EdgeCount(), 12);
    EXPECT_EQ(cube.CountEdgeUse(), 2);

    TpreviewObj fan;
    for (int k = 0; k < 3; ++k)
        fan.AddPolygonByCorners(1, {P(0, 0, 0), P(1, 0, 0), P(k, 1, k)});
    EXPECT_EQ(fan.CountEdgeUse(), 3);
    EXPECT_EQ(fan.Edges[0].UseCount, 3);

    loose.SetEdgeUse(1);
    EXPECT_EQ(loose.Edges[0].UseCount, 1);
}

} // namespace
} // namespace kalvo
