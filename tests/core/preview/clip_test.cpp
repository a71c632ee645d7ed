#include "core/preview/clip.h"
#include "core/preview/vector_math.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace kalvo {
namespace {

VertexInput At(double x, double y, double z = 0.0, double u = 0.0, double v = 0.0)
{
    VertexInput p = MakePoint(x, y, z);
    p.u = u;
    p.v = v;
    return p;
}

constexpr TClipRect kPane{0, 0, 200, 100}; // a 200 x 100 pane

TEST(OutCode, TestsLeftBeforeRightAndAboveBeforeBelow)
{
    EXPECT_EQ(OutCode(At(-1, -1), kPane), kOutLeft | kOutAbove);
    EXPECT_EQ(OutCode(At(201, 101), kPane), kOutRight | kOutBelow);
    EXPECT_EQ(OutCode(At(200, 100), kPane), 0); // both bounds are inside
    EXPECT_EQ(OutCode(At(0, 0), kPane), 0);
    EXPECT_EQ(OutCode(At(50, 100.5), kPane), kOutBelow);
    // A rectangle turned inside out: left is tested first and excludes right.
    EXPECT_EQ(OutCode(At(5, 5), TClipRect{10, 0, 0, 10}), kOutLeft);
}

struct ClipCase
{
    const char* Name;
    VertexInput A, B;
    bool Result;
    double Ax, Ay, Bx, By;
    bool StartBorder, EndBorder;
};

class ClipSegmentCase : public testing::TestWithParam<ClipCase>
{
};

TEST_P(ClipSegmentCase, GivesTheWorkedEnds)
{
    const ClipCase& c = GetParam();
    VertexInput a = c.A, b = c.B;
    TClipBorders borders;
    EXPECT_EQ(ClipSegment(a, b, kPane, borders), c.Result);
    EXPECT_DOUBLE_EQ(a.x, c.Ax);
    EXPECT_DOUBLE_EQ(a.y, c.Ay);
    EXPECT_DOUBLE_EQ(b.x, c.Bx);
    EXPECT_DOUBLE_EQ(b.y, c.By);
    EXPECT_EQ(borders.StartBorder.Present, c.StartBorder);
    EXPECT_EQ(borders.EndBorder.Present, c.EndBorder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipSegmentCase,
    testing::Values(
        ClipCase{"LeftEntry", At(-10, 50), At(100, 50), true, 0, 50, 100, 50, true, false},
        ClipCase{"BothRight", At(300, 10), At(250, 20), false, 200, 20, 200, 10, false, false},
        ClipCase{"Inside", At(200, 100), At(0, 0), true, 0, 0, 200, 100, false, false},
        ClipCase{"TopEntry", At(50, -10), At(50, 60), true, 50, 0, 50, 60, false, false},
        ClipCase{"HorizontalAbove", At(10, -5), At(150, -5), false, 10, 0, 150, 0, false, false},
        // Leaves through the right border: B moves onto it, half-way down the slope.
        ClipCase{"RightExit", At(100, 0), At(300, 100), true, 100, 0, 200, 50, false, true},
        // Enters from the left above the pane: the left cut lands above the top, so the
        // vertical pass moves A onto the top border and drops the start border.
        ClipCase{"LeftThenTop", At(-100, -60), At(100, 40), true, 20, 0, 100, 40, false, false},
        // Misses the top-left corner: not rejected by the first test; both ends end up on one
        // point of the top border, an empty line.
        ClipCase{"CornerMiss", At(-20, 10), At(10, -20), true, 30, 0, 30, 0, false, false}),
    [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.Name); });

TEST(ClipSegment, BorderSegmentsRunAlongTheBorderFromTheOriginalRow)
{
    VertexInput a = At(-100, 0, 2.0, 0.0, 1.0);
    VertexInput b = At(100, 100, 4.0, 1.0, 3.0);
    TClipBorders borders;
    ASSERT_TRUE(ClipSegment(a, b, kPane, borders));
    EXPECT_DOUBLE_EQ(a.x, 0.0);
    EXPECT_DOUBLE_EQ(a.y, 50.0);
    // Half-way along the segment: depth, u and v are half-way too.
    EXPECT_DOUBLE_EQ(a.z, 3.0);
    EXPECT_DOUBLE_EQ(a.u, 0.5);
    EXPECT_DOUBLE_EQ(a.v, 2.0);
    const TBorderSegment& start = borders.StartBorder;
    ASSERT_TRUE(start.Present);
    EXPECT_DOUBLE_EQ(start.A.x, 0.0);
    EXPECT_DOUBLE_EQ(start.A.y, 0.0);
    EXPECT_DOUBLE_EQ(start.A.z, 2.0); // level with the original end, with its values
    EXPECT_DOUBLE_EQ(start.A.v, 1.0);
    EXPECT_DOUBLE_EQ(start.B.y, 50.0);
    EXPECT_DOUBLE_EQ(start.B.z, 3.0);
    EXPECT_FALSE(borders.EndBorder.Present);
}

TEST(ClipSegment, InterpolatesTextureCoordinatesTheShortWayRoundTheSeam)
{
    // u runs from 0.9 to 0.1 across the seam of a period-1 texture: the short way is
    // 0.9 -> 1.1, so the middle is 1.0 (the seam), not 0.5.
    VertexInput a = At(-100, 50, 1.0, 0.9, 0.0);
    VertexInput b = At(100, 50, 1.0, 0.1, 0.0);
    TClipBorders borders;
    ASSERT_TRUE(ClipSegment(a, b, kPane, borders, TSeamPeriods{1.0, 1.0}));
    EXPECT_DOUBLE_EQ(a.u, 1.0);
    EXPECT_DOUBLE_EQ(b.u, 0.1); // not moved

    VertexInput c = At(-100, 50, 1.0, 0.9, 0.0);
    VertexInput d = At(100, 50, 1.0, 0.1, 0.0);
    ASSERT_TRUE(ClipSegment(c, d, kPane, borders));
    EXPECT_DOUBLE_EQ(c.u, 0.5); // without a seam period
}

// Whatever the segment, the values carried by the clipped ends and the border points stay
// within those of the original ends. A segment that really crosses the pane comes back inside
// it; one that only passed the first test near a corner collapses to a single point.
TEST(ClipSegment, CarriedValuesStayBetweenTheEnds)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> coordinate(-300.0, 500.0);
    std::uniform_real_distribution<double> value(0.0, 10.0);
    int collapsed = 0;
    for (int n = 0; n < 2000; ++n) {
        const VertexInput a0 = At(coordinate(random), coordinate(random), value(random));
        const VertexInput b0 = At(coordinate(random), coordinate(random), value(random));
        VertexInput a = a0, b = b0;
        TClipBorders borders;
        if (!ClipSegment(a, b, kPane, borders))
            continue;
        const double low = std::min(a0.z, b0.z) - 1e-9, high = std::max(a0.z, b0.z) + 1e-9;
        std::vector<const VertexInput*> points{&a, &b};
        for (const TBorderSegment* border : {&borders.StartBorder, &borders.EndBorder})
            if (border->Present)
                points.insert(points.end(), {&border->A, &border->B});
        for (const VertexInput* p : points) {
            EXPECT_GE(p->z, low);
            EXPECT_LE(p->z, high);
        }
        if (a.x == b.x && a.y == b.y && (a0.x != b0.x || a0.y != b0.y)) {
            ++collapsed;
            continue;
        }
        for (const VertexInput* p : {&a, &b}) {
            EXPECT_GE(p->x, kPane.Left - 1e-6);
            EXPECT_LE(p->x, kPane.Right + 1e-6);
            EXPECT_GE(p->y, kPane.Top - 1e-6);
            EXPECT_LE(p->y, kPane.Bottom + 1e-6);
        }
    }
    EXPECT_GT(collapsed, 0); // the corner cases were met
}

TEST(ClipSegment, SwapsSoTheFirstEndIsTheLeftOne)
{
    VertexInput a = At(150, 10, 7.0);
    VertexInput b = At(20, 30, 9.0);
    ASSERT_TRUE(ClipSegment(a, b, kPane));
    EXPECT_EQ(a.x, 20.0);
    EXPECT_EQ(a.z, 9.0);
    EXPECT_EQ(b.x, 150.0);
}

} // namespace
} // namespace kalvo
