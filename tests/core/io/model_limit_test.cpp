// A file with more faces than a model takes: every reader stops at the limit with one message,
// and the model keeps the faces read before it. The limit is lowered here; the readers meet
// the real one (kMaxModelPolygons) the same way.

#include "core/io/line_reader.h"
#include "core/io/model_files.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kalvo {
namespace {

// Three faces over the same three corners, in each format.
std::string ThreeFacesDxf()
{
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < 3; ++i)
        text += "0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n0\n22\n1\n32\n" +
                std::to_string(i) + "\n";
    return text + "0\nENDSEC\n0\nEOF\n";
}

std::string ThreeFacesRok()
{
    std::string text = "ROKU4\nPOINT\n";
    const char* const points[] = {"0 0 0", "1 0 0", "0 1 0"};
    for (int i = 0; i < 3; ++i)
        text += std::to_string(i + 1) + "\n0\n0\n0\n0\n" + points[i] + "\n";
    text += "LINE0\n1\n2\n0\n0\n2\n3\n0\n0\n3\n1\n0\n0\nFACE0\n";
    for (int i = 0; i < 3; ++i)
        text += "3\n0\n0\n1\n2\n3\n";
    return text + "END00\n";
}

std::string ThreeFacesRds()
{
    TpreviewObj model;
    model.Name = "faces";
    for (int i = 0; i < 3; ++i) {
        const VertexInput corners[3] = {{0, 0, 0.0 + i}, {1, 0, 0.0 + i}, {0, 1, 0.0 + i}};
        model.AddPolygonByCorners(0, corners, 3);
    }
    model.CountEdgeUse();
    TRDSwriter writer;
    writer.AddObject(model);
    return writer.WriteToString();
}

struct TLimitCase
{
    const char* Name;
    TModelFormat Format;
    std::string (*File)();
};

class ModelLimit : public testing::TestWithParam<TLimitCase>
{
};

TEST_P(ModelLimit, ReaderStopsThereWithOneMessageAndKeepsTheFacesBefore)
{
    const std::string path = test::MakeTempDir() + "/faces." + GetParam().Name;
    test::WriteFileBytes(path, GetParam().File());
    test::TRecordingSink sink;
    std::vector<std::unique_ptr<TpreviewObj>> models;
    TModelReadContext context;
    context.Sink = &sink;
    context.CreateModel = [&models](const std::string&) -> TpreviewObj& {
        models.push_back(std::make_unique<TpreviewObj>());
        models.back()->PolygonLimit = 2;
        return *models.back();
    };

    EXPECT_FALSE(ReadModelFile(path, GetParam().Format, context));

    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(sink.Messages[0].text, kModelTooLargeMessage);
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models[0]->PolygonCount(), 2);
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

INSTANTIATE_TEST_SUITE_P(Formats, ModelLimit,
                         testing::Values(TLimitCase{"dxf", TModelFormat::Dxf, ThreeFacesDxf},
                                         TLimitCase{"rok", TModelFormat::Rok, ThreeFacesRok},
                                         TLimitCase{"rds", TModelFormat::Rds, ThreeFacesRds}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A line past the line reader's chunk: the user is told, the faces around it still come.
TEST(DxfLineLimit, ALineOverTheLimitIsReportedOnce)
{
    const std::string face =
        "0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n0\n22\n1\n32\n0\n";
    const std::string bytes = "0\nSECTION\n2\nENTITIES\n" + face + "999\n" +
                              std::string(TLineReader::kChunkSize + 10, 'c') + "\n" + face +
                              "0\nENDSEC\n0\nEOF\n";
    const std::string path = test::MakeTempDir() + "/long.dxf";
    test::WriteFileBytes(path, bytes);
    test::TRecordingSink sink;
    std::vector<std::unique_ptr<TpreviewObj>> models;
    EXPECT_FALSE(ReadModelFile(path, TModelFormat::Dxf, sink, models));
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_NE(sink.Messages[0].text.find("1 MiB"), std::string::npos) << sink.Messages[0].text;
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models[0]->PolygonCount(), 2);
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

} // namespace
} // namespace kalvo
