// Writes that fail part-way or cannot start: the command line's convert, the RDS writer and the
// settings file, each in a child process, must leave the file that was there byte for byte as
// it was, leave no temporary file behind, fail with status 1 and say which file and why.

#include "core/base/errors.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "core/settings/settings.h"
#include "tests/support/test_paths.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kalvo {
namespace {

namespace fs = std::filesystem;

// A grid of size x size unit squares: its RDS file is a few megabytes, so a write under a file
// size limit of a megabyte and a half fails after the first full buffer went out.
constexpr int kGridSize = 130;
constexpr rlim_t kLimitForModels = 1536 * 1024;

std::string GridDxf()
{
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    const auto pair = [&text](int code, int value) {
        text += std::to_string(code);
        text += '\n';
        text += std::to_string(value);
        text += '\n';
    };
    for (int row = 0; row < kGridSize; ++row)
        for (int column = 0; column < kGridSize; ++column) {
            text += "0\n3DFACE\n8\n0\n";
            const int xs[4] = {column, column + 1, column + 1, column};
            const int ys[4] = {row, row, row + 1, row + 1};
            for (int corner = 0; corner < 4; ++corner) {
                pair(10 + corner, xs[corner]);
                pair(20 + corner, ys[corner]);
                pair(30 + corner, 0);
            }
        }
    return text + "0\nENDSEC\n0\nEOF\n";
}

void BuildGrid(TpreviewObj& model)
{
    for (int row = 0; row < kGridSize; ++row)
        for (int column = 0; column < kGridSize; ++column) {
            const double xs[4] = {0.0 + column, column + 1.0, column + 1.0, 0.0 + column};
            const double ys[4] = {0.0 + row, 0.0 + row, row + 1.0, row + 1.0};
            VertexInput corners[4]{};
            for (int corner = 0; corner < 4; ++corner) {
                corners[corner].x = xs[corner];
                corners[corner].y = ys[corner];
            }
            model.AddPolygonByCorners(0, corners, 4);
        }
}

// One way of writing a file, run in a child process: it writes to target and exits with the
// status the user would see, its message on stderr.
struct TWriterCase
{
    const char* Name;
    rlim_t PartialLimit; // a file size limit that stops this writer part-way
    // Returns the exit status; the child leaves with it once everything it made is destroyed.
    int (*Write)(const std::string& target, const std::string& inputFolder);
};

std::ostream& operator<<(std::ostream& out, const TWriterCase& writer)
{
    return out << writer.Name;
}

int WriteWithCommandLine(const std::string& target, const std::string& inputFolder)
{
    const std::string program = std::string(KALVO_BIN_DIR) + "/kalvo3d-cli";
    const std::string input = inputFolder + "/grid.dxf";
    execl(program.c_str(), program.c_str(), "convert", "-o", target.c_str(), input.c_str(),
          static_cast<char*>(nullptr));
    return 127;
}

int WriteWithRdsWriter(const std::string& target, const std::string&)
{
    TpreviewObj model;
    model.Name = "grid";
    BuildGrid(model);
    model.CountEdgeUse();
    TRDSwriter writer;
    writer.AddObject(model);
    try {
        writer.WriteFile(target);
    } catch (const TWriteError& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}

int WriteSettings(const std::string& target, const std::string&)
{
    try {
        SaveSettingsFile(TSettings{}, target);
    } catch (const TWriteError& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}

const TWriterCase kWriters[] = {
    {"CommandLine", kLimitForModels, WriteWithCommandLine},
    {"RdsWriter", kLimitForModels, WriteWithRdsWriter},
    {"Settings", 200, WriteSettings},
};

struct TChildResult
{
    int Status = -1;
    std::string Err;
};

// Runs the writer in a child process, under a file size limit when one is given; SIGXFSZ is
// ignored there, so a write past the limit fails with EFBIG instead of killing the process.
TChildResult RunWriter(const TWriterCase& writer, const std::string& target,
                       const std::string& inputFolder, rlim_t fileSizeLimit)
{
    const std::string errPath = inputFolder + "/stderr";
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err < 0 || dup2(err, 2) < 0)
            _exit(126);
        std::signal(SIGXFSZ, SIG_IGN);
        if (fileSizeLimit != RLIM_INFINITY) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(126);
        }
        const int status = writer.Write(target, inputFolder);
        std::fflush(stderr);
        _exit(status);
    }
    TChildResult result;
    int raw = 0;
    if (child > 0 && waitpid(child, &raw, 0) == child && WIFEXITED(raw))
        result.Status = WEXITSTATUS(raw);
    result.Err = test::ReadFileBytes(errPath);
    return result;
}

std::set<std::string> Listing(const std::string& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        names.insert(entry.path().string());
    return names;
}

const std::string kOldBytes = "the file as it was\r\n";

// A way for the write to fail: Prepare sets the output folder up and returns the target.
struct TFailureCase
{
    const char* Name;
    int Error; // the errno the message must give
    std::string (*Prepare)(const std::string& out, std::string& existing);
    bool UseSizeLimit = false;
};

std::ostream& operator<<(std::ostream& out, const TFailureCase& failure)
{
    return out << failure.Name;
}

