#include "core/preview/canvas.h"
#include "core/preview/text_font.h"

#include <climits>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kalvo {
namespace {

constexpr TColour kWhite = 0x00FFFFFF;

// The pixels of a canvas as rows of '#' (non-black) and '.', for readable expectations.
std::vector<std::string> Picture(const TCanvas& canvas)
{
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x)
            row += canvas.GetPixel(x, y) != 0 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(CanvasLines, LeaveTheEndPixelUnset)
{
    TCanvas canvas(6, 4);
    canvas.SetPenColour(kWhite);
    canvas.Line(0, 0, 5, 2);
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   "##....",
                                   "..##..",
                                   "....#.",
                                   "......",
                               }));
    canvas.Clear(0);
    canvas.Line(1, 3, 1, 0); // vertical, upward
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   "......",
                                   ".#....",
                                   ".#....",
                                   ".#....",
                               }));
    canvas.Clear(0);
    canvas.Line(2, 2, 2, 2); // zero length draws nothing
    EXPECT_EQ(canvas.GetPixel(2, 2), 0u);
}

TEST(CanvasLines, PolylinesSetEachCornerOnce)
{
    TCanvas canvas(5, 5);
    canvas.SetPenMode(TPenMode::Invert);
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    canvas.LineTo(4, 4);
    canvas.LineTo(0, 4);
    canvas.LineTo(0, 0);
    // Inverting twice would leave a corner black.
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   "#####",
                                   "#...#",
                                   "#...#",
                                   "#...#",
                                   "#####",
                               }));
}

TEST(CanvasLines, InvertingTwiceRestoresThePane)
{
    TCanvas canvas(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            canvas.SetPixel(x, y, static_cast<TColour>(x * 5 + y * 700 + 0x10203));
    const std::vector<std::uint32_t> before(canvas.Pixels(), canvas.Pixels() + 40 * 30);
    canvas.SetPenMode(TPenMode::Invert);
    for (int width : {1, 3, 6}) {
        canvas.SetPenWidth(width);
        for (int pass = 0; pass < 2; ++pass) {
            canvas.Line(-5, 3, 45, 20);
            canvas.Line(12, -100, 13, 100);
        }
    }
    EXPECT_EQ(std::vector<std::uint32_t>(canvas.Pixels(), canvas.Pixels() + 40 * 30), before);
    canvas.SetPenWidth(1);
    canvas.Line(0, 0, 3, 0);
    EXPECT_EQ(canvas.GetPixel(1, 0), before[1] ^ 0x00FFFFFF);
}

// Drawn on a small canvas, a line gives the same pixels as the part of it that a large canvas
// shows there, whatever its ends: clipping never bends a line.
TEST(CanvasLines, ClippingKeepsThePixelsOfTheWholeLine)
{
    const int ends[][4] = {{-30, -7, 50, 41},  {25, -40, 3, 60}, {-100, 13, 130, 14},
                           {60, 60, -20, -20}, {7, 45, 9, -33},  {-3, 5, 70, 5}};
    for (const auto& e : ends) {
        TCanvas big(200, 200);
        big.SetPenColour(kWhite);
        big.Line(e[0] + 100, e[1] + 100, e[2] + 100, e[3] + 100);
        TCanvas small(20, 16);
        small.SetPenColour(kWhite);
        small.Line(e[0], e[1], e[2], e[3]);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x)
                ASSERT_EQ(small.GetPixel(x, y), big.GetPixel(x + 100, y + 100))
                    << "line " << e[0] << "," << e[1] << " - " << e[2] << "," << e[3] << " at " << x
                    << "," << y;
    }
}

TEST(CanvasLines, ClippingKeepsRandomStrokesOfEveryWidth)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-60, 80);
    TCanvas big(200, 200);
    TCanvas small(24, 18);
    big.SetPenColour(kWhite);
    small.SetPenColour(kWhite);
    for (int width : {1, 2, 5}) {
        big.SetPenWidth(width);
        small.SetPenWidth(width);
        for (int n = 0; n < 300; ++n) {
            const int x0 = coordinate(random), y0 = coordinate(random);
            const int x1 = coordinate(random), y1 = coordinate(random);
            big.Clear(0);
            big.Line(x0 + 100, y0 + 100, x1 + 100, y1 + 100);
            small.Clear(0);
            small.Line(x0, y0, x1, y1);
            for (int y = 0; y < 18; ++y)
                for (int x = 0; x < 24; ++x)
                    ASSERT_EQ(small.GetPixel(x, y), big.GetPixel(x + 100, y + 100))
                        << "width " << width << " line " << x0 << "," << y0 << " - " << x1 << ","
                        << y1 << " at " << x << "," << y;
        }
    }
}

