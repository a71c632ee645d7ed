#include "core/base/errors.h"
#include "core/base/numbers.h"
#include "core/io/dxf_reader.h"
#include "core/model/preview_obj.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_paths.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kalvo {

void PrintTo(const TDxfPoint& p, std::ostream* os)
{
    *os << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

namespace {

using test::TRecordingSink;

const char* const kNotDxf = "DXF fileではありません";

// "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"
std::string Entities(const std::string& body)
{
    return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

std::string Corner(int index, double x, double y, double z)
{
    const auto text = [](double value) { return FormatShortest(value); };
    return std::to_string(10 + index) + "\n" + text(x) + "\n" + std::to_string(20 + index) + "\n" +
           text(y) + "\n" + std::to_string(30 + index) + "\n" + text(z) + "\n";
}

using P = TDxfPoint;

std::string Face(std::vector<P> corners, const std::string& extra = "")
{
    std::string text = "0\n3DFACE\n8\n0\n" + extra;
    for (int i = 0; i < static_cast<int>(corners.size()); ++i)
        text += Corner(i, corners[i].x, corners[i].y, corners[i].z);
    return text;
}

struct TRead
{
    TRecordingSink sink;
    std::vector<TPatch> patches;
    TpreviewObj model;
};

void ReadInto(TRead& read, const std::string& bytes)
{
    TDXFobject reader(read.sink);
    reader.ReadBytes(bytes);
    read.patches = reader.Patches();
    reader.HandOver(read.model);
}

// The corners HandOver gives the model for each face.
std::vector<std::vector<P>> HandedCorners(const std::string& bytes)
{
    TRecordingSink sink;
    TDXFobject reader(sink);
    reader.ReadBytes(bytes);
    std::vector<std::vector<P>> faces;
    reader.HandOver([&faces](TColour, const VertexInput* corners, int count) {
        faces.emplace_back();
        for (int i = 0; i < count; ++i)
            faces.back().push_back({corners[i].x, corners[i].y, corners[i].z});
        return static_cast<int>(faces.size()) - 1;
    });
    return faces;
}

// --- Faces become polygons -----------------------------------------------------------------

struct TShapeCase
{
    const char* name;
    std::vector<P> corners; // as written; three means no codes 13/23/33
    std::vector<P> polygon; // the corners the model gets, in order
};

class FaceShape : public testing::TestWithParam<TShapeCase>
{
};

TEST_P(FaceShape, KeepsTheDistinctCornersInOrder)
{
    EXPECT_EQ(HandedCorners(Entities(Face(GetParam().corners))),
              (std::vector<std::vector<P>>{GetParam().polygon}));
}

const P A{0, 0, 0}, B{1, 0, 0}, C{1, 1, 0}, D{0, 1, 0};

INSTANTIATE_TEST_SUITE_P(
    DxfReading, FaceShape,
    testing::Values(TShapeCase{"FourDistinctCornersMakeAQuad", {A, B, C, D}, {A, B, C, D}},
                    TShapeCase{"FourthEqualToThirdIsATriangle", {A, B, C, C}, {A, B, C}},
                    TShapeCase{"MissingFourthIsTheThird", {A, B, C}, {A, B, C}},
                    TShapeCase{"FirstRepeatedIsTheTriangleOfTheOthers", {A, A, B, C}, {A, B, C}},
                    TShapeCase{"FourthBackAtTheFirstIsDropped", {A, B, C, A}, {A, B, C}},
                    TShapeCase{"MiddleRepeatIsDropped", {A, B, B, C}, {A, B, C}},
                    TShapeCase{"TwoDistinctCornersGiveTheFirstThree", {A, B, B, A}, {A, B, B}},
                    TShapeCase{"OneCornerGivesTheFirstThree", {A, A, A, A}, {A, A, A}},
                    TShapeCase{"NegativeZeroIsTheSameCorner", {A, B, C, {0, 0, -0.0}}, {A, B, C}}),
    [](const testing::TestParamInfo<TShapeCase>& info) { return std::string(info.param.name); });

TEST(DxfReading, TwoFacesSharingASideMergeIntoFourVerticesAndFiveEdges)
{
    TRead read;
    ReadInto(read, Entities(Face({A, B, C}) + Face({A, C, D})));
    EXPECT_EQ(read.model.VertexCount(), 4);
    EXPECT_EQ(read.model.EdgeCount(), 5);
    EXPECT_EQ(read.model.PolygonCount(), 2);
    EXPECT_EQ(read.model.CountEdgeUse(), 2);
}

TEST(DxfReading, CoordinatesAreUsedAsRead)
{
    TRead read;
    ReadInto(read, Entities("0\n3DFACE\n10\n1\n20\n2\n30\n3\n11\n-4.5\n21\n1e3\n31\n+7\n"
                            "12\n.25\n22\n-0\n32\n1.5E-2\n"));
    ASSERT_EQ(read.model.VertexCount(), 3);
    EXPECT_EQ((P{read.model.Vertices[0].x, read.model.Vertices[0].y, read.model.Vertices[0].z}),
              (P{1, 2, 3}));
    EXPECT_EQ((P{read.model.Vertices[1].x, read.model.Vertices[1].y, read.model.Vertices[1].z}),
              (P{-4.5, 1000, 7}));
    EXPECT_EQ((P{read.model.Vertices[2].x, read.model.Vertices[2].y, read.model.Vertices[2].z}),
              (P{0.25, 0, 0.015}));
    EXPECT_EQ(read.model.Vertices[2].flag, 0);
    EXPECT_EQ(read.model.MinU, 0.0);
    EXPECT_EQ(read.model.MaxU, 0.0);
}

// --- Which entities are read ------------------------------------------------------------------

struct TEntityCase
{
    const char* name;
    std::string file;
    int patches;
    bool message;
};

class EntitySelection : public testing::TestWithParam<TEntityCase>
{
};

TEST_P(EntitySelection, ReadsEveryFaceAfterTheFirstSection)
{
    TRead read;
    ReadInto(read, GetParam().file);
    EXPECT_EQ(static_cast<int>(read.patches.size()), GetParam().patches);
    ASSERT_EQ(read.sink.Messages.size(), GetParam().message ? 1u : 0u);
    if (GetParam().message) {
        EXPECT_EQ(read.sink.Messages[0].text, kNotDxf);
        EXPECT_EQ(read.sink.Messages[0].kind, TMsgKind::Information);
        EXPECT_EQ(read.sink.Messages[0].buttons, TButtons::Ok);
    }
}

const std::string kLine = "0\nLINE\n8\n0\n10\n5\n20\n5\n30\n5\n11\n6\n21\n6\n31\n6\n";

INSTANTIATE_TEST_SUITE_P(
    DxfReading, EntitySelection,
    testing::Values(
        TEntityCase{"OtherEntitiesBetweenFaces",
                    Entities(Face({A, B, C}) + kLine + "0\nTEXT\n1\n3DFACE\n" + Face({A, C, D})), 2,
                    false},
        TEntityCase{"FacesInBlocksAndEntities",
                    "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nb\n" + Face({A, B, C}) +
                        "0\nENDBLK\n0\nENDSEC\n" + Entities(Face({A, C, D})),
                    2, false},
        TEntityCase{"RightAlignedCodesAndCrLf",
                    "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\n3DFACE \r\n 10\r\n1\r\n"
                    "  0\r\n 3DFACE\r\n  0\r\n\tENDSEC\r\n  0\r\nEOF\r\n",
                    2, false},
        TEntityCase{"NoSection", Face({A, B, C}), 0, true}, TEntityCase{"EmptyFile", "", 0, true},
        TEntityCase{"SectionWithoutFaces", Entities(kLine), 0, false},
        TEntityCase{"EndOfFileInsideAFace", "0\nSECTION\n" + Face({A, B, C}), 1, false},
        TEntityCase{"EndOfFileAfterACodeLine", "0\nSECTION\n" + Face({A, B, C}) + "0", 1, false},
        TEntityCase{"BrokenCodeLinesAreReportedOnce",
                    Entities(Face({A, B, C}) + "x\ny\n1.5\n7\n" + Face({A, C, D})), 2, true},
        TEntityCase{"NoLineEndAtAll", std::string(5000, 'z'), 0, true},
        TEntityCase{"BinaryNoise", std::string("0\nSECTION\n\0\xff\n\x80\x01\n0\n3DFACE\n", 25), 1,
                    true}),
    [](const testing::TestParamInfo<TEntityCase>& info) { return std::string(info.param.name); });

TEST(DxfReading, CoordinatesConvertExactlyLikeTheNumberParser)
{
    // Short plain decimals take a quicker path than long ones and exponents; every one must give
    // the double the full conversion gives.
    std::mt19937_64 random(11);
    std::vector<std::string> texts{"0",
                                   "-0",
                                   "0.1",
                                   "-.5",
                                   "5.",
                                   "1e-3",
                                   "+2.5",
                                   " 7.25 ",
                                   "0.3",
                                   "1.1e22",
                                   "1e23",
                                   "123456789012345",
                                   "1234567890123456",
                                   "0.000000000000000000000001",
                                   "9007199254740993",
                                   "2.2250738585072014e-308"};
    for (int i = 0; i < 3000; ++i) {
        std::string digits = std::to_string(random() % 100000000000000000ULL);
        digits = digits.substr(0, 1 + random() % digits.size());
        const std::size_t point = random() % (digits.size() + 1);
        // Built piece by piece: GCC 12 at -O3 warns falsely on the chained concatenation.
        std::string text = random() % 2 ? "-" : "";
        text += digits.substr(0, point);
        text += '.';
        text += digits.substr(point);
        if (random() % 3 == 0) {
            text = random() % 2 ? "-0.0000" : "0.0";
            text += digits;
        }
        texts.push_back(text);
    }
    std::string body;
    for (const std::string& text : texts)
        body += "0\n3DFACE\n10\n" + text + "\n";
    TRead read;
    ReadInto(read, Entities(body));
    EXPECT_TRUE(read.sink.Messages.empty());
    ASSERT_EQ(read.patches.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        double expected = 0.0;
        ASSERT_TRUE(ParseDouble(texts[i], expected)) << texts[i];
        const double actual = read.patches[i].Corners[0].x;
        ASSERT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
            << texts[i] << ": " << actual << " instead of " << expected;
    }
}

TEST(DxfReading, EndOfFileInsideAFaceKeepsWhatWasRead)
{
    TRead read;
    ReadInto(read, "0\nSECTION\n0\n3DFACE\n10\n1\n20\n2\n30\n3\n11\n4\n");
    ASSERT_EQ(read.patches.size(), 1u);
    EXPECT_EQ(read.patches[0].Corners[0], (P{1, 2, 3}));
    EXPECT_EQ(read.patches[0].Corners[1], (P{4, 0, 0}));
    EXPECT_EQ(read.patches[0].Corners[3], read.patches[0].Corners[2]);
}

TEST(DxfReading, ValuesThatDoNotConvertAreSkippedAndReportedOnce)
{
    TRead read;
    ReadInto(read, Entities("0\n3DFACE\n62\nred\n10\n1\n20\nabc\n30\n1e999\n20\n2\n11\nnan\n"));
    ASSERT_EQ(read.patches.size(), 1u);
    EXPECT_EQ(read.patches[0].ColourNumber, 0);
    EXPECT_EQ(read.patches[0].Corners[0], (P{1, 2, 0}));
    EXPECT_EQ(read.patches[0].Corners[1], (P{0, 0, 0}));
    ASSERT_EQ(read.sink.Messages.size(), 1u);
    EXPECT_EQ(read.sink.Messages[0].text, kNotDxf);
}

TEST(DxfReading, LayerAndColourNumberAreKeptPerFace)
{
    TRead read;
    ReadInto(read, Entities(Face({A, B, C}, "8\nWall \x83\x5c\n62\n4\n") + Face({A, C, D})));
    ASSERT_EQ(read.patches.size(), 2u);
    EXPECT_EQ(read.patches[0].Layer, "Wall \x83\x5c");
    EXPECT_EQ(read.patches[0].ColourNumber, 4);
    EXPECT_EQ(read.patches[1].ColourNumber, 0);
    EXPECT_EQ(read.model.Polygons[0].colour, 0x0000FFu); // red
    EXPECT_EQ(read.model.Polygons[1].colour, 0x000000u); // no code 62: black
}

TEST(DxfReading, ColourNumbersOutsideTheTableAreBlack)
{
    for (const int number : {-1, -7, 16, 256, 2147483647})
        EXPECT_EQ(TDXFobject::ColourOfNumber(number), 0x000000u) << number;
    EXPECT_EQ(TDXFobject::ColourOfNumber(1), 0x808080u);
    EXPECT_EQ(TDXFobject::ColourOfNumber(15), 0xFFFFFFu);
}

TEST(DxfReading, ProgressLinesGoToTheMessageListOnly)
{
    TRecordingSink sink;
    std::vector<std::string> lines;
    TDXFobject reader(sink, [&lines](const std::string& line) { lines.push_back(line); });
    reader.ReadBytes(Entities(Face({A, B, C}) + Face({A, C, D})), "m.dxf");
    EXPECT_EQ(lines, (std::vector<std::string>{"m.dxf open.", "2 Patchies read.", "m.dxf close."}));
    EXPECT_TRUE(sink.Messages.empty());
}

// --- Files ------------------------------------------------------------------------------------

TEST(DxfReading, MissingFileReadsAsEmptyWithoutAMessage)
{
    TRecordingSink sink;
    TDXFobject reader(sink);
    reader.Read(test::MakeTempDir() + "/absent.dxf");
    EXPECT_TRUE(reader.Patches().empty());
    EXPECT_TRUE(sink.Messages.empty());
}

TEST(DxfReading, AFolderCannotBeRead)
{
    TRecordingSink sink;
    TDXFobject reader(sink);
    EXPECT_THROW(reader.Read(test::MakeTempDir()), TReadError);
}

TEST(DxfReading, FileLargerThanOneChunkReadsLikeTheSameBytesInMemory)
{
    // About 2 MiB, so faces straddle the chunk boundaries of the file reader.
    std::string body;
    for (int i = 0; i < 20000; ++i) {
        const double x = i * 0.125;
        body += Face({{x, 0, 1}, {x + 1, 0, 1}, {x + 1, 1, 1}, {x, 1.5, 1}},
                     "62\n" + std::to_string(i % 16) + "\n");
    }
    const std::string bytes = Entities(body);
    ASSERT_GT(bytes.size(), 1u << 20);
    const std::string path = test::MakeTempDir() + "/big.dxf";
    test::WriteFileBytes(path, bytes);

    TRecordingSink sink;
    TDXFobject fromFile(sink);
    fromFile.Read(path);
    TDXFobject fromMemory(sink);
    fromMemory.ReadBytes(bytes);
    ASSERT_EQ(fromFile.Patches().size(), 20000u);
    ASSERT_EQ(fromMemory.Patches().size(), 20000u);
    for (std::size_t i = 0; i < 20000; ++i) {
        for (int c = 0; c < 4; ++c)
            ASSERT_EQ(fromFile.Patches()[i].Corners[c], fromMemory.Patches()[i].Corners[c]);
        ASSERT_EQ(fromFile.Patches()[i].ColourNumber, static_cast<int>(i % 16));
    }
    EXPECT_EQ(fromFile.Patches()[19999].Corners[3], (P{19999 * 0.125, 1.5, 1}));
    EXPECT_TRUE(sink.Messages.empty());

    // Reading straight into a model gives the model that Read and HandOver give.
    TpreviewObj handedOver;
    fromFile.HandOver(handedOver);
    TpreviewObj direct;
    TDXFobject streaming(sink);
    streaming.ReadInto(path, direct);
    EXPECT_TRUE(streaming.Patches().empty());
    ASSERT_EQ(direct.VertexCount(), handedOver.VertexCount());
    ASSERT_EQ(direct.EdgeCount(), handedOver.EdgeCount());
    ASSERT_EQ(direct.PolygonCount(), 20000);
    for (int i = 0; i < direct.VertexCount(); ++i) {
        ASSERT_EQ(
            (P{direct.Vertices[i].x, direct.Vertices[i].y, direct.Vertices[i].z}),
            (P{handedOver.Vertices[i].x, handedOver.Vertices[i].y, handedOver.Vertices[i].z}));
    }
    for (int i = 0; i < direct.PolygonCount(); ++i) {
        ASSERT_EQ(direct.Polygons[i].sides, handedOver.Polygons[i].sides);
        ASSERT_EQ(direct.Polygons[i].colour, handedOver.Polygons[i].colour);
    }
}

TEST(DxfReading, EveryTruncatedPrefixReadsWithoutFailing)
{
    const std::string bytes =
        "999\ncomment\n  0\r\nSECTION\r\n" +
        Entities(Face({A, B, C, D}, "62\n3\n") + kLine + Face({A, {2, 2, 2}, C}));
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        TRead read;
        ReadInto(read, bytes.substr(0, length));
        ASSERT_LE(read.sink.Messages.size(), 1u) << length;
        ASSERT_LE(read.patches.size(), 2u) << length;
    }
}

TEST(DxfReading, NumbersIgnoreTheLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    TRead read;
    ReadInto(read, Entities(Face({{0.5, 1.25, -2.75}, B, C})));
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(read.patches.size(), 1u);
    EXPECT_EQ(read.patches[0].Corners[0], (P{0.5, 1.25, -2.75}));
    EXPECT_TRUE(read.sink.Messages.empty());
}

// --- Files written by other programs -----------------------------------------------------------

struct TRealCase
{
    const char* file;
    int vertices;
    int edges;
    int polygons;
    int quads;
};

class RealDxfFiles : public testing::TestWithParam<TRealCase>
{
};

TEST_P(RealDxfFiles, GiveTheExpectedMesh)
{
    const std::string path = test::RealDataPath(std::string("dxf/") + GetParam().file);
    if (path.empty())
        GTEST_SKIP() << "real files are not available";
    TRecordingSink sink;
    TDXFobject reader(sink);
    reader.Read(path);
    TpreviewObj model;
    reader.HandOver(model);
    EXPECT_TRUE(sink.Messages.empty());
    EXPECT_EQ(model.VertexCount(), GetParam().vertices);
    EXPECT_EQ(model.EdgeCount(), GetParam().edges);
    EXPECT_EQ(model.PolygonCount(), GetParam().polygons);
    int quads = 0;
    for (const PolygonRec& polygon : model.Polygons)
        quads += polygon.count() == 4;
    EXPECT_EQ(quads, GetParam().quads);
    if (model.PolygonCount() > 0) {
        EXPECT_EQ(model.CountEdgeUse(), 2);
    }
}

// PinkEgg: 240 quads and 48 triangles written as quads with the first corner repeated; the
// egg is closed (V - E + F = 266 - 552 + 288 = 2). rifle: triangles only, as before.
// lineTest: a quad and a triangle sharing one side (4 + 3 - 2 vertices, 4 + 3 - 1 edges).
// 3dface: right-aligned codes; 46 faces in blocks and entities among text and polylines.
// wuson: no 3DFACE at all; one INSERT places a block holding a polyface mesh of 3205 positions
// (2117 distinct) and 3732 triangles.
INSTANTIATE_TEST_SUITE_P(DxfReading, RealDxfFiles,
                         testing::Values(TRealCase{"PinkEggFromLW.dxf", 266, 552, 288, 240},
                                         TRealCase{"rifle.dxf", 337, 905, 572, 0},
                                         TRealCase{"lineTest.dxf", 5, 6, 2, 1},
                                         TRealCase{"3dface.dxf", 147, 147, 46, 24},
                                         TRealCase{"wuson.dxf", 2117, 5804, 3732, 0}));

} // namespace
} // namespace kalvo
