// Every kept fuzz input replayed through its target's code, under the sanitisers: whatever a
// campaign once found stays fixed.

#include "fuzz/fuzz_targets.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CorpusReplay : public testing::TestWithParam<kalvo::fuzz::TFuzzTarget>
{
};

TEST_P(CorpusReplay, EveryKeptInputPasses)
{
    const fs::path folder = fs::path(KALVO_FUZZ_CORPUS_DIR) / GetParam().Name;
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no kept inputs in " << folder;
    for (const fs::path& file : files) {
        try {
            GetParam().Run(ReadAll(file));
        } catch (const std::exception& failure) {
            ADD_FAILURE() << file.filename() << ": " << failure.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, CorpusReplay, testing::ValuesIn(kalvo::fuzz::FuzzTargets()),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
