// A long read tells its caller how far it has come and stops when asked, in every format: the
// desktop program's progress dialog and its Cancel button rest on this.

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

// A strip of triangles, each over corners i, i+1 and i+(0,1): about 1-2 MB in each format,
// so every reader reports several times.
constexpr int kTriangles = 12000;

std::string StripDxf()
{
    // Long layer names: the DXF reader takes the file in 1 MiB chunks and reports at each.
    const std::string layer(160, 'L');
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < kTriangles; ++i) {
        const std::string x = std::to_string(i), x1 = std::to_string(i + 1);
        text += "0\n3DFACE\n8\n" + layer + "\n10\n" + x + "\n20\n0\n30\n0\n11\n" + x1 +
                "\n21\n0\n31\n0\n12\n" + x + "\n22\n1\n32\n0\n";
    }
    return text + "0\nENDSEC\n0\nEOF\n";
}

std::string StripRok()
{
    std::string text = "ROKU4\nPOINT\n";
    for (int i = 0; i < kTriangles; ++i) {
        const std::string x = std::to_string(i), x1 = std::to_string(i + 1);
        const std::string corners[3] = {x + " 0 0", x1 + " 0 0", x + " 1 0"};
        for (int k = 0; k < 3; ++k)
            text += std::to_string(3 * i + k + 1) + "\n0\n0\n0\n0\n" + corners[k] + "\n";
    }
    text += "LINE0\n";
    for (int i = 0; i < kTriangles; ++i)
        for (int k = 0; k < 3; ++k)
            text += std::to_string(3 * i + k + 1) + "\n" + std::to_string(3 * i + (k + 1) % 3 + 1) +
                    "\n0\n0\n";
    text += "FACE0\n";
    for (int i = 0; i < kTriangles; ++i)
        text += "3\n0\n0\n" + std::to_string(3 * i + 1) + "\n" + std::to_string(3 * i + 2) + "\n" +
                std::to_string(3 * i + 3) + "\n";
    return text + "END00\n";
}

std::string StripRds()
{
    TpreviewObj model;
    model.Name = "strip";
    for (int i = 0; i < kTriangles; ++i) {
        const VertexInput corners[3] = {{0.0 + i, 0, 0}, {1.0 + i, 0, 0}, {0.0 + i, 1, 0}};
        model.AddPolygonByCorners(0, corners, 3);
    }
    model.CountEdgeUse();
    TRDSwriter writer;
    writer.AddObject(model);
    return writer.WriteToString();
}

std::string StripObj()
{
    std::string text;
    for (int i = 0; i <= kTriangles; ++i)
        text += "v " + std::to_string(i) + " 0 0\nv " + std::to_string(i) + " 1 0\n";
    for (int i = 0; i < kTriangles; ++i)
        text += "f " + std::to_string(2 * i + 1) + " " + std::to_string(2 * i + 3) + " " +
                std::to_string(2 * i + 2) + "\n";
    return text;
}

struct TWatchCase
{
    const char* Extension;
    TModelFormat Format;
    std::string (*File)();
};

class ReadWatching : public testing::TestWithParam<TWatchCase>
{
protected:
    void SetUp() override
    {
        folder_ = test::MakeTempDir();
        path_ = folder_ + "/strip." + GetParam().Extension;
        test::WriteFileBytes(path_, GetParam().File());
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Reads the file with watch (none when empty) into models.
    bool Read(TReadWatch::TCallback watch, std::vector<std::unique_ptr<TpreviewObj>>& models)
    {
        TModelReadContext context;
        context.Sink = &sink_;
        context.CreateModel = [&models](const std::string&) -> TpreviewObj& {
            models.push_back(std::make_unique<TpreviewObj>());
            return *models.back();
        };
        context.Watch = std::move(watch);
        return ReadModelFile(path_, GetParam().Format, context);
    }

    std::string folder_;
    std::string path_;
    test::TRecordingSink sink_;
};

TEST_P(ReadWatching, ReportsRisingFractionsAndReadsTheSameModel)
{
    std::vector<std::unique_ptr<TpreviewObj>> plain, watched;
    ASSERT_TRUE(Read({}, plain));
    std::vector<double> fractions;
    ASSERT_TRUE(Read(
        [&fractions](double fraction) {
            fractions.push_back(fraction);
            return true;
        },
        watched));

    EXPECT_TRUE(sink_.Messages.empty());
    ASSERT_GE(fractions.size(), 3u);
    for (std::size_t i = 0; i < fractions.size(); ++i) {
        EXPECT_GE(fractions[i], i == 0 ? 0.0 : fractions[i - 1]) << i;
        EXPECT_LE(fractions[i], 1.0) << i;
    }
    EXPECT_GT(fractions.back(), 0.6);
    ASSERT_EQ(watched.size(), plain.size());
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(watched[0]->PolygonCount(), plain[0]->PolygonCount());
    EXPECT_EQ(watched[0]->VertexCount(), plain[0]->VertexCount());
    EXPECT_EQ(plain[0]->PolygonCount(), kTriangles);
}

// Stopped at the first report, or half-way: the read ends at once with TReadCancelled and
// tells the user nothing.
TEST_P(ReadWatching, StopsWhenTheCallerSaysSo)
{
    for (const double stopAt : {0.0, 0.4}) {
        std::vector<std::unique_ptr<TpreviewObj>> models;
        int callsAfterStop = 0;
        bool stopped = false;
        EXPECT_THROW(Read(
                         [&](double fraction) {
                             if (stopped)
                                 ++callsAfterStop;
                             stopped = stopped || fraction >= stopAt;
                             return !stopped;
                         },
                         models),
                     TReadCancelled)
            << stopAt;
        EXPECT_TRUE(stopped);
        EXPECT_EQ(callsAfterStop, 0);
        EXPECT_TRUE(sink_.Messages.empty());
        ASSERT_LE(models.size(), 1u);
        if (!models.empty()) {
            EXPECT_LT(models[0]->PolygonCount(), kTriangles) << stopAt;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ReadWatching,
                         testing::Values(TWatchCase{"dxf", TModelFormat::Dxf, StripDxf},
                                         TWatchCase{"rok", TModelFormat::Rok, StripRok},
                                         TWatchCase{"rds", TModelFormat::Rds, StripRds},
                                         TWatchCase{"obj", TModelFormat::Assimp, StripObj}),
                         [](const auto& info) { return std::string(info.param.Extension); });

} // namespace
} // namespace kalvo
