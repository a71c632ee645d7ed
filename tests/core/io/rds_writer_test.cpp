#include "core/base/cp932.h"
#include "core/base/errors.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "tests/support/test_paths.h"

#include <algorithm>
#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kalvo {
namespace {

// The one-triangle object "Box" with mapping coordinates equal to x and y.
void FillBox(TpreviewObj& model, const std::string& name = "Box")
{
    model.Name = name;
    model.AddPolygonByCorners(0, {FillVertexInput(0, 0, 0, 0, 0, 0, 0, false),
                                  FillVertexInput(1, 0, 0, 1, 0, 0, 0, false),
                                  FillVertexInput(0, 1, 0, 0, 1, 0, 0, false)});
    ASSERT_EQ(model.CountEdgeUse(), 1);
}

std::string Write(const std::vector<const TpreviewObj*>& models)
{
    TRDSwriter writer;
    for (const TpreviewObj* model : models)
        writer.AddObject(*model);
    return writer.WriteToString();
}

// The lines of a written file, without their CR LF ends.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

// The lines starting with prefix (after the indentation), in file order.
std::vector<std::string> LinesWith(const std::string& text, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : Lines(text)) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, prefix.size(), prefix) == 0)
            found.push_back(line.substr(first));
    }
    return found;
}

// Numbers keep their decimal point whatever locale the program runs in: a locale that writes
// decimal commas (as QApplication sets from the environment) must not reach the file.
TEST(RdsWriting, BoxComesOutExactlyAsTheGoldenFileInEveryLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::string missing;
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        SCOPED_TRACE(locale);
        if (!std::setlocale(LC_ALL, locale)) {
            missing += std::string(" ") + locale;
            continue;
        }
        TpreviewObj box;
        FillBox(box);
        const std::string boxText = Write({&box});
        box.AddVertex(FillVertexInput(0.5, -2.25, 1e6, 0.125, 0.375, 0, 0, false));
        const std::string text = Write({&box});
        std::setlocale(LC_ALL, saved.c_str());
        EXPECT_EQ(test::CompareWithGolden("box.rds", boxText), "");
        EXPECT_EQ(LinesWith(text, "Posn").back(), "Posn 0.50000000,-2.25000000,1000000.00000000");
        EXPECT_EQ(LinesWith(text, "UV ").back(), "UV 0.12500000,0.37500000");
    }
    std::setlocale(LC_ALL, saved.c_str());
    if (!missing.empty())
        GTEST_SKIP() << "locale not installed:" << missing;
}

TEST(RdsWriting, MeshValuesOfTheObjectAreWrittenBack)
{
    TpreviewObj model;
    FillBox(model);
    model.CAng = 45.125;
    model.UVMo = -3;
    model.UPSA[0] = 7;
    model.UPSA[1] = -1;
    model.ABoo = 2;
    model.MinU = -0.5;
    model.MinV = 0.004;
    model.MaxU = 1.995;
    model.MaxV = 12.0;
    model.AddVertex(FillVertexInput(1, -2.5, 0, 0.25, 1, 0, -17, false));
    const std::string text = Write({&model});
    EXPECT_EQ(LinesWith(text, "CAng"), std::vector<std::string>{"CAng 45.12"});
    EXPECT_EQ(LinesWith(text, "UVMo"), std::vector<std::string>{"UVMo -3"});
    EXPECT_EQ(LinesWith(text, "UPSA"), std::vector<std::string>{"UPSA 7,-1"});
    EXPECT_EQ(LinesWith(text, "ABoo"), std::vector<std::string>{"ABoo 2"});
    EXPECT_EQ(LinesWith(text, "USMn"), std::vector<std::string>{"USMn -0.50,0.00"});
    EXPECT_EQ(LinesWith(text, "USMx"), std::vector<std::string>{"USMx 2.00,12.00"});
    EXPECT_EQ(LinesWith(text, "Posn").back(), "Posn 1.00000000,-2.50000000,0.00000000");
    EXPECT_EQ(LinesWith(text, "Flag").back(), "Flag -17");
    EXPECT_EQ(LinesWith(text, "UV ").back(), "UV 0.25000000,1.00000000");
}

// --- The corner list of a polygon, walked from its sides ------------------------------------

