#include "core/template/template_pick.h"
#include "tests/core/template/template_test_support.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <new>
#include <ostream>

// Counts every allocation of this test program, so a test can tell that the hover picks
// allocate nothing.
namespace {
long gAllocations = 0;
}

void* operator new(std::size_t size)
{
    ++gAllocations;
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }

void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace kalvo {
namespace {

using test::MakeUVModel;

TEST(VertexPicking, TakesTheNearestAndTheLowerIndexOfEqualDistances)
{
    const TpreviewObj model = MakeUVModel({{0.6, 0.5}, {0.4, 0.5}, {0.1, 0.1}}, {});
    EXPECT_EQ(FindNearestVertex(model, 0.5, 0.5, 0.2), 0);
    EXPECT_EQ(FindNearestVertex(model, 0.45, 0.5, 0.2), 1);
    EXPECT_EQ(FindNearestVertex(model, 0.12, 0.1, 0.2), 2);
    EXPECT_EQ(FindNearestVertex(model, 0.9, 0.9, 0.2), -1);
    EXPECT_EQ(FindNearestVertex(TpreviewObj{}, 0.0, 0.0, 1.0), -1);
}

TEST(VertexPicking, FindsAPointExactlyAtTheRadius)
{
    const TpreviewObj model = MakeUVModel({{0.0, 0.0}}, {});
    // 0.75, 1.0 and 1.25 are exact in binary: the distance is exactly 1.25.
    EXPECT_EQ(FindNearestVertex(model, 0.75, 1.0, 1.25), 0);
    EXPECT_EQ(FindNearestVertex(model, 0.75, 1.0, std::nextafter(1.25, 0.0)), -1);
}

TEST(VertexPicking, NeverPicksAVertexWithoutCoordinates)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TpreviewObj model = MakeUVModel({{nan, 0.0}, {0.5, 0.5}}, {});
    EXPECT_EQ(FindNearestVertex(model, 0.5, 0.5, 0.1), 1);
    EXPECT_EQ(FindNearestVertex(model, 0.0, 0.0, 0.1), -1);
}

struct EdgePick
{
    const char* What;
    double U, V, Radius;
    int Expected;
};

void PrintTo(const EdgePick& pick, std::ostream* out) { *out << pick.What; }

class EdgePickingTest : public testing::TestWithParam<EdgePick>
{
};

TEST_P(EdgePickingTest, Finds)
{
    const TpreviewObj model = MakeUVModel(
        {
            {0.3, 0.5},
            {0.7, 0.5}, // 0: flat edge
            {0.95, 0.2},
            {0.05, 0.2}, // 1: across the u seam
            {0.5, 0.8},
            {0.5, 0.8}, // 2: both ends on one point
            {0.30, 0.05},
            {0.32, 0.45}, // 3: steep edge
            {0.3, 0.625},
            {0.7, 0.625}, // 4: a second flat edge above the first
        },
        {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}});
    const EdgePick& c = GetParam();
    EXPECT_EQ(FindNearestEdge(model, c.U, c.V, c.Radius), c.Expected) << c.What;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EdgePickingTest,
    testing::Values(EdgePick{"just beside a flat edge", 0.5, 0.52, 0.03, 0},
                    EdgePick{"too far beside it", 0.5, 0.47, 0.02, -1},
                    EdgePick{"half-way between two edges: the lower index", 0.5, 0.5625, 0.07, 0},
                    EdgePick{"nearer the second edge", 0.5, 0.6, 0.07, 4},
                    EdgePick{"the seam edge near its right end", 0.99, 0.2, 0.02, 1},
                    EdgePick{"not the long way across the template", 0.5, 0.2, 0.1, -1},
                    EdgePick{"a point edge, inside the radius", 0.53, 0.84, 0.06, 2},
                    EdgePick{"a point edge, outside the radius", 0.53, 0.84, 0.045, -1},
                    EdgePick{"beside a steep edge", 0.313, 0.25, 0.005, 3},
                    EdgePick{"farther from the steep edge", 0.313, 0.25, 0.002, -1}));

TEST(EdgePicking, IgnoresEdgesWithoutVertices)
{
    TpreviewObj model = MakeUVModel({{0.3, 0.5}, {0.7, 0.5}}, {{0, -1}, {7, 1}, {0, 1}});
    EXPECT_EQ(FindNearestEdge(model, 0.5, 0.5, 0.1), 2);
    MoveMarked(model, 0.1, 0.1); // must not touch anything out of range either
}

TEST(EdgePicking, AllocatesNothingOnAHoverTick)
{
    TpreviewObj model = MakeUVModel({{0.3, 0.5}, {0.7, 0.5}, {0.5, 0.9}}, {{0, 1}, {1, 2}, {2, 0}});
    const long before = gAllocations;
    for (double u = 0.0; u < 1.0; u += 0.01) {
        FindNearestVertex(model, u, 0.5, 0.05);
        FindNearestEdge(model, u, 0.5, 0.05);
    }
    EXPECT_EQ(gAllocations, before);
}

TEST(MovingMarks, MovesEveryVertexOnceHoweverManyMarksItCarries)
{
    TpreviewObj model =
        MakeUVModel({{0.0, 0.0}, {0.25, 0.25}, {0.5, 0.5}, {0.75, 0.75}, {1.0, 1.0}},
                    {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    model.Vertices[1].Mark = true; // marked itself and the end of both marked edges
    model.Vertices[4].Mark = true; // marked alone
    model.Edges[0].Mark = true;
    model.Edges[1].Mark = true;
    MoveMarked(model, 0.125, -0.25);
    const double expected[][2] = {
        {0.125, -0.25}, {0.375, 0.0}, {0.625, 0.25}, {0.75, 0.75}, {1.125, 0.75}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(model.Vertices[i].u, expected[i][0]) << i;
        EXPECT_EQ(model.Vertices[i].v, expected[i][1]) << i;
    }
    // The template keeps its scale: the range is not widened by a move.
    EXPECT_EQ(model.MaxU, 1.0);
    EXPECT_EQ(model.MinV, 0.0);

    // The next step moves them again (the once-only flags are per step).
    MoveMarked(model, 0.125, 0.25);
    EXPECT_EQ(model.Vertices[1].u, 0.5);
    EXPECT_EQ(model.Vertices[3].u, 0.75);

    ClearMarks(model);
    MoveMarked(model, 1.0, 1.0);
    EXPECT_EQ(model.Vertices[1].u, 0.5);
}

} // namespace
} // namespace kalvo
