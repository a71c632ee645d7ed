#include "tests/support/test_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace kalvo::test {

std::string DataPath(const std::string& relative)
{
    return std::string(KALVO_TEST_DATA_DIR) + "/" + relative;
}

std::string RealDataPath(const std::string& relative)
{
    const std::string root = KALVO_REAL_DATA_DIR;
    if (root.empty() || !std::filesystem::exists(root + "/" + relative))
        return "";
    return root + "/" + relative;
}

std::string MakeTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kalvo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool UpdatingGoldens()
{
    const char* update = std::getenv("KALVO_UPDATE_GOLDENS");
    return update != nullptr && std::string_view(update) == "1";
}

std::string CompareWithGolden(const std::string& name, const std::string& actual)
{
    const std::string path = DataPath("golden/" + name);
    if (UpdatingGoldens()) {
        WriteFileBytes(path, actual);
        return "";
    }
    std::string expected;
    try {
        expected = ReadFileBytes(path);
    } catch (const std::exception&) {
        WriteFileBytes(path + ".actual", actual);
        return "golden file " + path + " is missing; wrote " + path + ".actual";
    }
    if (expected == actual)
        return "";
    WriteFileBytes(path + ".actual", actual);
    std::size_t line = 1;
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
        if (expected[at] == '\n')
            ++line;
        ++at;
    }
    std::ostringstream message;
    message << name << " differs from the golden file at byte " << at << " (line " << line
            << "); wrote " << path << ".actual"
            << "\n(if the change is intended: KALVO_UPDATE_GOLDENS=1 rewrites the golden files)";
    return message.str();
}

} // namespace kalvo::test