struct TWalkCase
{
    const char* name;
    std::vector<std::pair<int, int>> edges; // as stored, start and end
    std::vector<int> sides;
    const char* corners;
};

class PolygonCornerWalk : public ::testing::TestWithParam<TWalkCase>
{
};

TEST_P(PolygonCornerWalk, ListsTheCornersInBoundaryOrder)
{
    TpreviewObj model;
    for (int i = 0; i < 6; ++i)
        model.AddVertex(FillVertexInput(i, 0, 0, 0, 0, 0, 0, false));
    // Edges are placed straight into the list: the building operation would merge the
    // repeated pair some cases need.
    for (const auto& [a, b] : GetParam().edges)
        model.Edges.push_back(TEdgeC{a, b, false, 1});
    model.AddPolygon(0, GetParam().sides);
    const std::string text = Write({&model});
    EXPECT_EQ(LinesWith(text, "PgSz"),
              std::vector<std::string>{"PgSz " + std::to_string(GetParam().sides.size())});
    EXPECT_EQ(LinesWith(text, "Pgon"),
              std::vector<std::string>{std::string("Pgon ") + GetParam().corners});
}

INSTANTIATE_TEST_SUITE_P(
    Polygons, PolygonCornerWalk,
    ::testing::Values(
        TWalkCase{"Triangle", {{0, 1}, {1, 2}, {2, 0}}, {0, 1, 2}, "1,2,0"},
        TWalkCase{"FirstEdgeReversed", {{1, 0}, {1, 2}, {2, 0}}, {0, 1, 2}, "1,2,0"},
        TWalkCase{"AllEdgesReversed", {{1, 0}, {2, 1}, {0, 2}}, {0, 1, 2}, "1,2,0"},
        TWalkCase{"OppositeDirection", {{0, 1}, {1, 2}, {2, 0}}, {2, 1, 0}, "2,1,0"},
        // P, Q, R, S = 3, 4, 5, 0 stored as P-Q, Q-R, R-S, S-P gives Q, R, S, P.
        TWalkCase{"Quadrilateral", {{3, 4}, {5, 4}, {5, 0}, {3, 0}}, {0, 1, 2, 3}, "4,5,0,3"},
        TWalkCase{
            "SidesStartAtALaterEdge", {{0, 1}, {1, 2}, {2, 3}, {3, 0}}, {2, 3, 0, 1}, "3,0,1,2"},
        TWalkCase{"TwoSidesOnOneEdge", {{4, 2}}, {0, 0}, "4,2"},
        // Out from 0 to 1 and back, then out to 2 and back: the last side says where to start.
        TWalkCase{"OutAndBackAlongTheFirstSide", {{0, 1}, {2, 0}}, {0, 0, 1, 1}, "1,0,2,0"},
        TWalkCase{"TwoEdgesBetweenTheSameCorners", {{4, 2}, {2, 4}}, {0, 1}, "4,2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RdsWriting, PolygonWithTwoHundredCornersIsOneLine)
{
    TpreviewObj model;
    model.Name = "Disc";
    std::vector<VertexInput> corners;
    for (int i = 0; i < 200; ++i)
        corners.push_back(FillVertexInput(i, i % 7, 0, 0, 0, 0, 0, false));
    model.AddPolygonByCorners(0, corners);
    const std::string text = Write({&model});
    std::string expected = "Pgon ";
    for (int i = 1; i <= 200; ++i)
        expected += std::to_string(i % 200) + (i < 200 ? "," : "");
    EXPECT_EQ(LinesWith(text, "PgSz"), std::vector<std::string>{"PgSz 200"});
    EXPECT_EQ(LinesWith(text, "Pgon"), std::vector<std::string>{expected});
}

// --- Edges ----------------------------------------------------------------------------------

TEST(RdsWriting, LooseLinesAreLeftOutUnlessTheUserKeepsThem)
{
    TpreviewObj model;
    FillBox(model);
    model.AddEdgeByInputs(FillVertexInput(1, 0, 0, 1, 0, 0, 0, false),
                          FillVertexInput(5, 5, 5, 0, 0, 0, 0, false));
    ASSERT_EQ(model.CountEdgeUse(), -1);
    EXPECT_EQ(LinesWith(Write({&model}), "EdgA"),
              (std::vector<std::string>{"EdgA 0,1", "EdgA 1,2", "EdgA 2,0"}));

    model.SetEdgeUse(1);
    EXPECT_EQ(LinesWith(Write({&model}), "EdgA"),
              (std::vector<std::string>{"EdgA 0,1", "EdgA 1,2", "EdgA 2,0", "EdgA 1,3"}));
}

TEST(RdsWriting, ModelTheValidationHasNotSeenKeepsEveryEdge)
{
    TpreviewObj model;
    model.AddPolygonByCorners(0, {FillVertexInput(0, 0, 0, 0, 0, 0, 0, false),
                                  FillVertexInput(1, 0, 0, 1, 0, 0, 0, false),
                                  FillVertexInput(0, 1, 0, 0, 1, 0, 0, false)});
    model.AddEdgeByInputs(FillVertexInput(1, 0, 0, 1, 0, 0, 0, false),
                          FillVertexInput(5, 5, 5, 0, 0, 0, 0, false));
    EXPECT_EQ(LinesWith(Write({&model}), "EdgA"),
              (std::vector<std::string>{"EdgA 0,1", "EdgA 1,2", "EdgA 2,0", "EdgA 1,3"}));
}

TEST(RdsWriting, ObjectWithoutGeometryGivesEmptyBlocks)
{
    TpreviewObj empty;
    const std::vector<std::string> lines = Lines(Write({&empty}));
    const auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_EQ(at("  }") - at("  Vrts {"), 1);
    EXPECT_EQ(at("  Edgs {") - at("  Vrts {"), 2);
    EXPECT_EQ(at("  Pgns {") - at("  Edgs {"), 2);
    EXPECT_EQ(lines[static_cast<std::size_t>(at("  Pgns {")) + 1], "  }");
}

// --- Names and several objects -------------------------------------------------------------

TEST(RdsWriting, NamesAreQuotedUnlessTheyAlreadyBeginWithAQuote)
{
    const struct
    {
        std::string name;
        std::string value;
    } rows[] = {{"Box", "\"Box\""},
                {"\"Read back\"", "\"Read back\""},
                {"", "\"\""},
                {"a \"b\"", "\"a \"b\"\""}};
    for (const auto& row : rows) {
        TpreviewObj model;
        FillBox(model, row.name);
        const std::string text = Write({&model});
        EXPECT_EQ(LinesWith(text, "nm ").front(), "nm " + row.value) << row.name;
        EXPECT_EQ(LinesWith(text, "ob \""), std::vector<std::string>{"ob " + row.value})
            << row.name;
    }
}

TEST(RdsWriting, JapaneseNamesAreWrittenAsCodePage932Bytes)
{
    TpreviewObj model;
    FillBox(model, Utf8ToCp932("立方体ソ①"));
    const std::string text = Write({&model});
    const std::vector<std::string> names = LinesWith(text, "nm ");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(Cp932ToUtf8(names[0]), "nm \"立方体ソ①\"");
    EXPECT_EQ(names[1], "nm \"\x83\x86\x83\x6a\x83\x6f\x81\x5b\x83\x58\""); // ユニバース
    EXPECT_EQ(Cp932ToUtf8(LinesWith(text, "ob \"").front()), "ob \"立方体ソ①\"");
}

TEST(RdsWriting, SeveralObjectsShareOneObjectBlockAndOneGroupInListOrder)
{
    TpreviewObj first, second;
    FillBox(first, "First");
    FillBox(second, "Second");
    const std::vector<std::string> lines = Lines(Write({&first, &second}));
    std::vector<std::string> structure;
    for (const std::string& line : lines)
        if (line.find('{') != std::string::npos && line.rfind("    VerS", 0) != 0 &&
            line.rfind("  ", 0) != 0)
            structure.push_back(line);
    EXPECT_EQ(structure, (std::vector<std::string>{"3DC {", "sc {", "vmda {", "Pmsh {", "vmda {",
                                                   "Pmsh {", "tr {"}));
    EXPECT_EQ(LinesWith(Write({&first, &second}), "ob \""),
              (std::vector<std::string>{"ob \"First\"", "ob \"Second\""}));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  gr {"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "    so {"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  ob {"), 1);
}

TEST(RdsWriting, NoObjectsStillGivesAWellFormedScene)
{
    EXPECT_EQ(Lines(Write({})).size(), 8u + 8u);
}

} // namespace
} // namespace kalvo