TEST(CanvasLines, ExtremeCoordinatesAreSafeAndCheap)
{
    TCanvas canvas(64, 48);
    canvas.SetPenColour(kWhite);
    canvas.Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    canvas.Line(INT_MAX, 0, INT_MIN, 47);
    canvas.SetPenWidth(9);
    canvas.Line(INT_MIN, 20, INT_MAX, 20);
    canvas.Line(INT_MIN, INT_MIN, INT_MIN, INT_MAX);
    EXPECT_EQ(canvas.GetPixel(10, 20), kWhite);
    EXPECT_EQ(canvas.GetPixel(10, 24), kWhite); // within the 9-pixel stroke
    EXPECT_EQ(canvas.GetPixel(10, 26), 0u);
}

TEST(CanvasLines, WidePensDrawRoundStrokesWithTheirEnds)
{
    TCanvas canvas(12, 9);
    canvas.SetPenColour(kWhite);
    canvas.SetPenWidth(4);
    canvas.Line(3, 4, 8, 4);
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   "............",
                                   "............",
                                   "..#######...",
                                   ".#########..",
                                   ".#########..",
                                   "..#######...",
                                   "............",
                                   "............",
                                   "............",
                               }));
}

TEST(CanvasLines, AWidePenDotIsARoundTipAndHugeWidthsAreCapped)
{
    TCanvas canvas(7, 7);
    canvas.SetPenColour(kWhite);
    canvas.SetPenWidth(5);
    canvas.Line(3, 3, 3, 3);
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   ".......",
                                   "..###..",
                                   ".#####.",
                                   ".#####.",
                                   ".#####.",
                                   "..###..",
                                   ".......",
                               }));
    canvas.SetPenWidth(1000000);
    EXPECT_EQ(canvas.PenWidth(), TCanvas::kMaxPenWidth);
    canvas.Clear(0);
    canvas.Line(-5000, -5000, 5000, 5000);
    EXPECT_EQ(canvas.GetPixel(6, 0), kWhite);
}

TEST(CanvasFill, ExcludesTheRightAndBottomEdges)
{
    TCanvas canvas(6, 5);
    canvas.FillRect(1, 1, 4, 3, kWhite);
    canvas.FillRect(5, 0, 5, 5, kWhite); // empty
    canvas.FillRect(3, 4, 1, 5, kWhite); // empty
    canvas.FillRect(-10, 4, 1, 100, kWhite);
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   "......",
                                   ".###..",
                                   ".###..",
                                   "......",
                                   "#.....",
                               }));
}

TEST(CanvasText, WritesGlyphsFromTheTopLeftCorner)
{
    TCanvas canvas(14, 9);
    canvas.SetFontColour(kWhite);
    canvas.TextOut(1, 1, "XZ");
    EXPECT_EQ(Picture(canvas), (std::vector<std::string>{
                                   "..............",
                                   ".#...#.#####..",
                                   ".#...#.....#..",
                                   "..#.#.....#...",
                                   "...#.....#....",
                                   "..#.#...#.....",
                                   ".#...#.#......",
                                   ".#...#.#####..",
                                   "..............",
                               }));
    canvas.Clear(0);
    canvas.SetTextBackground(0x000080);
    canvas.TextOut(-3, 5, "y?");
    EXPECT_EQ(canvas.GetPixel(0, 5), 0x000080u); // cell background
    EXPECT_EQ(canvas.GetPixel(0, 7), kWhite);    // the right arm of the Y
    EXPECT_EQ(canvas.GetPixel(5, 6), 0x000080u); // unknown glyph: blank cell
    canvas.TextOut(INT_MAX, INT_MIN, "Y");
    canvas.TextOut(INT_MIN, 0, "YYY");
}

TEST(CanvasScreen, ConvertsToOpaqueArgb)
{
    EXPECT_EQ(ToScreenArgb(0x00332211), 0xFF112233u);
    TCanvas canvas(2, 1);
    canvas.SetPixel(1, 0, 0x000000FF);
    std::uint32_t out[4] = {};
    CanvasToScreen(canvas, out, 2);
    EXPECT_EQ(out[0], 0xFF000000u);
    EXPECT_EQ(out[1], 0xFFFF0000u);
}

} // namespace
} // namespace kalvo
