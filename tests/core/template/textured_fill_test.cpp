// The texture preview as the renderer draws it: the template's lookup and transparency seen
// through the polygon filler.

#include "core/model/preview_obj.h"
#include "core/preview/canvas.h"
#include "core/preview/dib.h"
#include "core/preview/shading.h"
#include "core/template/map_template.h"
#include "tests/core/template/template_test_support.h"
#include "tests/support/golden_image.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

using test::CompareImageWithGolden;
using test::MakeUVModel;

constexpr TColour kPaneBack = 0xABCDEF;
constexpr TColour kClear = 0x00FF00; // the transparent colour

// A template one pixel high whose column x is transparent when even, else colour x.
void SetUpStripes(TMapTemplate& map, int width)
{
    ASSERT_TRUE(map.SetupTemplate(width, 1));
    TCanvas picture(width, 1);
    for (int x = 0; x < width; ++x)
        picture.SetPixel(x, 0, x % 2 == 0 ? kClear : static_cast<TColour>(x));
    map.LoadPicture(picture);
    map.TransparentColour = kClear;
}

struct TFillFixture
{
    TpreviewObj Model = MakeUVModel({{0.0, 0.0}, {1.0, 1.0}}, {{0, 1}});
    TMapTemplate Map;
    TDrawScratch Scratch;
    TCanvas Pane{16, 2};
    TDIB Bitmap;

    TFillFixture()
    {
        Map.SetModel(&Model);
        Scratch.TexturePreview = true;
        Pane.Clear(kPaneBack);
        Bitmap.Allocate(16, 2, false, true);
        Bitmap.ClearDepth();
    }

    // Row 1 from column 0 to 15 at depth 1, u running so that column x samples texel x.
    void FillRow(TColour intensity)
    {
        SpanRow span;
        span.Left = 0;
        span.Right = 15;
        span.LeftDepth = span.RightDepth = 1.0;
        span.LeftU = 0.0;
        span.RightU = 15.0 / 16.0;
        span.LeftV = span.RightV = 0.75;
        FillSpan(Model, Scratch, span, 1, false, Pane, Bitmap, intensity);
    }
};

TEST(TexturedFill, LeavesColourAndDepthOfTransparentTexelsUntouched)
{
    TFillFixture f;
    SetUpStripes(f.Map, 16);
    f.Map.Transparency = true;
    f.Bitmap.SetDepth(4, 1, 2.0); // something farther already drawn there
    f.FillRow(255);
    for (int x = 0; x < 16; ++x) {
        if (x % 2 == 0) {
            EXPECT_EQ(f.Pane.GetPixel(x, 1), kPaneBack) << x;
            EXPECT_EQ(f.Bitmap.GetDepth(x, 1), x == 4 ? 2.0 : -1.0) << x;
        } else {
            EXPECT_EQ(f.Pane.GetPixel(x, 1), static_cast<TColour>(x)) << x;
            EXPECT_EQ(f.Bitmap.GetDepth(x, 1), 1.0) << x;
        }
    }
}

TEST(TexturedFill, DrawsTheTransparentColourWhenTransparencyIsOff)
{
    TFillFixture f;
    SetUpStripes(f.Map, 16);
    f.FillRow(255);
    EXPECT_EQ(f.Pane.GetPixel(4, 1), kClear);
    EXPECT_EQ(f.Bitmap.GetDepth(4, 1), 1.0);
}

TEST(TexturedFill, ShadesTexelsByTheFacesIntensity)
{
    const struct
    {
        bool Shade;
        TColour Intensity, Texel, Expected;
    } cases[] = {
        // 255 * 128 / 256 = 127.5 rounds to the even 128.
        {true, 128, 64 | 128 << 8 | 255u << 16, 32 | 64 << 8 | 128u << 16},
        {true, 255, 0xFFFFFF, 254 | 254 << 8 | 254u << 16},
        {true, 0, 0xFFFFFF, 0},
        {false, 128, 64 | 128 << 8 | 255u << 16, 64 | 128 << 8 | 255u << 16},
    };
    for (const auto& c : cases) {
        TFillFixture f;
        ASSERT_TRUE(f.Map.SetupTemplate(16, 1));
        TCanvas picture(1, 1);
        picture.SetPixel(0, 0, c.Texel);
        f.Map.LoadPicture(picture);
        f.Scratch.TextureShade = c.Shade;
        f.FillRow(c.Intensity);
        EXPECT_EQ(f.Pane.GetPixel(7, 1), c.Expected) << c.Shade << " " << c.Intensity;
    }
}

TEST(TexturedFill, FallsBackToRedShadesWithoutATemplate)
{
    TFillFixture f;
    ASSERT_TRUE(f.Map.SetupTemplate(16, 1));
    f.Map.SetModel(nullptr);
    f.FillRow(200);
    EXPECT_EQ(f.Pane.GetPixel(7, 1), 200u);
}

// A face whose u runs from 0.9 on its left to 0.1 on its right, across the seam, with its
// corners projected into scratch.
TpreviewObj SeamQuad(TDrawScratch& scratch)
{
    TpreviewObj model;
    const VertexInput corners[] = {
        FillVertexInput(0, 0, 0, 0.9, 0.7, 0, 1, false),
        FillVertexInput(1, 0, 0, 0.1, 0.7, 0, 1, false),
        FillVertexInput(1, 0, -1, 0.1, 0.3, 0, 1, false),
        FillVertexInput(0, 0, -1, 0.9, 0.3, 0, 1, false),
    };
    model.AddPolygonByCorners(0xFFFFFF, corners, 4);
    model.MinU = model.MinV = 0.0;
    model.MaxU = model.MaxV = 1.0;
    const double screen[4][2] = {{8, 8}, {56, 8}, {56, 40}, {8, 40}};
    for (int i = 0; i < 4; ++i) {
        TVecPointC p = model.Vertices[i];
        p.x = screen[i][0];
        p.y = screen[i][1];
        p.z = 1.0;
        scratch.Projected.push_back(p);
    }
    scratch.TexturePreview = true;
    return model;
}

TEST(TexturedFill, TexturesAFaceAcrossTheSeamFromTheTemplatesEdges)
{
    TDrawScratch scratch;
    TpreviewObj model = SeamQuad(scratch);
    TMapTemplate map;
    map.SetModel(&model);
    ASSERT_TRUE(map.SetupTemplate(64, 32));
    // Column x of the texture carries 4x in red, row y 8y in green.
    TCanvas picture(64, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture.SetPixel(x, y, static_cast<TColour>(4 * x) | static_cast<TColour>(8 * y) << 8);
    map.LoadPicture(picture);

    TCanvas pane(64, 48);
    pane.Clear(0xFF0000);
    TDIB bitmap;
    bitmap.Allocate(64, 48, false, true);
    bitmap.ClearDepth();
    FillPolygon(model, scratch, 0, false, pane, bitmap);

    // u 0.9 .. 1.1 is columns 58 .. 63 and then 0 .. 6: never the middle of the template.
    int drawn = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const TColour c = pane.GetPixel(x, y);
            if (c == 0xFF0000)
                continue;
            ++drawn;
            const int column = static_cast<int>(c & 0xFF) / 4;
            EXPECT_TRUE(column >= 57 || column <= 7) << x << ", " << y << ": " << column;
        }
    EXPECT_GT(drawn, 40 * 25);
    EXPECT_EQ(CompareImageWithGolden("textured_seam.ppm", pane), "");
}

} // namespace
} // namespace kalvo
