#include "core/base/errors.h"
#include "core/io/rds_writer.h"
#include "core/model/preview_obj.h"
#include "tests/support/test_paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvo {
namespace {

namespace fs = std::filesystem;

void FillBox(TpreviewObj& model)
{
    model.Name = "Box";
    model.AddPolygonByCorners(0, {FillVertexInput(0, 0, 0, 0, 0, 0, 0, false),
                                  FillVertexInput(1, 0, 0, 1, 0, 0, 0, false),
                                  FillVertexInput(0, 1, 0, 0, 1, 0, 0, false)});
    model.CountEdgeUse();
}

// A grid of 2 * cells * cells triangles: several megabytes of text, more than one buffer.
void FillGrid(TpreviewObj& model, int cells)
{
    model.Name = "Grid";
    const auto corner = [](int i, int j) {
        return FillVertexInput(i * 0.1, j * 0.1, (i * j) % 5 * 0.01, i / 64.0, j / 64.0, 0, 0,
                               false);
    };
    for (int i = 0; i < cells; ++i)
        for (int j = 0; j < cells; ++j) {
            model.AddPolygonByCorners(0, {corner(i, j), corner(i + 1, j), corner(i + 1, j + 1)});
            model.AddPolygonByCorners(0, {corner(i, j), corner(i + 1, j + 1), corner(i, j + 1)});
        }
    model.CountEdgeUse();
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Stands for a failure after part of the file has gone out, such as a full disk.
class TFailingWriter : public TRDSwriter
{
public:
    void WriteFooter() override
    {
        TRDSwriter::WriteFooter();
        throw TWriteError("disk full");
    }
};

class RdsFileWriting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = test::MakeTempDir();
        target_ = folder_ + "/scene.rds";
        FillBox(box_);
    }
    void TearDown() override
    {
        chmod(folder_.c_str(), 0700);
        fs::remove_all(folder_);
    }

    std::string folder_;
    std::string target_;
    TpreviewObj box_;
};

// What stands at the target before the writing. Whatever it is, the target ends up holding the
// scene with no temporary file left beside it, and what the user set up stays: a replaced file
// keeps its permissions, a symbolic link stays a link and its target is replaced.
enum class TTarget { Nothing, FileWithItsOwnPermissions, SymbolicLink };

class RdsFileTarget : public RdsFileWriting, public ::testing::WithParamInterface<TTarget>
{
};

TEST_P(RdsFileTarget, HoldsTheSceneAndKeepsWhatStoodThere)
{
    const std::string real = folder_ + "/real.rds";
    std::set<std::string> entries{"scene.rds"};
    switch (GetParam()) {
    case TTarget::Nothing:
        break;
    case TTarget::FileWithItsOwnPermissions:
        test::WriteFileBytes(target_, "old");
        ASSERT_EQ(chmod(target_.c_str(), 0640), 0);
        break;
    case TTarget::SymbolicLink:
        test::WriteFileBytes(real, "old");
        fs::create_symlink(real, target_);
        entries.insert("real.rds");
        break;
    }
    TRDSwriter writer;
    writer.AddObject(box_);
    writer.WriteFile(target_);

    const bool link = GetParam() == TTarget::SymbolicLink;
    EXPECT_EQ(fs::is_symlink(target_), link);
    EXPECT_EQ(test::CompareWithGolden("box.rds", test::ReadFileBytes(link ? real : target_)), "");
    EXPECT_EQ(FolderEntries(folder_), entries);
    if (GetParam() == TTarget::FileWithItsOwnPermissions) {
        struct stat info;
        ASSERT_EQ(stat(target_.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, RdsFileTarget,
                         ::testing::Values(TTarget::Nothing, TTarget::FileWithItsOwnPermissions,
                                           TTarget::SymbolicLink),
                         [](const ::testing::TestParamInfo<TTarget>& info) {
                             switch (info.param) {
                             case TTarget::Nothing:
                                 return "NewFile";
                             case TTarget::FileWithItsOwnPermissions:
                                 return "ReplacedFile";
                             case TTarget::SymbolicLink:
                                 return "SymbolicLink";
                             }
                             return "";
                         });

TEST_F(RdsFileWriting, LargeOutputInFileEqualsOutputInMemory)
{
    TpreviewObj grid;
    FillGrid(grid, 120);
    TRDSwriter writer;
    writer.AddObject(grid);
    writer.AddObject(box_);
    writer.WriteFile(target_);
    const std::string inFile = test::ReadFileBytes(target_);
    EXPECT_GT(inFile.size(), 2u << 20);
    EXPECT_TRUE(inFile == writer.WriteToString());
}

TEST_F(RdsFileWriting, FailureWhileWritingKeepsTheOldFile)
{
    test::WriteFileBytes(target_, "old contents");
    TpreviewObj grid;
    FillGrid(grid, 80); // more than one buffer: enough that part of the file has reached the disk
    {
        TFailingWriter writer;
        writer.AddObject(grid);
        EXPECT_THROW(writer.WriteFile(target_), TWriteError);
    }
    EXPECT_EQ(test::ReadFileBytes(target_), "old contents");
    EXPECT_EQ(FolderEntries(folder_), std::set<std::string>{"scene.rds"});
}

TEST_F(RdsFileWriting, AbandonedWriterLeavesNoFile)
{
    {
        TRDSwriter writer;
        writer.AddObject(box_);
        writer.OpenFile(target_);
        writer.WriteLines(RdsHeaderLines());
        writer.WriteObjects();
    }
    EXPECT_TRUE(FolderEntries(folder_).empty());
}

TEST_F(RdsFileWriting, DirectoryInTheWayIsReportedAndKept)
{
    fs::create_directory(target_);
    test::WriteFileBytes(target_ + "/inside", "x");
    TRDSwriter writer;
    writer.AddObject(box_);
    try {
        writer.WriteFile(target_);
        FAIL() << "no error for a directory in the way";
    } catch (const TWriteError& error) {
        EXPECT_NE(std::string(error.what()).find(target_), std::string::npos) << error.what();
    }
    EXPECT_TRUE(fs::is_directory(target_));
    EXPECT_EQ(test::ReadFileBytes(target_ + "/inside"), "x");
    EXPECT_EQ(FolderEntries(folder_), std::set<std::string>{"scene.rds"});
}

TEST_F(RdsFileWriting, MissingFolderIsReportedWithTheSystemMessage)
{
    TRDSwriter writer;
    writer.AddObject(box_);
    const std::string path = folder_ + "/missing/scene.rds";
    try {
        writer.WriteFile(path);
        FAIL() << "no error for a missing folder";
    } catch (const TWriteError& error) {
        EXPECT_EQ(std::string(error.what()), SystemErrorText(path, ENOENT));
    }
}

TEST_F(RdsFileWriting, ReadOnlyFolderKeepsTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    test::WriteFileBytes(target_, "old contents");
    ASSERT_EQ(chmod(folder_.c_str(), 0500), 0);
    TRDSwriter writer;
    writer.AddObject(box_);
    EXPECT_THROW(writer.WriteFile(target_), TWriteError);
    EXPECT_EQ(test::ReadFileBytes(target_), "old contents");
}

} // namespace
} // namespace kalvo
