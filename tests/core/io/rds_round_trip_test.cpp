// A model written by the writer reads back the same, and writing it again gives the text the
// writer's boundary walk predicts.

#include "core/base/cp932.h"
#include "core/io/rds_writer.h"
#include "core/model/uv_projection.h"
#include "tests/core/io/rds_test_files.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace kalvo::test {
namespace {

// Values with few binary digits survive the eight decimals of the file exactly.
VertexInput Corner(double x, double y, double z, double u, double v, int flag)
{
    return FillVertexInput(x, y, z, u, v, 0, flag, false);
}

std::unique_ptr<TpreviewObj> MakeBox()
{
    auto model = std::make_unique<TpreviewObj>();
    model->Name = "Box";
    const double s = 1.5;
    const VertexInput p[8] = {
        Corner(0, 0, 0, 0, 0, 0),      Corner(s, 0, 0, 0.25, 0, 1),
        Corner(s, s, 0, 0.25, 0.5, 2), Corner(0, s, 0, 0, 0.5, 3),
        Corner(0, 0, s, 0.75, 0, 4),   Corner(s, 0, s, 1, 0.125, -5),
        Corner(s, s, s, 1, 1, 6),      Corner(0, s, -s, 0.625, 0.875, 7),
    };
    const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const auto& face : faces) {
        const VertexInput corners[4] = {p[face[0]], p[face[1]], p[face[2]], p[face[3]]};
        model->AddPolygonByCorners(255, corners, 4);
    }
    model->CAng = 45.25;
    model->UVMo = 2;
    model->UPSA[0] = 3;
    model->UPSA[1] = -4;
    model->ABoo = 1;
    model->MinU = 0.0;
    model->MinV = 0.0;
    model->MaxU = 1.0;
    model->MaxV = 1.0;
    return model;
}

// A fan of 40 corners: more than any fixed limit on a polygon line.
std::unique_ptr<TpreviewObj> MakeFan()
{
    auto model = std::make_unique<TpreviewObj>();
    model->Name = Utf8ToCp932("\"扇 形\"");
    std::vector<VertexInput> corners;
    for (int i = 0; i < 40; ++i)
        corners.push_back(Corner(std::cos(i * 0.15625), std::sin(i * 0.15625), -2.5, i / 64.0,
                                 (40 - i) / 64.0, i));
    model->AddPolygonByCorners(255, corners);
    const VertexInput tip = Corner(0, 0, 3, 0.5, 0.5, 99);
    for (int i = 0; i < 3; ++i)
        model->AddPolygonByCorners(255, {corners[i], corners[i + 1], tip});
    // Bounds are written with two decimals; these survive that.
    model->MaxU = 0.75;
    model->MaxV = 0.75;
    return model;
}

std::string Write(const std::vector<TpreviewObj*>& models)
{
    TRDSwriter writer;
    for (TpreviewObj* model : models) {
        model->CountEdgeUse();
        writer.AddObject(*model);
    }
    return writer.WriteToString();
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string Rotated(const std::string& pgonLine)
{
    const std::size_t at = pgonLine.find("Pgon ") + 5;
    std::string list = pgonLine.substr(at);
    const std::size_t comma = list.find(',');
    list = list.substr(comma + 1) + "," + list.substr(0, comma);
    return pgonLine.substr(0, at) + list;
}

// The edge lines of each object, as unordered vertex pairs.
std::vector<std::set<std::pair<int, int>>> EdgeSets(const std::vector<std::string>& lines)
{
    std::vector<std::set<std::pair<int, int>>> sets;
    for (const std::string& line : lines) {
        if (line == "  Edgs {")
            sets.emplace_back();
        const std::size_t at = line.find("EdgA ");
        if (at == std::string::npos)
            continue;
        int a = 0, b = 0;
        char comma = 0;
        std::istringstream(line.substr(at + 5)) >> a >> comma >> b;
        sets.back().insert({std::min(a, b), std::max(a, b)});
    }
    return sets;
}

std::vector<std::string> WithoutEdgeLines(std::vector<std::string> lines)
{
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.find("EdgA") != l.npos; }),
                lines.end());
    return lines;
}

