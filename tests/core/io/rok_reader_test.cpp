#include "core/io/rok_reader.h"
#include "core/model/preview_obj.h"
#include "tests/support/recording_sink.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kalvo::test {
namespace {

// ROK text put together record by record.
struct TRokText
{
    std::vector<std::string> Lines = {"ROKU4 test"};

    TRokText& Palette(const std::vector<std::array<int, 3>>& colours)
    {
        Add({"PALC0", std::to_string(colours.size()), "0"});
        for (const auto& c : colours)
            Add({std::to_string(c[0]), std::to_string(c[1]), std::to_string(c[2]), "0", "0", "0",
                 "0"});
        return Add({"ENDP0"});
    }
    TRokText& Point(int group, const std::string& xyz)
    {
        return Add({std::to_string(++points), std::to_string(group), "0", "0", "0", xyz});
    }
    TRokText& Line(int a, int b) { return Add({std::to_string(a), std::to_string(b), "0", "0"}); }
    TRokText& Face(int colour, const std::vector<int>& lines)
    {
        Add({std::to_string(lines.size()), std::to_string(colour), "0"});
        for (int line : lines)
            Add({std::to_string(line)});
        return *this;
    }
    TRokText& Add(const std::vector<std::string>& lines)
    {
        Lines.insert(Lines.end(), lines.begin(), lines.end());
        return *this;
    }
    std::string Text() const
    {
        std::string text;
        for (const std::string& line : Lines)
            text += line + "\r\n";
        return text;
    }

