#include "core/io/dxf_reader.h"
#include "core/model/preview_obj.h"
#include "tests/support/recording_sink.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kalvo {
namespace {

using test::TRecordingSink;
using P = TDxfPoint;

std::string Num(double value)
{
    std::string text = std::to_string(value);
    return text;
}

std::string Point(int code, const P& p)
{
    return std::to_string(code) + "\n" + Num(p.x) + "\n" + std::to_string(code + 10) + "\n" +
           Num(p.y) + "\n" + std::to_string(code + 20) + "\n" + Num(p.z) + "\n";
}

std::string Face(const std::vector<P>& corners, const std::string& extra = "")
{
    std::string text = "0\n3DFACE\n8\n0\n" + extra;
    for (int i = 0; i < static_cast<int>(corners.size()); ++i)
        text += Point(10 + i, corners[i]);
    return text;
}

std::string Vertex(const P& p, int flags)
{
    return "0\nVERTEX\n" + Point(10, p) + "70\n" + std::to_string(flags) + "\n";
}

std::string FaceRecord(std::vector<int> indices, const std::string& extra = "")
{
    std::string text = "0\nVERTEX\n" + extra + Point(10, P{}) + "70\n128\n";
    for (int i = 0; i < static_cast<int>(indices.size()); ++i)
        text += std::to_string(71 + i) + "\n" + std::to_string(indices[i]) + "\n";
    return text;
}

std::string Block(const std::string& name, const std::string& body, const P& base = {})
{
    return "0\nBLOCK\n2\n" + name + "\n" + Point(10, base) + body + "0\nENDBLK\n";
}

std::string Insert(const std::string& name, const std::string& extra = "")
{
    return "0\nINSERT\n8\n0\n2\n" + name + "\n" + extra;
}

std::string File(const std::string& blocks, const std::string& entities)
{
    return "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + entities +
           "0\nENDSEC\n0\nEOF\n";
}

struct THanded
{
    TColour colour;
    std::vector<P> corners;
    bool operator==(const THanded&) const = default;
};

void PrintTo(const THanded& face, std::ostream* os)
{
    *os << std::hex << face.colour << std::dec << ":";
    for (const P& p : face.corners)
        *os << " (" << p.x << ", " << p.y << ", " << p.z << ")";
}

struct TResult
{
    TRecordingSink sink;
    std::vector<THanded> faces;
    bool error = false;
};

void Read(TResult& result, const std::string& bytes)
{
    TDXFobject reader(result.sink);
    reader.ReadBytes(bytes);
    reader.HandOver([&result](TColour colour, const VertexInput* corners, int count) {
        THanded face{colour, {}};
        for (int i = 0; i < count; ++i)
            face.corners.push_back({corners[i].x, corners[i].y, corners[i].z});
        result.faces.push_back(face);
        return static_cast<int>(result.faces.size()) - 1;
    });
    result.error = reader.ReportedError();
}

const P A{0, 0, 0}, B{1, 0, 0}, C{1, 1, 0}, D{0, 1, 0}, E{2, 0, 0};
constexpr TColour kBlack = 0x000000, kGrey = 0x808080, kBlue = 0xFF0000, kRed = 0x0000FF;

// --- Meshes ---------------------------------------------------------------------------------

TEST(DxfMeshes, PolyfaceFacesTakeTheirCornersAndColoursLikeThreeDFaces)
{
    // Invisible edges (negative indices) still bound the face; a face without code 62 takes
    // the polyline's; repeated corners drop as in a 3DFACE.
    const std::string polyface = "0\nPOLYLINE\n62\n2\n70\n64\n71\n5\n72\n3\n" + Vertex(A, 192) +
                                 Vertex(B, 192) + Vertex(C, 192) + Vertex(D, 192) + Vertex(E, 192) +
                                 FaceRecord({1, -2, 3, 4}, "62\n4\n") + FaceRecord({2, 5, 3}) +
                                 FaceRecord({1, 1, 2, 3}) + "0\nSEQEND\n";
    TResult result;
    Read(result, File("", polyface));
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.faces,
              (std::vector<THanded>{{kRed, {A, B, C, D}}, {kBlue, {B, E, C}}, {kBlue, {A, B, C}}}));
}

TEST(DxfMeshes, BrokenFaceRecordsAreSkippedAndReportedOnce)
{
    const std::string polyface = "0\nPOLYLINE\n70\n64\n" + Vertex(A, 192) + Vertex(B, 192) +
                                 Vertex(C, 192) + FaceRecord({1, 2, 9}) + FaceRecord({}) +
                                 FaceRecord({1, 2, 3}) + "0\nSEQEND\n";
    TResult result;
    Read(result, File("", polyface));
    EXPECT_EQ(result.faces, (std::vector<THanded>{{kBlack, {A, B, C}}}));
    EXPECT_EQ(result.sink.Messages.size(), 1u);
}

