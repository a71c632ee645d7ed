#include "core/io/rds_strings.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kalvo {
namespace {

struct TSeparatorCase
{
    const char* Text;
    char Separator;
    int From;
    int Expected;
};

class FindSeparatorCases : public ::testing::TestWithParam<TSeparatorCase>
{
};

TEST_P(FindSeparatorCases, FindsTheFirstSeparatorOutsideQuotes)
{
    const TSeparatorCase& c = GetParam();
    EXPECT_EQ(FindSeparator(c.Text, c.Separator, c.From), c.Expected) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FindSeparatorCases,
    ::testing::Values(TSeparatorCase{"nm \"a b\"", ' ', 1, 3},
                      TSeparatorCase{"nm \"a b\"", ' ', 4, 9}, // the end counts for blanks
                      TSeparatorCase{"\"a,b\",c", ',', 1, 6}, TSeparatorCase{"a,b", ';', 1, 0},
                      TSeparatorCase{"", ' ', 1, 0}, TSeparatorCase{"1,2,3", ',', 3, 4},
                      // quotes are counted from `from` on: a search starting inside a quoted
                      // text does not know it is quoted
                      TSeparatorCase{"\"a,b\",c", ',', 3, 3}));

std::vector<std::string> Split(const std::string& text, char separator, int max)
{
    std::string_view fields[16];
    const int count = SplitFields(text, separator, fields, max);
    return std::vector<std::string>(fields, fields + count);
}

TEST(SplitFields, SplitsAtSeparatorsAndBlanksOutsideQuotes)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("  Posn  1.5,-2,3  ", ' ', 11), (V{"Posn", "1.5,-2,3"}));
    EXPECT_EQ(Split("1.5,-2,,3", ',', 11), (V{"1.5", "-2", "3"}));
    EXPECT_EQ(Split("nm \"My box, big\" extra", ' ', 11), (V{"nm", "\"My box, big\"", "extra"}));
    EXPECT_EQ(Split("a, b ,c", ',', 11), (V{"a", "b", "c"}));
    EXPECT_EQ(Split("1,2,3,4", ',', 2), (V{"1", "2"}));
    EXPECT_EQ(Split("nm \"open quote", ' ', 11), (V{"nm", "\"open quote"}));
    EXPECT_EQ(Split("", ' ', 11), V{});
    EXPECT_EQ(Split(" , ,", ',', 11), V{});
}

TEST(SplitFields, LeavesEntriesPastTheCountAlone)
{
    std::string_view fields[3] = {"x", "y", "z"};
    EXPECT_EQ(SplitFields("one", ' ', fields, 3), 1);
    EXPECT_EQ(fields[0], "one");
    EXPECT_EQ(fields[1], "y");
    EXPECT_EQ(fields[2], "z");
}

TEST(KeywordIndex, MatchesWholeWordsIgnoringCaseAndTakesTheLast)
{
    EXPECT_EQ(KeywordIndex({"POINT", "LINE0", "FACE0"}, "line0"), 2);
    EXPECT_EQ(KeywordIndex({"POINT", "LINE0", "FACE0"}, "Face0"), 3);
    EXPECT_EQ(KeywordIndex({"POINT", "LINE0"}, "POINTS"), 0);
    EXPECT_EQ(KeywordIndex({"POINT", "LINE0"}, ""), 0);
    EXPECT_EQ(KeywordIndex({"a", "b", "A"}, "a"), 3);
}

} // namespace
} // namespace kalvo
