#include "core/base/errors.h"
#include "core/io/rds_reader.h"
#include "tests/core/io/rds_test_files.h"

#include <gtest/gtest.h>

namespace kalvo::test {
namespace {

std::vector<std::string> Vertex(const std::string& posn, const std::string& uv = "",
                                const std::string& flag = "")
{
    std::vector<std::string> lines = {"    VerS {", "      Posn " + posn};
    if (!flag.empty())
        lines.push_back("      Flag " + flag);
    if (!uv.empty())
        lines.push_back("      UV " + uv);
    lines.push_back("    }");
    return lines;
}

// A unit square as two vertices lists and one polygon.
std::vector<std::string> SquareMesh(const std::vector<std::string>& extra = {})
{
    return Concat({{"  CAng 45.50", "  UVMo 3", "  UPSA 2,7", "  ABoo 1", "  USMn 0.00,0.00",
                    "  USMx 1.00,1.00", "  Vrts {"},
                   Vertex("0,0,0", "0,0", "1"),
                   Vertex("1,0,0", "1,0", "2"),
                   Vertex("1,1,0", "1,1", "3"),
                   Vertex("0,1,0", "0,1", "4"),
                   {"  }", "  Edgs {", "    EdgA 0,1", "  }", "  Pgns {", "    PgSz 4",
                    "    Pgon 0,1,2,3", "  }"},
                   extra});
}

struct TLineEndCase
{
    const char* Name;
    const char* End;
};

class RdsLineEnds : public ::testing::TestWithParam<TLineEndCase>
{
};

TEST_P(RdsLineEnds, ReadLikeCrLf)
{
    const auto lines = RdsScene(
        Concat({RdsObject("\"First\"", SquareMesh()), RdsObject("\"Second one\"", SquareMesh())}));
    TRdsRead read;
    ReadRdsBytes(JoinLines(lines, GetParam().End), read);
    ASSERT_TRUE(read.Found);
    EXPECT_TRUE(read.Sink.Messages.empty());
    ASSERT_EQ(read.Models.size(), 2u);
    EXPECT_EQ(read.Names, (std::vector<std::string>{"\"First\"", "\"Second one\""}));
    for (const auto& model : read.Models) {
        ASSERT_EQ(model->VertexCount(), 4);
        EXPECT_EQ(model->Vertices[2].x, 1.0);
        EXPECT_EQ(model->Vertices[2].y, 1.0);
        EXPECT_EQ(model->Vertices[3].v, 1.0);
        EXPECT_EQ(model->Vertices[3].flag, 4);
        EXPECT_EQ(model->EdgeCount(), 4);
        ASSERT_EQ(model->PolygonCount(), 1);
        EXPECT_EQ(PolygonCorners(*model, model->Polygons[0]), (std::vector<int>{0, 1, 2, 3}));
        EXPECT_EQ(model->Polygons[0].colour, 255u);
        EXPECT_EQ(model->CAng, 45.5);
        EXPECT_EQ(model->UVMo, 3);
        EXPECT_EQ(model->UPSA[0], 2);
        EXPECT_EQ(model->UPSA[1], 7);
        EXPECT_EQ(model->ABoo, 1);
        EXPECT_EQ(model->GroupCount, 1);
    }
    EXPECT_EQ(read.LoadedCalls, 2);
    EXPECT_EQ(read.Begins, 2);
    EXPECT_EQ(read.Ends, 2);
    EXPECT_EQ(read.Steps, 10); // four vertices and one polygon per object
}

INSTANTIATE_TEST_SUITE_P(AllEnds, RdsLineEnds,
                         ::testing::Values(TLineEndCase{"CrLf", "\r\n"}, TLineEndCase{"Cr", "\r"},
                                           TLineEndCase{"Lf", "\n"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(RdsReader, SkipsRawDataAnnouncedByDollar)
{
    // The raw bytes hold lines that would end blocks or add polygons if they were read.
    const std::string junk = "}\r\n}\r\nPgon 0,1\r\n";
    char count[16];
    std::snprintf(count, sizeof count, "$%zx", junk.size());
    const std::string lines =
        JoinLines({"3DC {", "}", "sc {", "  ob {", "vmda {", "  skip {",
                   std::string("    blob ") + count}) +
        junk +
        JoinLines(Concat({{"  }", "  nm \"Raw\"", "  xprm {", "    PmSt {", "Pmsh {", "  Vrts {"},
                          Vertex("0,0,0"),
                          Vertex("1,0,0"),
                          Vertex("0,1,0"),
                          {"  }", "  Pgns {", std::string("    data ") + count}})) +
        junk + JoinLines({"    Pgon 0,1,2", "  }", "}", "    }", "  }", "}", "  }", "}"});
    TRdsRead read;
    ReadRdsBytes(lines, read);
    ASSERT_EQ(read.Models.size(), 1u);
    EXPECT_EQ(read.Names[0], "\"Raw\"");
    EXPECT_EQ(read.Models[0]->PolygonCount(), 1);
    EXPECT_EQ(read.Models[0]->EdgeCount(), 3);
}

TEST(RdsReader, TwoMeshesGiveTwoGroupsWithTheirOwnNumbering)
{
    const auto mesh = [](const std::string& z) {
        return Concat({{"Pmsh {", "  Vrts {"},
                       Vertex("0,0," + z),
                       Vertex("1,0," + z),
                       Vertex("0,1," + z),
                       {"  }", "  Pgns {", "    Pgon 2,1,0", "  }", "}"}});
    };
    const auto lines = RdsScene(Concat({{"vmda {", "  nm \"Two\"", "  xprm {", "    PmSt {"},
                                        mesh("0"),
                                        mesh("5"),
                                        {"    }", "  }", "}"}}));
    TRdsRead read;
    ReadRdsBytes(JoinLines(lines), read);
    ASSERT_EQ(read.Models.size(), 1u);
    const TpreviewObj& model = *read.Models[0];
    ASSERT_EQ(model.GroupCount, 2);
    EXPECT_EQ(model.Groups[1].FirstVertex, 3);
    ASSERT_EQ(model.PolygonCount(), 2);
    for (int corner : PolygonCorners(model, model.Polygons[1])) {
        EXPECT_EQ(model.Vertices[corner].z, 5.0);
        EXPECT_EQ(model.Vertices[corner].group, 1);
    }
}

TEST(RdsReader, VertexWithoutLinesTakesThePreviousValues)
{
    const auto lines =
        RdsScene(RdsObject("\"V\"", Concat({{"  Vrts {"},
                                            Vertex("1,2,3", "0.25,0.75", "9"),
                                            {"    VerS {", "      Posn 4,5", "    }"},
                                            {"  }"}})));
    TRdsRead read;
    ReadRdsBytes(JoinLines(lines), read);
    ASSERT_EQ(read.Models.size(), 1u);
    const auto& vertices = read.Models[0]->Vertices;
    ASSERT_EQ(vertices.size(), 2u);
    EXPECT_EQ(vertices[1].x, 4.0);
    EXPECT_EQ(vertices[1].y, 5.0);
    EXPECT_EQ(vertices[1].z, 3.0);
    EXPECT_EQ(vertices[1].u, 0.25);
    EXPECT_EQ(vertices[1].v, 0.75);
    EXPECT_EQ(vertices[1].flag, 9);
}

TEST(RdsReader, UnnamedObjectIsNotListedAndDoesNotShiftTheOthers)
{
    auto unnamed = RdsObject("\"X\"", SquareMesh());
    unnamed.erase(unnamed.begin() + 1); // its nm line
    const auto triangle = Concat({{"  Vrts {"},
                                  Vertex("0,0,7"),
                                  Vertex("1,0,7"),
                                  Vertex("0,1,7"),
                                  {"  }", "  Pgns {", "    Pgon 0,1,2", "  }"}});
    const auto lines =
        RdsScene(Concat({RdsObject("\"A\"", SquareMesh()), unnamed, RdsObject("\"B\"", triangle)}));
    TRdsRead read;
    ReadRdsBytes(JoinLines(lines), read);
    ASSERT_EQ(read.Names, (std::vector<std::string>{"\"A\"", "\"B\""}));
    EXPECT_EQ(read.Models[0]->VertexCount(), 4);
    ASSERT_EQ(read.Models[1]->VertexCount(), 3);
    EXPECT_EQ(read.Models[1]->Vertices[0].z, 7.0);
}

TEST(RdsReader, FindsNoMeshOutsideTheSceneBlock)
{
    const auto lines = Concat(
        {{"3DC {", "}"}, RdsObject("\"Early\"", SquareMesh()), {"sc {", "  ob {", "  }", "}"}});
    TRdsRead read;
    ReadRdsBytes(JoinLines(lines), read);
    EXPECT_FALSE(read.Found);
    EXPECT_TRUE(read.Sink.Messages.empty());
}

TEST(RdsReader, TellsOnceWhenTheFileIsNotRds)
{
    TRdsRead read;
    ReadRdsBytes("sc {\r\n  ob {\r\nvmda {\r\n  nm \"X\"\r\n}\r\n}\r\n}\r\n", read);
    EXPECT_FALSE(read.Found);
    ASSERT_EQ(read.Sink.Messages.size(), 1u);
    EXPECT_EQ(read.Sink.Messages[0].text, "RayDreamStudio形式のファイルではありません");
    EXPECT_EQ(read.Sink.Messages[0].kind, TMsgKind::Error);
}

TEST(RdsReader, SettlesTheUvRangeFromTheFile)
{
    const auto mesh = Concat({{"  USMn 0.10,0.20", "  USMx 2.00,0.50", "  Vrts {"},
                              Vertex("0,0,0", "0,0"),
                              Vertex("1,0,0", "0.75,0.25"),
                              Vertex("0,1,0", "0.5,0.125"),
                              {"  }"}});
    TRdsRead read;
    ReadRdsBytes(JoinLines(RdsScene(RdsObject("\"UV\"", mesh))), read);
    ASSERT_EQ(read.Models.size(), 1u);
    EXPECT_EQ(read.Models[0]->MaxU, 1.0);
    EXPECT_EQ(read.Models[0]->MaxV, 0.5);
    EXPECT_EQ(read.Models[0]->MinU, 0.1);
    EXPECT_EQ(read.Models[0]->MinV, 0.2);
}

TEST(RdsReader, KeepsTheObjectsOwnValuesWhenTheFileGivesTooFew)
{
    const auto mesh = Concat({{"  UPSA 5", "  USMn 0.5", "  Vrts {"},
                              Vertex("0,0,0", "0,0"),
                              Vertex("1,0,0", "0.75,0.25"),
                              {"  }"}});
    TRdsRead read;
    ReadRdsBytes(JoinLines(RdsScene(RdsObject("\"Few\"", mesh))), read);
    ASSERT_EQ(read.Models.size(), 1u);
    const TpreviewObj& model = *read.Models[0];
    EXPECT_EQ(model.UPSA[0], 0);
    EXPECT_EQ(model.UPSA[1], 1);
    // The range the vertices produced: it always holds 0 and takes in every vertex but the
    // first.
    EXPECT_EQ(model.MinU, 0.0);
    EXPECT_EQ(model.MaxU, 0.75);
    EXPECT_EQ(model.MaxV, 0.25);
}

TEST(RdsReader, MapsPolygonCornersThroughMergedVertices)
{
    // Vertex 2 repeats vertex 0's position, so the model has one vertex fewer than the file
    // and file index 3 is model vertex 2.
    const auto mesh = Concat({{"  Vrts {"},
                              Vertex("0,0,0"),
                              Vertex("1,0,0"),
                              Vertex("0,0,0"),
                              Vertex("0,1,0"),
                              {"  }", "  Pgns {", "    Pgon 1,3,2", "    Pgon 0,1,4", "    Pgon 3",
                               "    Pgon", "    Pgon -1,0,1", "    Pgon 0,x,1", "  }"}});
    TRdsRead read;
    ReadRdsBytes(JoinLines(RdsScene(RdsObject("\"Merge\"", mesh))), read);
    ASSERT_EQ(read.Models.size(), 1u);
    const TpreviewObj& model = *read.Models[0];
    ASSERT_EQ(model.VertexCount(), 3);
    ASSERT_EQ(model.PolygonCount(), 1) << "corners outside the mesh, or fewer than two, add none";
    const auto corners = PolygonCorners(model, model.Polygons[0]);
    ASSERT_EQ(corners.size(), 3u);
    EXPECT_EQ(model.Vertices[corners[0]].x, 1.0);
    EXPECT_EQ(model.Vertices[corners[1]].y, 1.0);
    EXPECT_EQ(corners[2], 0);
}

TEST(RdsReader, KeepsVerticesAtOnePositionWithOtherUvApart)
{
    // File vertices 0 and 2 are one vertex; 1 stands at the same place with another (u, v),
    // the other side of a seam, and keeps it for the polygon that names it.
    const auto mesh = Concat({{"  Vrts {"},
                              Vertex("0,0,0", "0.25,0"),
                              Vertex("0,0,0", "0.75,0"),
                              Vertex("0,0,0", "0.25,0"),
                              Vertex("1,0,0", "0.5,0"),
                              Vertex("0,1,0", "0.5,1"),
                              {"  }", "  Pgns {", "    Pgon 2,3,4", "    Pgon 1,4,3", "  }"}});
    TRdsRead read;
    ReadRdsBytes(JoinLines(RdsScene(RdsObject("\"Seam\"", mesh))), read);
    ASSERT_EQ(read.Models.size(), 1u);
    const TpreviewObj& model = *read.Models[0];
    ASSERT_EQ(model.VertexCount(), 4);
    ASSERT_EQ(model.PolygonCount(), 2);
    const auto first = PolygonCorners(model, model.Polygons[0]);
    const auto second = PolygonCorners(model, model.Polygons[1]);
    EXPECT_EQ(model.Vertices[first[0]].u, 0.25);
    EXPECT_EQ(model.Vertices[second[0]].u, 0.75);
    EXPECT_EQ(model.Vertices[second[0]].x, 0.0);
    EXPECT_EQ(model.EdgeCount(), 5) << "the side between 3 and 4 is shared";
}

TEST(RdsReader, TakesEveryCornerOfALongPolygon)
{
    std::vector<std::string> mesh = {"  Vrts {"};
    std::string pgon = "    Pgon ";
    for (int i = 0; i < 40; ++i) {
        const auto vertex = Vertex(std::to_string(i) + ",0," + std::to_string(i % 3));
        mesh.insert(mesh.end(), vertex.begin(), vertex.end());
        if (i > 0)
            pgon += ',';
        pgon += std::to_string(i);
    }
    mesh.insert(mesh.end(), {"  }", "  Pgns {", "    PgSz 40", pgon, "  }"});
    TRdsRead read;
    ReadRdsBytes(JoinLines(RdsScene(RdsObject("\"Long\"", mesh))), read);
    ASSERT_EQ(read.Models.size(), 1u);
    ASSERT_EQ(read.Models[0]->PolygonCount(), 1);
    const auto corners = PolygonCorners(*read.Models[0], read.Models[0]->Polygons[0]);
    ASSERT_EQ(corners.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(corners[i], i);
}

TEST(RdsReader, EmptyEdgeBlockAndNestedBlocksDoNotDisturbThePolygons)
{
    const auto mesh =
        Concat({{"  Vrts {", "    odd {", "      Posn 9,9,9", "    }"},
                Vertex("0,0,0"),
                Vertex("1,0,0"),
                Vertex("0,1,0"),
                {"  }", "  Edgs {", "  }", "  Pgns {", "    Pgon 0,1,2", "    odd {",
                 "      Pgon 2,1,0", "    }", "    Pgon 0,2,1", "  }", "  AVer {", "  }"}});
    TRdsRead read;
    ReadRdsBytes(JoinLines(RdsScene(RdsObject("\"Edgs\"", mesh))), read);
    ASSERT_EQ(read.Models.size(), 1u);
    EXPECT_EQ(read.Models[0]->VertexCount(), 3);
    EXPECT_EQ(read.Models[0]->PolygonCount(), 2);
}

TEST(RdsReader, ValueThatDoesNotConvertEndsTheLoadNamingTheLine)
{
    auto bad = RdsObject("\"Bad\"", SquareMesh({"  ABoo many"}));
    const auto lines = RdsScene(Concat({RdsObject("\"Good\"", SquareMesh()), bad}));
    int badLine = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == "  ABoo many")
            badLine = static_cast<int>(i) + 1;
    TRdsRead read;
    try {
        ReadRdsBytes(JoinLines(lines), read);
        FAIL() << "no error";
    } catch (const TReadError& error) {
        // Built piece by piece: GCC 12 at -O3 warns falsely on ":" + to_string.
        std::string lineTag = ":";
        lineTag += std::to_string(badLine);
        lineTag += ':';
        EXPECT_NE(std::string(error.what()).find(lineTag), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("ABoo many"), std::string::npos);
    }
    ASSERT_EQ(read.Models.size(), 2u);
    EXPECT_EQ(read.Models[0]->PolygonCount(), 1);
    EXPECT_EQ(read.Ends, 2) << "the status text ends even when the load fails";
}

// Objects that begin past the first block and lines that straddle a block boundary: the load
// seeks back to each object and reads across blocks.
TEST(RdsReader, ReadsObjectsAcrossBlockBoundaries)
{
    std::vector<std::string> objects;
    for (int n = 0; n < 3; ++n) {
        std::vector<std::string> mesh = {"  AVer {"};
        for (int i = 0; i < 6000; ++i)
            mesh.push_back("    pad " + std::to_string(i * 7919 + n));
        mesh.insert(mesh.end(), {"  }", "  Vrts {"});
        for (int i = 0; i < 300; ++i) {
            const auto vertex = Vertex(std::to_string(i) + ".5," + std::to_string(n) + ",0");
            mesh.insert(mesh.end(), vertex.begin(), vertex.end());
        }
        mesh.insert(mesh.end(), {"  }", "  Pgns {", "    Pgon 0,299,150", "  }"});
        const auto object = RdsObject("\"O" + std::to_string(n) + "\"", mesh);
        objects.insert(objects.end(), object.begin(), object.end());
    }
    const std::string text = JoinLines(RdsScene(objects));
    ASSERT_GT(text.size(), 3u * TRDSobject::kBlockSize);
    TRdsRead read;
    ReadRdsBytes(text, read);
    ASSERT_EQ(read.Models.size(), 3u);
    for (int n = 0; n < 3; ++n) {
        const TpreviewObj& model = *read.Models[n];
        ASSERT_EQ(model.VertexCount(), 300);
        EXPECT_EQ(model.Vertices[299].x, 299.5);
        EXPECT_EQ(model.Vertices[299].y, n);
        EXPECT_EQ(model.PolygonCount(), 1);
    }
}

TEST(RdsObjectBytes, PositionsAndSeeksAgreeAcrossBlocksAndPushedBackBytes)
{
    // CR-only lines: the byte after each CR is read ahead and given back.
    std::string text = "3DC {\r";
    while (text.size() < 2 * TRDSobject::kBlockSize + 100)
        text += "line " + std::to_string(text.size()) + "\r";
    const std::string path = MakeTempDir() + "/bytes.rds";
    WriteFileBytes(path, text);

    TRDSobject reader;
    reader.OpenFile(path);
    EXPECT_EQ(reader.ReadLine(), "3DC {");
    EXPECT_FALSE(reader.CrLfMode);
    std::vector<std::pair<std::int64_t, std::string>> starts;
    while (!reader.AtEnd) {
        const std::int64_t position = reader.CurrentPosition();
        const std::string line(reader.ReadLine());
        if (!line.empty()) {
            ASSERT_EQ(line, "line " + std::to_string(position));
            starts.emplace_back(position, line);
        }
    }
    for (std::size_t i = 0; i < starts.size(); i += 997) {
        reader.SeekTo(starts[i].first);
        EXPECT_EQ(reader.ReadLine(), starts[i].second);
    }
    reader.SeekTo(starts[10].first);
    reader.SkipBytes(starts[3000].first - starts[10].first);
    EXPECT_EQ(reader.ReadLine(), starts[3000].second);
    reader.SkipBytes(std::int64_t(1) << 62);
    EXPECT_EQ(reader.ReadByte(), -1);
    EXPECT_TRUE(reader.AtEnd);
}

} // namespace
} // namespace kalvo::test
