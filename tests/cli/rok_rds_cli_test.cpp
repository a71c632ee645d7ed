// The command line reads ROK and RDS files like DXF files: one model per ROK file, one per
// named mesh object of an RDS file.

#include "tests/support/test_paths.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalvo {
namespace {

class RokRdsCommandLine : public testing::Test
{
protected:
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        test::WriteFileBytes(Path(name), bytes);
        return Path(name);
    }

    // Runs kalvo3d-cli; returns its exit status and leaves its stderr in err_.
    int Run(const std::vector<std::string>& arguments)
    {
        std::string command = "'" + std::string(KALVO_BIN_DIR) + "/kalvo3d-cli'";
        for (const std::string& argument : arguments)
            command += " '" + argument + "'";
        command += " >'" + Path("stdout") + "' 2>'" + Path("stderr") + "'";
        const int raw = std::system(command.c_str());
        err_ = test::ReadFileBytes(Path("stderr"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    std::string dir_ = test::MakeTempDir();
    std::string err_;
};

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A triangle: three points, three lines, one face.
const std::string kTriangleRok =
    "ROKU4\r\nPOINT\r\n"
    "1\r\n0\r\n0\r\n0\r\n0\r\n0 0 0\r\n"
    "2\r\n0\r\n0\r\n0\r\n0\r\n1 0 0\r\n"
    "3\r\n0\r\n0\r\n0\r\n0\r\n0 1 0\r\n"
    "LINE0\r\n1\r\n2\r\n0\r\n0\r\n2\r\n3\r\n0\r\n0\r\n3\r\n1\r\n0\r\n0\r\n"
    "FACE0\r\n3\r\n0\r\n0\r\n1\r\n2\r\n3\r\nEND00\r\n";

std::string RdsObject(const std::string& name, const std::string& z)
{
    return "vmda {\n nm " + name +
           "\n xprm {\n  PmSt {\nPmsh {\n Vrts {\n"
           "  VerS {\n   Posn 0,0," +
           z + "\n  }\n  VerS {\n   Posn 1,0," + z + "\n  }\n  VerS {\n   Posn 0,1," + z +
           "\n  }\n }\n Pgns {\n  Pgon 0,1,2\n }\n}\n  }\n }\n}\n";
}

// A value that does not convert ends the reading of the file, but the objects read before it
// are still written; the command reports the failure in its status.
TEST_F(RokRdsCommandLine, ObjectsReadBeforeAnUnconvertibleValueAreStillWritten)
{
    std::string broken = RdsObject("\"B\"", "2");
    broken.insert(broken.find("Pmsh {\n") + 7, " CAng abc\n");
    const std::string rds =
        "3DC {\n}\nsc {\n ob {\n" + RdsObject("\"A\"", "1") + broken + " }\n}\n";
    EXPECT_EQ(Run({"convert", "-o", Path("out.rds"), Write("broken.rds", rds)}), 1);
    EXPECT_NE(err_.find("abc"), std::string::npos) << err_;
    const std::string out = test::ReadFileBytes(Path("out.rds"));
    EXPECT_EQ(Count(out, "nm \"A\""), 1);
}

TEST_F(RokRdsCommandLine, ConvertTakesEveryModelOfRokAndRdsInputs)
{
    const std::string rds =
        "3DC {\n}\nsc {\n ob {\n" + RdsObject("\"A\"", "1") + RdsObject("\"B b\"", "2") + " }\n}\n";
    ASSERT_EQ(Run({"convert", "-o", Path("out.rds"), Write("tri.rok", kTriangleRok),
                   Write("two.rds", rds)}),
              0)
        << err_;
    const std::string out = test::ReadFileBytes(Path("out.rds"));
    EXPECT_EQ(Count(out, "vmda {"), 3);
    EXPECT_EQ(Count(out, "nm \"tri.rok\""), 1);
    EXPECT_EQ(Count(out, "nm \"A\""), 1);
    EXPECT_EQ(Count(out, "nm \"B b\""), 1);
    EXPECT_EQ(Count(out, "Pgon "), 3);
}

TEST_F(RokRdsCommandLine, InfoSaysWhenAnRdsFileHoldsNoMesh)
{
    Run({"info", Write("empty.rds", "3DC {\r\n}\r\nsc {\r\n  ob {\r\n  }\r\n}\r\n")});
    EXPECT_NE(err_.find("このファイルにはメッシュ形状がふくまれていません。"), std::string::npos)
        << err_;
    Run({"info", Write("bad.rok", "not a model\r\n")});
    EXPECT_NE(err_.find("ファイル形式の認識ができません。"), std::string::npos) << err_;
}

} // namespace
} // namespace kalvo
