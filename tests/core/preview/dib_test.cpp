#include "core/preview/canvas.h"
#include "core/preview/dib.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

TDIB Image(int width, int height, bool colour = true, bool depth = true)
{
    TDIB dib;
    dib.SetSize(width, height, colour, depth);
    return dib;
}

TEST(DibPalette, HasTruncatedThreeThreeTwoLevels)
{
    const auto& palette = TDIB::Palette();
    EXPECT_EQ(palette[255], 0x00FFFFFFu);
    EXPECT_EQ(palette[7], 0x000000FFu);
    EXPECT_EQ(palette[1], 0x00000024u);                  // red 36
    EXPECT_EQ(palette[8 * 3], 0x00006D00u);              // green 109
    EXPECT_EQ(palette[64 * 2 + 8 * 5 + 4], 0x00AAB692u); // 146, 182, 170
}

TEST(DibPixels, FlatColoursDitherIntoFixedPatterns)
{
    TDIB dib = Image(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            dib.SetPixel(x, y, 0x00FFFFFF);
            EXPECT_EQ(dib.GetIndex(x, y), 255);
            dib.SetPixel(x, y, 0);
            EXPECT_EQ(dib.GetIndex(x, y), 0);
        }
}

TEST(DibPixels, RedSixteenLightsHalfThePositionsByThreshold)
{
    TDIB dib = Image(4, 8);
    int lit = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x) {
            dib.SetPixel(x, y, 16);
            const int index = dib.GetIndex(x, y);
            EXPECT_EQ(index, TDIB::DitherThreshold(x, y) < 16 ? 1 : 0);
            lit += index;
        }
    EXPECT_EQ(lit, 16);
    // The matrix rows run along x mod 4 and its columns along y mod 8.
    EXPECT_EQ(TDIB::DitherThreshold(1, 0), 16);
    EXPECT_EQ(TDIB::DitherThreshold(0, 1), 20);
    EXPECT_EQ(TDIB::DitherThreshold(6, 15), 31);
    // Pattern at the first positions of row 0: thresholds 0, 16, 4, 23.
    TDIB row = Image(4, 1);
    for (int x = 0; x < 4; ++x)
        row.SetPixel(x, 0, 16);
    EXPECT_EQ(row.GetIndex(0, 0), 1);
    EXPECT_EQ(row.GetIndex(1, 0), 0);
    EXPECT_EQ(row.GetIndex(2, 0), 1);
    EXPECT_EQ(row.GetIndex(3, 0), 0);
}

TEST(DibPixels, ChannelsSaturateAndBlueUsesHalfTheRemainder)
{
    // R = 250: 7 + (t < 26) capped at 7; B = 100: 1 + (t < 18).
    EXPECT_EQ(TDIB::DitheredIndex(0, 0, 0x006400FA), 7 + 64 * 2); // t = 0
    EXPECT_EQ(TDIB::DitheredIndex(3, 0, 0x006400FA), 7 + 64 * 1); // t = 23
    EXPECT_EQ(TDIB::DitheredIndex(1, 0, 0x0000FF00), 8 * 7);      // green 255
}

TEST(DibFill, UsesTheUnditheredIndex)
{
    TDIB dib = Image(8, 4);
    dib.Fill(0x00C0C0C0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dib.GetIndex(x, y), 173);
}

TEST(DibDepth, ClearsToMinusOneAndIgnoresOutsidePositions)
{
    TDIB dib = Image(12, 5);
    dib.ClearDepth();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(dib.GetDepth(x, y), -1.0);
    dib.SetDepth(3, 2, 0.1);
    EXPECT_EQ(dib.GetDepth(3, 2), static_cast<double>(0.1f));
    dib.SetDepth(-1, 0, 5.0);
    dib.SetDepth(12, 0, 5.0);
    dib.SetDepth(0, 5, 5.0);
    EXPECT_EQ(dib.GetDepth(-1, 0), 0.0);
    EXPECT_EQ(dib.GetDepth(12, 0), 0.0);
    EXPECT_EQ(dib.GetDepth(11, 0), -1.0);
    EXPECT_EQ(dib.GetDepth(0, 4), -1.0);
}

TEST(DibBuffers, AbsentBuffersMakeEveryOperationANoOp)
{
    TDIB dib = Image(4, 4, false, false);
    dib.Fill(0xFFFFFF);
    dib.SetPixel(1, 1, 0xFFFFFF);
    dib.ClearDepth();
    dib.SetDepth(1, 1, 2.0);
    EXPECT_EQ(dib.GetIndex(1, 1), 0);
    EXPECT_EQ(dib.GetDepth(1, 1), 0.0);
    TCanvas canvas(4, 4);
    dib.Draw(canvas, 0, 0, 4, 4);
    EXPECT_EQ(canvas.GetPixel(1, 1), 0u);

    TDIB negative;
    negative.Allocate(-4, 4, true, true);
    EXPECT_FALSE(negative.HasColour());
    EXPECT_FALSE(negative.HasDepth());
    negative.SetPixel(0, 0, 1);
}

TEST(DibSize, KeepsContentWhenNothingChangesAndReallocatesOtherwise)
{
    TDIB dib = Image(8, 4, true, false);
    dib.Fill(0x00FFFFFF);
    const std::uint8_t* before = dib.Indices();
    dib.SetSize(8, 4, true, false);
    EXPECT_EQ(dib.Indices(), before);
    EXPECT_EQ(dib.GetIndex(7, 3), 255);

    dib.SetSize(8, 4, true, true); // only the depth flag changes
    EXPECT_TRUE(dib.HasDepth());
    dib.ClearDepth();
    EXPECT_EQ(dib.GetDepth(7, 3), -1.0);
    dib.SetSize(12, 4, true, true);
    EXPECT_EQ(dib.Width(), 12);
    dib.SetPixel(11, 3, 0x00FFFFFF);
    EXPECT_EQ(dib.GetIndex(11, 3), 255);
}

TEST(DibDraw, CopiesThroughThePaletteClippedToBoth)
{
    TDIB dib = Image(4, 4, true, false);
    dib.Fill(0);
    dib.SetPixel(1, 1, 0x00FFFFFF);
    dib.SetPixel(3, 3, 0x000000FF);
    TCanvas canvas(3, 6);
    canvas.Clear(0x123456);
    dib.Draw(canvas, 0, 0, 4, 4);
    EXPECT_EQ(canvas.GetPixel(1, 1), 0x00FFFFFFu);
    EXPECT_EQ(canvas.GetPixel(0, 0), 0u);
    EXPECT_EQ(canvas.GetPixel(2, 3), 0u);
    EXPECT_EQ(canvas.GetPixel(2, 4), 0x123456u); // below the image: untouched

    canvas.Clear(0x123456);
    dib.Draw(canvas, 1, 1, 1, 1);
    EXPECT_EQ(canvas.GetPixel(1, 1), 0x00FFFFFFu);
    EXPECT_EQ(canvas.GetPixel(0, 0), 0x123456u);
    EXPECT_EQ(canvas.GetPixel(2, 2), 0x123456u);
}

} // namespace
} // namespace kalvo