const TFailureCase kFailures[] = {
    {"FileSizeLimit", EFBIG,
     [](const std::string& out, std::string& existing) {
         existing = out + "/scene.rds";
         test::WriteFileBytes(existing, kOldBytes);
         return existing;
     },
     true},
    {"TargetIsAFolder", EISDIR,
     [](const std::string& out, std::string& existing) {
         fs::create_directory(out + "/scene.rds");
         existing = out + "/scene.rds/inside.txt";
         test::WriteFileBytes(existing, kOldBytes);
         return out + "/scene.rds";
     }},
    {"FolderIsAFile", ENOTDIR,
     [](const std::string& out, std::string& existing) {
         existing = out + "/notes";
         test::WriteFileBytes(existing, kOldBytes);
         return existing + "/scene.rds";
     }},
    {"NameTooLong", ENAMETOOLONG,
     [](const std::string& out, std::string& existing) {
         existing = out + "/scene.rds";
         test::WriteFileBytes(existing, kOldBytes);
         return out + "/" + std::string(300, 'n') + ".rds";
     }},
    {"ReadOnlyFolder", EACCES,
     [](const std::string& out, std::string& existing) {
         fs::create_directory(out + "/locked");
         existing = out + "/locked/scene.rds";
         test::WriteFileBytes(existing, kOldBytes);
         chmod((out + "/locked").c_str(), 0555);
         return existing;
     }},
};

class FailedWrite : public testing::TestWithParam<std::tuple<TWriterCase, TFailureCase>>
{
protected:
    static void SetUpTestSuite()
    {
        inputs_ = test::MakeTempDir();
        test::WriteFileBytes(inputs_ + "/grid.dxf", GridDxf());
    }
    static void TearDownTestSuite() { fs::remove_all(inputs_); }
    void TearDown() override
    {
        chmod((out_ + "/locked").c_str(), 0755);
        fs::remove_all(out_);
    }

    static std::string inputs_;
    std::string out_ = test::MakeTempDir();
};

std::string FailedWrite::inputs_;

TEST_P(FailedWrite, KeepsTheOldFileAndSaysWhy)
{
    const auto& [writer, failure] = GetParam();
    std::string existing;
    const std::string target = failure.Prepare(out_, existing);
    if (failure.Error == EACCES && access((out_ + "/locked").c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    const std::set<std::string> before = Listing(out_);

    const TChildResult result = RunWriter(
        writer, target, inputs_, failure.UseSizeLimit ? writer.PartialLimit : RLIM_INFINITY);

    EXPECT_EQ(result.Status, 1) << result.Err;
    EXPECT_NE(result.Err.find(target), std::string::npos) << result.Err;
    EXPECT_NE(result.Err.find(std::strerror(failure.Error)), std::string::npos) << result.Err;
    EXPECT_EQ(test::ReadFileBytes(existing), kOldBytes);
    chmod((out_ + "/locked").c_str(), 0755);
    EXPECT_EQ(Listing(out_), before) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedWrite, testing::Combine(testing::ValuesIn(kWriters), testing::ValuesIn(kFailures)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
    });

class LongName : public testing::TestWithParam<TWriterCase>
{
};

// A name of 254 bytes is legal; the temporary file beside it must not need more.
TEST_P(LongName, WritesAFileWhoseNameIsNearTheLimit)
{
    const std::string inputs = test::MakeTempDir();
    test::WriteFileBytes(inputs + "/grid.dxf", GridDxf());
    const std::string out = test::MakeTempDir();
    const std::string target = out + "/" + std::string(250, 'n') + ".rds";
    const TChildResult result = RunWriter(GetParam(), target, inputs, RLIM_INFINITY);
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_TRUE(fs::is_regular_file(target));
    EXPECT_EQ(Listing(out), std::set<std::string>{target});
    fs::remove_all(inputs);
    fs::remove_all(out);
}

INSTANTIATE_TEST_SUITE_P(Writers, LongName, testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.Name); });

// The folder is removed while the file is being written: the writer reports it, and nothing of
// the export is left anywhere.
TEST(FailedWriteFolderGone, ReportsTheFileAndTheReason)
{
    const std::string out = test::MakeTempDir();
    const std::string folder = out + "/scenes";
    fs::create_directory(folder);
    const std::string target = folder + "/scene.rds";
    TpreviewObj model;
    model.Name = "grid";
    BuildGrid(model);
    model.CountEdgeUse();
    TRDSwriter writer;
    writer.AddObject(model);
    writer.OpenFile(target);
    writer.WriteLines(RdsHeaderLines());
    writer.WriteObjects();
    fs::remove_all(folder);
    writer.WriteFooter();
    try {
        writer.CloseFile();
        ADD_FAILURE() << "the write was reported as done";
    } catch (const TWriteError& failure) {
        const std::string message = failure.what();
        EXPECT_NE(message.find(target), std::string::npos) << message;
        EXPECT_NE(message.find(std::strerror(ENOENT)), std::string::npos) << message;
    }
    EXPECT_TRUE(fs::is_empty(out));
    fs::remove_all(out);
}

} // namespace
} // namespace kalvo
