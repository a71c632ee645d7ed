// What kalvo3d-cli writes does not depend on the user's locale, and file names in any
// encoding are read, written and shown.

#include "core/base/cp932.h"
#include "tests/support/test_paths.h"

#include <clocale>
#include <filesystem>
#include <gtest/gtest.h>
#include <locale.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kalvo {
namespace {

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct TOutput
{
    int Status = -1;
    std::string Out;
};

// Runs kalvo3d-cli with LC_ALL set to locale; stderr goes to the test's log.
TOutput RunIn(const std::string& locale, const std::string& folder,
              const std::vector<std::string>& arguments)
{
    std::string command =
        "LC_ALL=" + Quoted(locale) + " " + Quoted(std::string(KALVO_BIN_DIR) + "/kalvo3d-cli");
    // Appended piece by piece: GCC 12 at -O3 warns falsely on chained concatenation.
    for (const std::string& argument : arguments) {
        command += ' ';
        command += Quoted(argument);
    }
    command += " >";
    command += Quoted(folder + "/stdout");
    const int raw = std::system(command.c_str());
    return TOutput{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::ReadFileBytes(folder + "/stdout")};
}

bool Installed(const char* locale)
{
    const locale_t handle = newlocale(LC_ALL_MASK, locale, static_cast<locale_t>(0));
    if (handle == static_cast<locale_t>(0))
        return false;
    freelocale(handle);
    return true;
}

// Fractions everywhere, so a decimal comma anywhere would show.
const std::string kDecimalFaces = "0\nSECTION\n2\nENTITIES\n"
                                  "0\n3DFACE\n8\n0\n10\n0.5\n20\n-2.25\n30\n1e-3\n"
                                  "11\n1.125\n21\n0.75\n31\n-0.5\n12\n3.5\n22\n4.25\n32\n0.0625\n"
                                  "0\nENDSEC\n0\nEOF\n";

TEST(CommandLineLocale, ConvertAndInfoWriteTheSameBytesInEveryLocale)
{
    const std::string folder = test::MakeTempDir();
    const std::string dxf = folder + "/faces.dxf";
    test::WriteFileBytes(dxf, kDecimalFaces);
    const std::string rds = folder + "/faces.rds";
    ASSERT_EQ(RunIn("C", folder, {"convert", "-o", rds, dxf}).Status, 0);
    const std::vector<std::string> inputs = {dxf, rds};

    const auto convert = [&](const std::string& locale) {
        const std::string out = folder + "/out-" + locale + ".rds";
        std::vector<std::string> arguments = {"convert", "-o", out};
        arguments.insert(arguments.end(), inputs.begin(), inputs.end());
        EXPECT_EQ(RunIn(locale, folder, arguments).Status, 0) << locale;
        return test::ReadFileBytes(out);
    };
    const auto info = [&](const std::string& locale) {
        std::vector<std::string> arguments = {"info", "--json"};
        arguments.insert(arguments.end(), inputs.begin(), inputs.end());
        const TOutput output = RunIn(locale, folder, arguments);
        EXPECT_EQ(output.Status, 0) << locale;
        return output.Out;
    };
    const std::string convertC = convert("C");
    const std::string infoC = info("C");
    ASSERT_NE(infoC.find("0.0625"), std::string::npos) << infoC;
    int checked = 0;
    for (const char* locale : {"de_DE.UTF-8", "ja_JP.UTF-8"}) {
        if (!Installed(locale))
            continue;
        ++checked;
        EXPECT_EQ(convert(locale), convertC) << locale;
        EXPECT_EQ(info(locale), infoC) << locale;
    }
    std::filesystem::remove_all(folder);
    if (checked == 0)
        GTEST_SKIP() << "neither de_DE.UTF-8 nor ja_JP.UTF-8 is installed (scripts/setup.sh)";
}

// A name in another system's encoding (not UTF-8) and one with characters code page 932 lacks:
// both read, export under their names with "?" for what the file cannot hold, and show with
// U+FFFD where the bytes are not UTF-8.
TEST(CommandLineFileNames, NamesInAnyEncodingReadExportAndShow)
{
    const std::string folder = test::MakeTempDir();
    const std::string latin1 = folder + "/bad\xFF\xFE.dxf";
    const std::string outside932 = folder + "/한글😀.dxf";
    test::WriteFileBytes(latin1, kDecimalFaces);
    test::WriteFileBytes(outside932, kDecimalFaces);
    const std::string out = folder + "/out\xFF.rds";

    EXPECT_EQ(RunIn("C.UTF-8", folder, {"convert", "-o", out, latin1, outside932}).Status, 0);
    const std::string written = test::ReadFileBytes(out);
    EXPECT_NE(written.find("nm \"bad??.dxf\""), std::string::npos) << written;
    EXPECT_NE(written.find("nm \"???.dxf\""), std::string::npos) << written;

    const TOutput json = RunIn("C.UTF-8", folder, {"info", "--json", latin1, outside932});
    EXPECT_EQ(json.Status, 0);
    EXPECT_NE(json.Out.find("bad\xEF\xBF\xBD\xEF\xBF\xBD.dxf\""), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("한글😀.dxf\""), std::string::npos) << json.Out;
    EXPECT_EQ(json.Out.find('\xFF'), std::string::npos) << "JSON output must be UTF-8";
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kalvo