TEST(DxfMeshes, PolygonMeshesMakeQuadsClosedWhereFlagged)
{
    // 2 x 3 vertices: rows A B C / D E F; closed in N (flag 32) adds the face from the last
    // column back to the first.
    const P F{3, 1, 0}, G{3, 0, 0};
    const auto mesh = [&](int flags) {
        return "0\nPOLYLINE\n62\n1\n70\n" + std::to_string(flags) + "\n71\n2\n72\n3\n" +
               Vertex(A, 64) + Vertex(B, 64) + Vertex(G, 64) + Vertex(D, 64) + Vertex(C, 64) +
               Vertex(F, 64) + "0\nSEQEND\n";
    };
    TResult open;
    Read(open, File("", mesh(16)));
    EXPECT_EQ(open.faces, (std::vector<THanded>{{kGrey, {A, D, C, B}}, {kGrey, {B, C, F, G}}}));
    TResult closed;
    Read(closed, File("", mesh(16 + 32)));
    ASSERT_EQ(closed.faces.size(), 3u);
    EXPECT_EQ(closed.faces[2], (THanded{kGrey, {G, F, D, A}}));
}

TEST(DxfMeshes, PlainPolylinesHaveNoFaces)
{
    TResult result;
    Read(result, File("", "0\nPOLYLINE\n70\n8\n" + Vertex(A, 32) + Vertex(B, 32) + Vertex(C, 32) +
                              "0\nSEQEND\n" + Face({A, B, D})));
    EXPECT_EQ(result.faces, (std::vector<THanded>{{kBlack, {A, B, D}}}));
}

// --- Blocks and inserts ---------------------------------------------------------------------

struct TInsertCase
{
    const char* name;
    std::string insert; // group codes after the block name
    P base;
    std::vector<std::vector<P>> faces;
};

class InsertPlacement : public testing::TestWithParam<TInsertCase>
{
};