TEST(RdsRoundTrip, ReadsBackWhatTheWriterWrote)
{
    auto box = MakeBox();
    auto fan = MakeFan();
    const std::string first = Write({box.get(), fan.get()});

    TRdsRead read;
    ReadRdsBytes(first, read);
    ASSERT_TRUE(read.Found);
    ASSERT_EQ(read.Models.size(), 2u);
    EXPECT_EQ(read.Names[0], "\"Box\"");
    EXPECT_EQ(read.Names[1], fan->Name) << "a name with its own quotes keeps them";

    const TpreviewObj* originals[2] = {box.get(), fan.get()};
    for (int m = 0; m < 2; ++m) {
        const TpreviewObj& original = *originals[m];
        const TpreviewObj& copy = *read.Models[m];
        SCOPED_TRACE(m);
        ASSERT_EQ(copy.VertexCount(), original.VertexCount());
        for (int i = 0; i < copy.VertexCount(); ++i) {
            const TVecPointC& a = original.Vertices[i];
            const TVecPointC& b = copy.Vertices[i];
            EXPECT_NEAR(b.x, a.x, 5e-9);
            EXPECT_NEAR(b.y, a.y, 5e-9);
            EXPECT_NEAR(b.z, a.z, 5e-9);
            EXPECT_EQ(b.u, a.u);
            EXPECT_EQ(b.v, a.v);
            EXPECT_EQ(b.flag, a.flag);
        }
        EXPECT_EQ(copy.CAng, original.CAng);
        EXPECT_EQ(copy.UVMo, original.UVMo);
        EXPECT_EQ(copy.UPSA[0], original.UPSA[0]);
        EXPECT_EQ(copy.UPSA[1], original.UPSA[1]);
        EXPECT_EQ(copy.ABoo, original.ABoo);
        EXPECT_EQ(copy.MinU, original.MinU);
        EXPECT_EQ(copy.MinV, original.MinV);
        EXPECT_EQ(copy.MaxU, original.MaxU);
        EXPECT_EQ(copy.MaxV, original.MaxV);
        ASSERT_EQ(copy.PolygonCount(), original.PolygonCount());
        for (int p = 0; p < copy.PolygonCount(); ++p) {
            // Same cycle of corners, in the same direction, from any starting corner.
            auto expected = PolygonCorners(original, original.Polygons[p]);
            const auto actual = PolygonCorners(copy, copy.Polygons[p]);
            ASSERT_EQ(actual.size(), expected.size());
            const auto start = std::find(expected.begin(), expected.end(), actual[0]);
            ASSERT_NE(start, expected.end());
            std::rotate(expected.begin(), start, expected.end());
            EXPECT_EQ(actual, expected);
        }
    }

    std::vector<TpreviewObj*> again;
    for (auto& model : read.Models)
        again.push_back(model.get());
    const auto firstLines = SplitLines(first);
    const auto secondLines = SplitLines(Write(again));

    // Edges come back from the polygons, in the order the polygons meet them.
    EXPECT_EQ(EdgeSets(secondLines), EdgeSets(firstLines));
    std::vector<std::string> expected = WithoutEdgeLines(firstLines);
    for (std::string& line : expected)
        if (line.find("Pgon ") != std::string::npos)
            line = Rotated(line);
    EXPECT_EQ(WithoutEdgeLines(secondLines), expected);
}

TEST(RdsRoundTrip, KeepsTheVerticesOfAUvSeamApart)
{
    // The box layout gives each side of the box its own vertices at the shared corners; the
    // file stores them as vertices at one position with different (u, v), which must come back
    // as they were, each polygon on its own.
    auto box = MakeBox();
    ProjectUv(*box, TUvProjection::Box);
    ASSERT_GT(box->VertexCount(), 8);
    TRdsRead read;
    ReadRdsBytes(Write({box.get()}), read);
    ASSERT_EQ(read.Models.size(), 1u);
    const TpreviewObj& copy = *read.Models[0];
    ASSERT_EQ(copy.VertexCount(), box->VertexCount());
    for (int i = 0; i < copy.VertexCount(); ++i) {
        EXPECT_NEAR(copy.Vertices[i].u, box->Vertices[i].u, 5e-9);
        EXPECT_NEAR(copy.Vertices[i].v, box->Vertices[i].v, 5e-9);
    }
    ASSERT_EQ(copy.PolygonCount(), 6);
    for (int p = 0; p < 6; ++p) {
        auto corners = PolygonCorners(copy, copy.Polygons[p]);
        auto expected = PolygonCorners(*box, box->Polygons[p]);
        std::sort(corners.begin(), corners.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(corners, expected);
    }
}

} // namespace
} // namespace kalvo::test