    int points = 0;
};

struct TRokRead
{
    TpreviewObj Model;
    TRecordingSink Sink;
    bool PaletteRead = false;
    std::vector<TColour> Palette;
};

void ReadRok(const std::string& text, TRokRead& read)
{
    TROKobject reader(read.Sink);
    read.PaletteRead = reader.ReadPaletteFromBytes(text);
    read.Palette = reader.Palette();
    if (!read.PaletteRead)
        return;
    TpreviewObj& model = read.Model;
    reader.ReadGeometry(model);
}

// A square in the file's XY plane (Z = 0) as four points, four lines and one face.
TRokText Square(int group = 0)
{
    TRokText rok;
    rok.Add({"POINT"})
        .Point(group, "0 0 0")
        .Point(group, "1 0 0")
        .Point(group, "1 1 0")
        .Point(group, "0 1 0");
    rok.Add({"LINE0"}).Line(1, 2).Line(2, 3).Line(3, 4).Line(4, 1);
    return rok;
}

TEST(RokReader, ConvertsAxesAndScaleOfAPoint)
{
    TRokText rok;
    rok.Add({"POINT"}).Point(0, "1 2 3").Add({"END00"});
    TRokRead read;
    ReadRok(rok.Text(), read);
    ASSERT_EQ(read.Model.VertexCount(), 1);
    const TVecPointC& vertex = read.Model.Vertices[0];
    EXPECT_NEAR(vertex.x, 2.54, 1e-12);
    EXPECT_NEAR(vertex.y, 7.62, 1e-12);
    EXPECT_NEAR(vertex.z, -5.08, 1e-12);
    EXPECT_EQ(vertex.u, 1.0);
    EXPECT_EQ(vertex.v, 3.0);
    EXPECT_EQ(vertex.flag, 25);
    EXPECT_TRUE(read.Sink.Messages.empty());
}

TEST(RokReader, ColoursFacesFromThePaletteOrTheDefault)
{
    TRokRead plain;
    ReadRok(Square().Add({"FACE0"}).Face(0, {1, 2, 3, 4}).Text(), plain);
    ASSERT_EQ(plain.Model.PolygonCount(), 1);
    EXPECT_EQ(plain.Model.Polygons[0].colour, 0x8080FFu);

    TRokText rok;
    rok.Palette({{10, 20, 30}, {255, 0, 128}});
    const auto square = Square();
    rok.Add({square.Lines.begin() + 1, square.Lines.end()});
    rok.Add({"FACE0"}).Face(1, {1, 2, 3, 4}).Face(7, {4, 3, 2, 1}).Face(-1, {1, 2, 3, 4});
    TRokRead coloured;
    ReadRok(rok.Text(), coloured);
    ASSERT_EQ(coloured.Model.PolygonCount(), 3);
    EXPECT_EQ(coloured.Model.Polygons[0].colour, 0x8000FFu);
    EXPECT_EQ(coloured.Model.Polygons[1].colour, 0x1E140Au) << "outside the palette: entry 0";
    EXPECT_EQ(coloured.Model.Polygons[2].colour, 0x1E140Au);
    EXPECT_EQ(coloured.Model.Polygons[0].sides, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(coloured.Model.Polygons[1].sides, (std::vector<int>{3, 2, 1, 0}));
}

TEST(RokReader, SortsGroupsAndKeepsEdgesOnTheirPoints)
{
    TRokText rok;
    rok.Add({"point"}).Point(0, "0 0 0").Point(1, "5 0 0").Point(0, "1 0 0").Point(1, "6 0 0");
    rok.Add({"line0"}).Line(1, 3).Line(2, 4).Add({"end00"});
    TRokRead read;
    ReadRok(rok.Text(), read);
    const TpreviewObj& model = read.Model;
    ASSERT_EQ(model.VertexCount(), 4);
    EXPECT_EQ(model.GroupCount, 2);
    EXPECT_EQ(model.Vertices[0].group, 0);
    EXPECT_EQ(model.Vertices[1].group, 0);
    EXPECT_EQ(model.Vertices[2].group, 1);
    EXPECT_EQ(model.Groups[1].FirstVertex, 2);
    ASSERT_EQ(model.EdgeCount(), 2);
    // Edge 0 joins file X = 0 and 1, edge 1 joins X = 5 and 6 (model x = 2.54 X).
    const auto fileX = [&](int vertex) { return model.Vertices[vertex].u; };
    EXPECT_EQ(fileX(model.Edges[0].StartVertex) + fileX(model.Edges[0].EndVertex), 1.0);
    EXPECT_EQ(fileX(model.Edges[1].StartVertex) + fileX(model.Edges[1].EndVertex), 11.0);
}

TEST(RokReader, KeepsFacesOfManyCornersAndReadsTheRecordAfterThem)
{
    TRokText rok;
    rok.Add({"POINT"});
    for (int i = 0; i < 12; ++i)
        rok.Point(0, std::to_string(i) + " " + std::to_string(i * i) + " 0");
    rok.Add({"LINE0"});
    std::vector<int> all;
    for (int i = 1; i <= 12; ++i) {
        rok.Line(i, i % 12 + 1);
        all.push_back(i);
    }
    rok.Add({"FACE0"}).Face(0, all).Face(0, {1, 2, 12});
    TRokRead read;
    ReadRok(rok.Text(), read);
    ASSERT_EQ(read.Model.PolygonCount(), 2);
    EXPECT_EQ(read.Model.Polygons[0].count(), 12);
    EXPECT_EQ(read.Model.Polygons[1].sides, (std::vector<int>{0, 1, 11}));
}

TEST(RokReader, MapsFileNumbersThroughMergedPointsAndLines)
{
    TRokText rok;
    // Point 3 repeats point 1; line 3 repeats line 1 the other way round.
    rok.Add({"POINT"}).Point(0, "0 0 0").Point(0, "1 0 0").Point(0, "0 0 0").Point(0, "0 1 0");
    rok.Add({"LINE0"}).Line(1, 2).Line(2, 4).Line(2, 3).Line(4, 3);
    rok.Add({"FACE0"}).Face(0, {3, 2, 4});
    TRokRead read;
    ReadRok(rok.Text(), read);
    const TpreviewObj& model = read.Model;
    ASSERT_EQ(model.VertexCount(), 3);
    ASSERT_EQ(model.EdgeCount(), 3);
    ASSERT_EQ(model.PolygonCount(), 1);
    EXPECT_EQ(model.Polygons[0].sides, (std::vector<int>{0, 1, 2}));
    // The last line joins the point at file (0, 1) to the origin.
    const TEdgeC& last = model.Edges[2];
    EXPECT_EQ(model.Vertices[last.StartVertex].v + model.Vertices[last.EndVertex].v, 0.0);
    EXPECT_EQ(model.Vertices[last.StartVertex].z + model.Vertices[last.EndVertex].z, -2.54);
    EXPECT_TRUE(read.Sink.Messages.empty());
}

TEST(RokReader, DropsRecordsNamingMissingPointsOrLinesWithOneMessage)
{
    TRokText rok = Square();
    rok.Line(1, 9).Line(0, 2); // lines 5 and 6 name no point
    rok.Add({"FACE0"}).Face(0, {1, 2, 3, 4}).Face(0, {1, 5, 4}).Face(0, {1, 2, 30});
    TRokRead read;
    ReadRok(rok.Text(), read);
    EXPECT_EQ(read.Model.EdgeCount(), 4);
    EXPECT_EQ(read.Model.PolygonCount(), 1);
    ASSERT_EQ(read.Sink.Messages.size(), 1u);
    EXPECT_NE(read.Sink.Messages[0].text.find(" 4 "), std::string::npos)
        << read.Sink.Messages[0].text;
}

TEST(RokReader, RefusesAFileWithoutTheSignature)
{
    TRokRead read;
    ReadRok("ROK\r\nPOINT\r\n", read);
    EXPECT_FALSE(read.PaletteRead);
    ASSERT_EQ(read.Sink.Messages.size(), 1u);
    EXPECT_EQ(read.Sink.Messages[0].text, "ファイル形式の認識ができません。");
}

struct TDamageCase
{
    const char* Name;
    std::vector<std::string> Tail; // appended to a square's lines
    bool PaletteRead;
    int Vertices;
    int Polygons;
};

class RokDamage : public ::testing::TestWithParam<TDamageCase>
{
};

TEST_P(RokDamage, EndsWithAMessageKeepingWhatWasRead)
{
    const TDamageCase& c = GetParam();
    TRokText rok = Square().Add({"FACE0"}).Face(0, {1, 2, 3, 4});
    rok.Add(c.Tail);
    TRokRead read;
    ReadRok(rok.Text(), read);
    EXPECT_EQ(read.PaletteRead, c.PaletteRead);
    EXPECT_EQ(read.Model.VertexCount(), c.Vertices);
    EXPECT_EQ(read.Model.PolygonCount(), c.Polygons);
    ASSERT_EQ(read.Sink.Messages.size(), 1u);
    EXPECT_EQ(read.Sink.Messages[0].kind, TMsgKind::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RokDamage,
    ::testing::Values(
        TDamageCase{"NegativePaletteCount", {"PALC0", "-3", "0", "ENDP0"}, false, 0, 0},
        TDamageCase{"HugePaletteCutShort", {"PALC0", "2000000000", "0", "1", "2"}, false, 0, 0},
        TDamageCase{"PaletteCountNotANumber", {"PALC0", "many", "0"}, false, 0, 0},
        TDamageCase{"PaletteColourNotANumber", {"PALC0", "1", "0", "red"}, false, 0, 0},
        TDamageCase{
            "CoordinatesNotNumbers", {"POINT", "5", "0", "0", "0", "0", "1 two 3"}, true, 4, 1},
        TDamageCase{"CoordinatesMissing", {"POINT", "5", "0", "0", "0", "0", "1 2"}, true, 4, 1},
        TDamageCase{"GroupNotANumber", {"POINT", "5", "g", "0", "0", "0", "1 2 3"}, true, 4, 1},
        TDamageCase{"FaceCountNotANumber", {"FACE0", "three", "0", "0"}, true, 4, 1},
        TDamageCase{"NegativeFaceCount", {"FACE0", "-2", "0", "0"}, true, 4, 1},
        TDamageCase{
            "HugeFaceCountCutShort", {"FACE0", "2000000000", "0", "0", "1", "2"}, true, 4, 1},
        TDamageCase{"RecordCutShort", {"POINT", "5", "0", "0"}, true, 4, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace kalvo::test
