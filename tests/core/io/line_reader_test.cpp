#include "core/io/line_reader.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kalvo {
namespace {

std::vector<std::string> ReadAll(std::string_view bytes, std::size_t chunkSize)
{
    std::size_t offset = 0;
    TLineReader reader(
        [&](char* buffer, std::size_t size) {
            // Hand out at most 3 bytes at a time, so refills also happen mid-chunk.
            const std::size_t count = std::min({size, bytes.size() - offset, std::size_t(3)});
            std::copy_n(bytes.data() + offset, count, buffer);
            offset += count;
            return count;
        },
        chunkSize);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}

// Lines as the reader promises them: split at LF, one CR before each end dropped, a last line
// without LF kept, lines cut at the chunk size.
std::vector<std::string> Expected(const std::string& bytes, std::size_t chunkSize)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = bytes.find('\n', start);
        if (stop == std::string::npos)
            stop = bytes.size();
        std::string line = bytes.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > chunkSize)
            line.resize(chunkSize);
        lines.push_back(line);
        start = stop + 1;
    }
    return lines;
}

TEST(LineReading, SplitsLikeTheTextWhateverTheChunkSize)
{
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\n', '\r', ' ', '0'};
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 200, ' ');
        for (char& c : bytes)
            c = alphabet[random() % sizeof alphabet];
        for (const std::size_t chunk : {1, 2, 5, 16, 64, 1024}) {
            // A cut line keeps chunk bytes, CR included; compare only where no line was cut.
            const auto expected = Expected(bytes, chunk);
            bool anyCut = false;
            for (std::size_t start = 0; start <= bytes.size();) {
                std::size_t stop = bytes.find('\n', start);
                if (stop == std::string::npos)
                    stop = bytes.size();
                anyCut = anyCut || stop - start >= chunk;
                start = stop + 1;
            }
            if (anyCut)
                continue;
            ASSERT_EQ(ReadAll(bytes, chunk), expected) << "round " << round << " chunk " << chunk;
        }
    }
}

TEST(LineReading, CutsOverlongLinesAndGoesOnAfterThem)
{
    const std::string bytes = std::string(10, 'x') + "\nshort\r\n" + std::string(25, 'y');
    EXPECT_EQ(ReadAll(bytes, 8), (std::vector<std::string>{"xxxxxxxx", "short", "yyyyyyyy"}));
}

TEST(LineReading, GrowsItsBufferForLongLinesUpToTheChunkSize)
{
    // The buffer starts small; a line longer than that, but within the chunk size, is whole.
    const std::size_t first = TLineReader::kFirstChunkSize;
    const std::string longLine(3 * first + 5, 'x');
    const std::string tooLong(4 * first + 1, 'y');
    const std::string bytes = "a\n" + longLine + "\r\n" + tooLong + "\nb";
    EXPECT_EQ(ReadAll(bytes, 4 * first),
              (std::vector<std::string>{"a", longLine, std::string(4 * first, 'y'), "b"}));
}

TEST(LineReading, EndsWithoutAnEmptyLastLine)
{
    EXPECT_EQ(ReadAll("a\nb\n", 4), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ReadAll("a\n\nb", 4), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(ReadAll("", 4).empty());
}

} // namespace
} // namespace kalvo
