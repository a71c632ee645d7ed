#include "core/base/text.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

struct TUtf8Case
{
    const char* text;
    bool wellFormed;
    char32_t first; // the first character when well-formed
};

class Utf8Decoding : public ::testing::TestWithParam<TUtf8Case>
{
};

// A settings value is taken as UTF-8 only when all of it is well-formed; anything looser would
// read code page 932 text as garbage.
TEST_P(Utf8Decoding, AcceptsOnlyWellFormedText)
{
    const TUtf8Case& c = GetParam();
    EXPECT_EQ(IsUtf8(c.text), c.wellFormed);
    char32_t code = 0;
    std::size_t length = 0;
    if (c.wellFormed && *c.text != '\0') {
        ASSERT_TRUE(DecodeUtf8(c.text, code, length));
        EXPECT_EQ(code, c.first);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8Decoding,
    ::testing::Values(TUtf8Case{"", true, 0}, TUtf8Case{"E", true, U'E'},
                      TUtf8Case{"\xC3\xA9t\xC3\xA9", true, U'\u00E9'},
                      TUtf8Case{"\xE3\x83\xA6\xE3\x83\x8B", true, U'\u30E6'},
                      TUtf8Case{"\xF0\x9F\x98\x80", true, U'\U0001F600'},
                      TUtf8Case{"\x83\x86\x83\x6a", false, 0}, // code page 932 "ユニ"
                      TUtf8Case{"\xE3\x83", false, 0},         // cut short
                      TUtf8Case{"\x80", false, 0},             // stray continuation byte
                      TUtf8Case{"\xC0\xAF", false, 0},         // overlong '/'
                      TUtf8Case{"\xE0\x80\xAF", false, 0},     // overlong '/'
                      TUtf8Case{"\xED\xA0\x80", false, 0},     // surrogate
                      TUtf8Case{"\xF4\x90\x80\x80", false, 0}, // beyond U+10FFFF
                      TUtf8Case{"ab\xE3\x83", false, 0}));

TEST(AsciiCase, FoldsAsciiLettersOnly)
{
    EXPECT_TRUE(EqualsNoCase("Projection", "PROJECTION"));
    EXPECT_FALSE(EqualsNoCase("Zoom", "Zoo"));
    // Bytes above 0x7F (code page 932, UTF-8) are never folded, whatever the locale says.
    EXPECT_FALSE(EqualsNoCase("\xC3\xA9", "\xC3\x89"));
    EXPECT_TRUE(EndsWithNoCase("MODEL.DxF", ".dxf"));
    EXPECT_FALSE(EndsWithNoCase("dxf", ".dxf"));
    EXPECT_EQ(AsciiLowered("A.PNG\xC3\x89"), "a.png\xC3\x89");
}

} // namespace
} // namespace kalvo