TEST_P(InsertPlacement, MovesTheBlockFaces)
{
    TResult result;
    Read(result,
         File(Block("b", Face({A, B, D}), GetParam().base), Insert("b", GetParam().insert)));
    EXPECT_FALSE(result.error);
    std::vector<std::vector<P>> faces;
    for (const THanded& face : result.faces)
        faces.push_back(face.corners);
    ASSERT_EQ(faces.size(), GetParam().faces.size());
    for (std::size_t f = 0; f < faces.size(); ++f) {
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_NEAR(faces[f][c].x, GetParam().faces[f][c].x, 1e-12) << f << " " << c;
            EXPECT_NEAR(faces[f][c].y, GetParam().faces[f][c].y, 1e-12) << f << " " << c;
            EXPECT_NEAR(faces[f][c].z, GetParam().faces[f][c].z, 1e-12) << f << " " << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    DxfInserts, InsertPlacement,
    testing::Values(
        TInsertCase{"DefaultsKeepTheBlockAsDefined", "", {}, {{A, B, D}}},
        TInsertCase{
            "InsertionPoint", "10\n5\n20\n6\n30\n7\n", {}, {{{5, 6, 7}, {6, 6, 7}, {5, 7, 7}}}},
        TInsertCase{"BasePointGoesToTheInsertionPoint",
                    "10\n5\n",
                    {1, 1, 0},
                    {{{4, -1, 0}, {5, -1, 0}, {4, 0, 0}}}},
        TInsertCase{"ScalePerAxis", "41\n2\n42\n3\n43\n4\n", {}, {{A, {2, 0, 0}, {0, 3, 0}}}},
        TInsertCase{"RotationAfterScaleBeforeMove",
                    "10\n1\n41\n2\n50\n90\n",
                    {},
                    {{{1, 0, 0}, {1, 2, 0}, {0, 0, 0}}}},
        TInsertCase{"ArrayStepsAlongTheTurnedAxes",
                    "70\n2\n71\n2\n44\n10\n45\n20\n50\n90\n",
                    {},
                    {{A, {0, 1, 0}, {-1, 0, 0}},
                     {{0, 10, 0}, {0, 11, 0}, {-1, 10, 0}},
                     {{-20, 0, 0}, {-20, 1, 0}, {-21, 0, 0}},
                     {{-20, 10, 0}, {-20, 11, 0}, {-21, 10, 0}}}},
        // Extrusion straight down: the insert's x axis is the world's -x.
        TInsertCase{"ExtrusionDownMirrorsX",
                    "10\n5\n30\n2\n230\n-1\n",
                    {},
                    {{{-5, 0, -2}, {-6, 0, -2}, {-5, 1, -2}}}},
        // Extrusion along +x: x axis = world y, y axis = world z.
        TInsertCase{"ExtrusionAlongX",
                    "10\n1\n20\n2\n30\n3\n210\n1\n230\n0\n",
                    {},
                    {{{3, 1, 2}, {3, 2, 2}, {3, 1, 3}}}}),
    [](const testing::TestParamInfo<TInsertCase>& info) { return std::string(info.param.name); });

TEST(DxfInserts, NestedInsertsComposeAndBlockFacesComeOnlyThroughInserts)
{
    // Block "outer" holds a face and places "inner" at x + 10; the drawing places "outer"
    // twice. The definitions' own faces are not read where they stand.
    const std::string blocks = Block("inner", Face({A, B, D})) +
                               Block("outer", Face({C, D, B}) + Insert("inner", "10\n10\n"));
    const std::string entities = Face({A, B, C}) + Insert("outer", "20\n100\n") +
                                 Insert("outer", "20\n200\n") + Face({A, D, C});
    TResult result;
    Read(result, File(blocks, entities));
    const P inner0{10, 100, 0}, inner1{11, 100, 0}, inner2{10, 101, 0};
    EXPECT_EQ(result.faces, (std::vector<THanded>{
                                {kBlack, {A, B, C}},
                                {kBlack, {{1, 101, 0}, {0, 101, 0}, {1, 100, 0}}},
                                {kBlack, {inner0, inner1, inner2}},
                                {kBlack, {{1, 201, 0}, {0, 201, 0}, {1, 200, 0}}},
                                {kBlack, {{10, 200, 0}, {11, 200, 0}, {10, 201, 0}}},
                                {kBlack, {A, D, C}},
                            }));
}

TEST(DxfInserts, WithoutInsertsBlockFacesReadWhereTheyStand)
{
    TResult result;
    Read(result, Face({A, B, C}) + File(Block("b", Face({A, B, D}), {5, 5, 5}), Face({A, D, C})));
    EXPECT_EQ(result.faces, (std::vector<THanded>{{kBlack, {A, B, D}}, {kBlack, {A, D, C}}}));
}

struct TLimitCase
{
    const char* name;
    std::string file;
    std::string messageHas;
};

class InsertLimits : public testing::TestWithParam<TLimitCase>
{
};

TEST_P(InsertLimits, StopWithOneMessageKeepingTheFacesBefore)
{
    TResult result;
    Read(result, GetParam().file);
    EXPECT_TRUE(result.error);
    ASSERT_EQ(result.sink.Messages.size(), 1u);
    EXPECT_EQ(result.sink.Messages[0].kind, TMsgKind::Error);
    EXPECT_NE(result.sink.Messages[0].text.find(GetParam().messageHas), std::string::npos)
        << result.sink.Messages[0].text;
    // The face before the bad insert stays, the one after it is not read.
    ASSERT_FALSE(result.faces.empty());
    EXPECT_EQ(result.faces.front(), (THanded{kBlack, {A, B, C}}));
    EXPECT_NE(result.faces.back(), (THanded{kBlack, {A, D, C}}));
}

std::string BlockName(int i)
{
    // Appended rather than "b" + number, which GCC 12 at -O3 warns about wrongly.
    std::string name(1, 'b');
    name.append(std::to_string(i));
    return name;
}

// Blocks b0 (one face) to b(levels - 1), each inserting the one before.
std::string Chain(int levels)
{
    std::string blocks = Block("b0", Face({A, B, D}));
    for (int i = 1; i < levels; ++i)
        blocks += Block(BlockName(i), Insert(BlockName(i - 1)));
    return blocks;
}

INSTANTIATE_TEST_SUITE_P(
    DxfInserts, InsertLimits,
    testing::Values(
        TLimitCase{"SelfInsert",
                   File(Block("loop", Face({A, B, D}) + Insert("loop")),
                        Face({A, B, C}) + Insert("loop") + Face({A, D, C})),
                   "自分自身"},
        TLimitCase{"InsertThroughAnotherBlock",
                   File(Block("x", Insert("y")) + Block("y", Face({A, B, D}) + Insert("x")),
                        Face({A, B, C}) + Insert("y") + Face({A, D, C})),
                   "自分自身"},
        TLimitCase{"NestingDeeperThanSixteen",
                   File(Chain(17), Face({A, B, C}) + Insert("b16") + Face({A, D, C})), "16"},
        TLimitCase{
            "MoreThanFiftyMillionFaces",
            File(Block("many", Face({A, B, D})),
                 Face({A, B, C}) + Insert("many", "70\n10000\n71\n5001\n") + Face({A, D, C})),
            "5000 万"}),
    [](const testing::TestParamInfo<TLimitCase>& info) { return std::string(info.param.name); });

TEST(DxfInserts, SixteenLevelsAreStillRead)
{
    TResult result;
    Read(result, File(Chain(16), Insert("b15")));
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.faces, (std::vector<THanded>{{kBlack, {A, B, D}}}));
}

} // namespace
} // namespace kalvo
