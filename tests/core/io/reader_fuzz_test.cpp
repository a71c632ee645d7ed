// Mangled inputs for every reader: truncations, flipped and inserted bytes, noise, huge counts
// and deep nesting. Each must end with a message or an empty or partial model whose indices all
// point inside its lists; the sanitizers catch the rest.

#include "core/base/errors.h"
#include "core/io/dxf_reader.h"
#include "core/io/rds_writer.h"
#include "core/io/rok_reader.h"
#include "tests/core/io/rds_test_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace kalvo::test {
namespace {

void ExpectSoundModel(const TpreviewObj& model)
{
    for (const TEdgeC& edge : model.Edges) {
        ASSERT_GE(edge.StartVertex, 0);
        ASSERT_LT(edge.StartVertex, model.VertexCount());
        ASSERT_GE(edge.EndVertex, 0);
        ASSERT_LT(edge.EndVertex, model.VertexCount());
    }
    for (const PolygonRec& polygon : model.Polygons)
        for (int side : polygon.sides) {
            ASSERT_GE(side, 0);
            ASSERT_LT(side, model.EdgeCount());
        }
    ASSERT_EQ(static_cast<int>(model.Groups.size()), model.GroupCount);
}

std::string SeedRds()
{
    TpreviewObj model;
    model.Name = "Seed";
    std::vector<VertexInput> corners;
    for (int i = 0; i < 6; ++i)
        corners.push_back(FillVertexInput(i, i * i, 1, i / 8.0, 0.5, 0, i, false));
    model.AddPolygonByCorners(255, corners);
    model.AddPolygonByCorners(255,
                              {corners[0], corners[1], FillVertexInput(0, 0, 9, 0, 0, 0, 0, 0)});
    model.CountEdgeUse();
    TRDSwriter writer;
    writer.AddObject(model);
    writer.AddObject(model);
    std::string text = writer.WriteToString();
    // Raw data inside the object, so that mutations reach the "$" handling.
    const std::size_t at = text.find("  AVer {\r\n") + 10;
    text.insert(at, "    raw $6\r\n}}}{{{");
    return text;
}

std::string SeedRok()
{
    std::string text = "ROKU4\r\nPALC0\r\n2\r\n0\r\n";
    for (int i = 0; i < 2; ++i)
        text += "200\r\n100\r\n50\r\n0\r\n0\r\n0\r\n0\r\n";
    text += "ENDP0\r\nPOINT\r\n";
    const char* points[] = {"0 0 0", "1 0 0", "1 1 0", "0 1 0", "0 0 0"};
    for (int i = 0; i < 5; ++i)
        text += std::to_string(i + 1) + "\r\n" + std::to_string(i / 3) + "\r\n0\r\n0\r\n0\r\n" +
                points[i] + "\r\n";
    text += "LINE0\r\n";
    const int lines[][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {1, 4}};
    for (const auto& line : lines)
        text += std::to_string(line[0]) + "\r\n" + std::to_string(line[1]) + "\r\n0\r\n0\r\n";
    text += "FACE0\r\n4\r\n1\r\n0\r\n1\r\n2\r\n3\r\n4\r\n3\r\n0\r\n0\r\n1\r\n5\r\n4\r\nEND00\r\n";
    return text;
}

std::string SeedDxf()
{
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int f = 0; f < 3; ++f) {
        text += "0\n3DFACE\n8\nL\n62\n" + std::to_string(f) + "\n";
        for (int c = 0; c < 4; ++c)
            for (int axis = 0; axis < 3; ++axis)
                text += std::to_string(10 * (axis + 1) + c) + "\n" +
                        std::to_string(f + c * (axis == 0) + (c > 1) * (axis == 1)) + ".5\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

std::vector<std::string> Mutations(const std::string& seed, std::mt19937& random, int count)
{
    static const std::string tokens[] = {
        "{",           "}",      "$FFFFFFFF",  "$7",
        "$",           "-1",     "2147483647", "99999999999",
        "\r",          "\n",     "\r\n",       std::string("\0", 1),
        " ",           "\"",     ",",          "Pgon 0,1,2,3,4,5,6,7,8,9,10",
        "VerS {",      "Pmsh {", "PALC0",      "FACE0",
        "-2147483648", "nan",    "1e308"};
    std::vector<std::string> out;
    const std::size_t step = std::max<std::size_t>(1, seed.size() / 150);
    for (std::size_t cut = 0; cut < seed.size(); cut += step)
        out.push_back(seed.substr(0, cut));
    for (int i = 0; i < count; ++i) {
        std::string text = seed;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = random() % text.size();
            switch (random() % 4) {
            case 0:
                text[at] = static_cast<char>(random() % 256);
                break;
            case 1:
                text.erase(at, 1 + random() % 16);
                break;
            case 2:
                text.insert(at, tokens[random() % std::size(tokens)]);
                break;
            default:
                text.insert(at, std::string(1 + random() % 8, static_cast<char>(random() % 256)));
                break;
            }
        }
        out.push_back(std::move(text));
    }
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() % 256);
    out.push_back(noise);
    out.push_back(seed.substr(0, 20) + noise);
    return out;
}

