#include "core/base/cp932.h"
#include "tests/support/test_paths.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalvo {
namespace {

struct TRun
{
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class CommandLine : public testing::Test
{
protected:
    std::string dir_ = test::MakeTempDir();

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        test::WriteFileBytes(Path(name), bytes);
        return Path(name);
    }

    TRun Run(const std::vector<std::string>& arguments) const
    {
        std::string command = Quoted(std::string(KALVO_BIN_DIR) + "/kalvo3d-cli");
        // Appended piece by piece: GCC 12 at -O3 warns falsely on chained concatenation.
        for (const std::string& argument : arguments) {
            command += ' ';
            command += Quoted(argument);
        }
        command += " >";
        command += Quoted(Path("stdout"));
        command += " 2>";
        command += Quoted(Path("stderr"));
        const int raw = std::system(command.c_str());
        TRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = test::ReadFileBytes(Path("stdout"));
        run.err = test::ReadFileBytes(Path("stderr"));
        return run;
    }
};

std::string Face(const std::string& corners) { return "0\n3DFACE\n8\n0\n" + corners; }

// A unit square as one four-cornered face and a triangle on its right side.
const std::string kQuadAndTriangle =
    "0\nSECTION\n2\nENTITIES\n" +
    Face("10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n") +
    Face("62\n4\n10\n1\n20\n0\n30\n0\n11\n2\n21\n0.5\n31\n0.25\n12\n1\n22\n1\n32\n0\n") +
    "0\nENDSEC\n0\nEOF\n";

// Three triangles on one edge: no RDS file can hold it.
const std::string kFan = "0\nSECTION\n2\nENTITIES\n" +
                         Face("10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n0\n22\n1\n32\n0\n") +
                         Face("10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n0\n22\n-1\n32\n0\n") +
                         Face("10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n12\n0\n22\n0\n32\n1\n") +
                         "0\nEOF\n";

const std::string kRefusedFan = "オブジェクトfan.dxfには3つ以上の面を共有する\n"
                                "稜線がふくまれているため、RDS形式で保存できません";

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(CommandLine, ConvertWritesTheFacesAsTheyWereDrawn)
{
    const TRun run = Run({"convert", "-o", Path("out.rds"), Write("quad.dxf", kQuadAndTriangle)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string failure =
        test::CompareWithGolden("cli_quad_and_triangle.rds", test::ReadFileBytes(Path("out.rds")));
    EXPECT_EQ(failure, "");
}

TEST_F(CommandLine, ConvertLeavesOutARefusedModelAndWritesTheOthers)
{
    const TRun run = Run({"convert", "-o", Path("out.rds"), Write("fan.dxf", kFan),
                          Write("good.DXF", kQuadAndTriangle)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(kRefusedFan), std::string::npos) << run.err;
    const std::string written = test::ReadFileBytes(Path("out.rds"));
    EXPECT_EQ(Count(written, "nm \"good.DXF\""), 1);
    EXPECT_EQ(Count(written, "fan.dxf"), 0);
}

TEST_F(CommandLine, ConvertCreatesNoFileWhenEveryModelIsRefused)
{
    const TRun run = Run({"convert", "-o", Path("out.rds"), Write("fan.dxf", kFan)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(kRefusedFan), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("out.rds")));
}

TEST_F(CommandLine, ConvertKeepsTheModelOfAFileWithAFormatError)
{
    const TRun run = Run({"convert", "-o", Path("out.rds"), Write("text.dxf", "hello\n")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("text.dxf: DXF fileではありません"), std::string::npos) << run.err;
    EXPECT_EQ(Count(test::ReadFileBytes(Path("out.rds")), "nm \"text.dxf\""), 1);
}

TEST_F(CommandLine, ConvertGoesOnPastAMissingInput)
{
    const TRun run = Run(
        {"convert", "-o", Path("out.rds"), Path("absent.dxf"), Write("a.dxf", kQuadAndTriangle)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("absent.dxf: no such file"), std::string::npos) << run.err;
    EXPECT_EQ(Count(test::ReadFileBytes(Path("out.rds")), "nm \"a.dxf\""), 1);
}

TEST_F(CommandLine, ConvertNamesAModelByItsFileInCodePage932)
{
    const TRun run = Run({"convert", "-o", Path("out.rds"), Write("立方体.dxf", kQuadAndTriangle)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Count(test::ReadFileBytes(Path("out.rds")), "nm \"" + Utf8ToCp932("立方体.dxf")), 1);
}

TEST_F(CommandLine, ConvertKeepsOrDropsLooseLines)
{
    // A ROK model with a triangle and one line that belongs to no face.
    std::string rok = "ROKU\nPOINT\n";
    for (const char* xyz : {"0 0 0", "1 0 0", "0 1 0", "5 5 5"})
        rok += std::string("1\n0\n0\n0\n0\n") + xyz + "\n";
    rok += "LINE0\n1\n2\n0\n0\n2\n3\n0\n0\n3\n1\n0\n0\n3\n4\n0\n0\n";
    rok += "FACE0\n3\n0\n0\n1\n2\n3\nEND00\n";
    Write("loose.rok", rok);

    const TRun keep = Run({"convert", "-o", Path("keep.rds"), Path("loose.rok")});
    EXPECT_EQ(keep.status, 0) << keep.err;
    EXPECT_EQ(Count(test::ReadFileBytes(Path("keep.rds")), "EdgA "), 4);
    const TRun drop =
        Run({"convert", "--loose-lines", "drop", "-o", Path("drop.rds"), Path("loose.rok")});
    EXPECT_EQ(drop.status, 0) << drop.err;
    EXPECT_EQ(Count(test::ReadFileBytes(Path("drop.rds")), "EdgA "), 3);
}

struct TUsageCase
{
    const char* name;
    std::vector<std::string> arguments;
    const char* message;
};

class CommandLineUsage : public CommandLine, public testing::WithParamInterface<TUsageCase>
{
};

TEST_P(CommandLineUsage, IsRefusedWithStatus2AndSaysWhy)
{
    Write("a.dxf", kQuadAndTriangle);
    Write("a.xyz", "");
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments)
        arguments.push_back(argument.rfind("@", 0) == 0 ? Path(argument.substr(1)) : argument);
    const TRun run = Run(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(Path("out.rds")));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, CommandLineUsage,
    testing::Values(TUsageCase{"MissingOutput", {"convert", "@a.dxf"}, "missing -o"},
                    TUsageCase{"NoInputs", {"convert", "-o", "@out.rds"}, "no input files"},
                    TUsageCase{"UnknownExtension",
                               {"convert", "-o", "@out.rds", "@a.dxf", "@a.xyz"},
                               "unknown file type"},
                    TUsageCase{"BadLooseLines",
                               {"convert", "--loose-lines", "maybe", "-o", "@out.rds", "@a.dxf"},
                               "keep or drop"},
                    TUsageCase{
                        "UnknownOption", {"info", "--yaml", "@a.dxf"}, "unknown option '--yaml'"},
                    TUsageCase{"InfoWithoutInputs", {"info", "--json"}, "no input files"}),
    [](const testing::TestParamInfo<TUsageCase>& info) { return std::string(info.param.name); });

TEST_F(CommandLine, HelpDescribesEachCommand)
{
    for (const char* command : {"convert", "info"}) {
        const TRun run = Run({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("Usage: kalvo3d-cli ") + command, 0), 0u) << run.out;
    }
}

TEST_F(CommandLine, InfoJsonGivesEveryModelWithExactNumbers)
{
    const std::string quad = Write("quad.dxf", kQuadAndTriangle);
    const std::string fan = Write("fan.dxf", kFan);
    const TRun run = Run({"info", "--json", quad, fan});
    EXPECT_EQ(run.status, 0) << run.err;
    // The quad and the triangle share their side from (1, 0, 0) to (1, 1, 0): 5 corners,
    // 6 sides. The fan: 5 corners, 7 sides, one of them on three faces.
    EXPECT_EQ(run.out,
              "[\n"
              "  {\"file\": \"" +
                  quad +
                  "\", \"name\": \"quad.dxf\", \"vertices\": 5, "
                  "\"edges\": 6, \"polygons\": 2, \"groups\": 1, "
                  "\"box\": [0, 2, 0, 1, 0, 0.25], \"uv\": [0, 0, 0, 0], \"edge_use\": 2},\n"
                  "  {\"file\": \"" +
                  fan +
                  "\", \"name\": \"fan.dxf\", \"vertices\": 5, "
                  "\"edges\": 7, \"polygons\": 3, \"groups\": 1, "
                  "\"box\": [0, 1, -1, 1, 0, 1], \"uv\": [0, 0, 0, 0], \"edge_use\": 3}\n"
                  "]\n");
}

TEST_F(CommandLine, InfoReportsAMissingFileWithStatus1)
{
    const TRun run = Run({"info", Path("absent.dxf"), Write("a.dxf", kQuadAndTriangle)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no such file"), std::string::npos);
    EXPECT_NE(run.out.find("  polygons  2\n"), std::string::npos) << run.out;
}

TEST_F(CommandLine, RealDxfFilesConvertCleanly)
{
    const std::string folder = test::RealDataPath("dxf");
    if (folder.empty())
        GTEST_SKIP() << "real files are not available";
    std::vector<std::string> arguments{"convert", "-o", Path("real.rds")};
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        arguments.push_back(entry.path().string());
    const TRun run = Run(arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Count(test::ReadFileBytes(Path("real.rds")), "vmda {"), 5);
}

} // namespace
} // namespace kalvo