class ReaderFuzz : public ::testing::Test
{
protected:
    void ReadRds(const std::string& bytes)
    {
        WriteFileBytes(path_, bytes);
        TRecordingSink sink;
        TRDSbrowser browser(&sink);
        std::vector<std::unique_ptr<TpreviewObj>> models;
        try {
            if (browser.ScanFile(path_)) {
                TRDSloadCallbacks callbacks;
                callbacks.CreateModelEntry = [&models](const std::string&) -> TpreviewObj& {
                    models.push_back(std::make_unique<TpreviewObj>());
                    return *models.back();
                };
                browser.LoadObjects(callbacks);
            }
        } catch (const TReadError&) {
        }
        ASSERT_LE(sink.Messages.size(), 1u);
        for (const auto& model : models)
            ExpectSoundModel(*model);
    }

    const std::string path_ = MakeTempDir() + "/fuzz.rds";
};

TEST_F(ReaderFuzz, RdsReaderSurvivesMangledFiles)
{
    std::mt19937 random(20240607);
    for (const std::string& input : Mutations(SeedRds(), random, 400)) {
        ReadRds(input);
        if (HasFatalFailure())
            FAIL() << "input:\n" << input;
    }
}

TEST_F(ReaderFuzz, RdsReaderSurvivesDeepNestingAndHugeCounts)
{
    const std::string head = "3DC {\r\n}\r\nsc {\r\nob {\r\nvmda {\r\nnm \"D\"\r\n";
    std::string deep = head;
    for (int i = 0; i < 200000; ++i)
        deep += "a {\n";
    ReadRds(deep);
    ReadRds(head + "xprm {\r\nPmSt {\r\nPmsh {\r\nblob $7FFFFFFFFFFFFFFF\r\nabc\r\n");
    ReadRds(head + "raw $FFFFFFFFFFFFFFFFFFFFFFFF\r\n}\r\n");
    ReadRds(head + "xprm {\r\nPmSt {\r\nPmsh {\r\nPgns {\r\nPgon " + std::string(300000, ',') +
            "\r\n");
    ReadRds(std::string(300000, 'x'));
}

TEST(ReaderFuzzRok, RokReaderSurvivesMangledFiles)
{
    std::mt19937 random(7);
    for (const std::string& input : Mutations(SeedRok(), random, 1500)) {
        TRecordingSink sink;
        TpreviewObj model;
        TROKobject reader(sink);
        if (reader.ReadPaletteFromBytes(input))
            reader.ReadGeometry(model);
        ASSERT_LE(sink.Messages.size(), 2u) << input;
        ExpectSoundModel(model);
        if (HasFatalFailure())
            FAIL() << "input:\n" << input;
    }
}

TEST(ReaderFuzzDxf, DxfReaderSurvivesMangledFiles)
{
    std::mt19937 random(11);
    for (const std::string& input : Mutations(SeedDxf(), random, 800)) {
        TRecordingSink sink;
        TpreviewObj model;
        TDXFobject reader(sink);
        reader.ReadBytes(input);
        reader.HandOver(model);
        ExpectSoundModel(model);
        if (HasFatalFailure())
            FAIL() << "input:\n" << input;
    }
}

// Files written by other programs: whatever they are, both readers get through them, and a file
// of the other kind is refused with one message.
TEST_F(ReaderFuzz, RealFilesReadWithoutHarm)
{
    const std::string root = RealDataPath("");
    if (root.empty())
        GTEST_SKIP() << "no folder of real files";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string bytes = ReadFileBytes(entry.path().string());
        SCOPED_TRACE(entry.path().string());
        ReadRds(bytes);
        TRecordingSink sink;
        TpreviewObj model;
        const bool read = ReadROKFile(entry.path().string(), model, sink);
        ExpectSoundModel(model);
        if (bytes.rfind("ROKU", 0) != 0) {
            EXPECT_FALSE(read);
            EXPECT_EQ(sink.Messages.size(), 1u);
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
} // namespace kalvo::test
