#include "core/base/cp932.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

struct TPair
{
    const char* utf8;
    const char* cp932;
};

class Cp932RoundTrip : public ::testing::TestWithParam<TPair>
{
};

TEST_P(Cp932RoundTrip, ConvertsBothWays)
{
    EXPECT_EQ(Utf8ToCp932(GetParam().utf8), GetParam().cp932);
    EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp932RoundTrip,
    ::testing::Values(TPair{"ユニバース", "\x83\x86\x83\x6a\x83\x6f\x81\x5b\x83\x58"},
                      TPair{"お待ちください...",
                            "\x82\xa8\x91\xd2\x82\xbf\x82\xad\x82\xbe\x82\xb3\x82\xa2..."},
                      TPair{"①", "\x87\x40"},            // NEC extension
                      TPair{"ソ表", "\x83\x5c\x95\x5c"}, // trail bytes that look like '\'
                      TPair{"ｱｲ", "\xb1\xb2"},           // half-width katakana
                      TPair{"Box \"1\"", "Box \"1\""}, TPair{"", ""}));

TEST(Cp932Encoding, CharacterTheCodePageLacksBecomesTheReplacement)
{
    EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
    EXPECT_EQ(Utf8ToCp932("한글"), "??");
    EXPECT_EQ(Utf8ToCp932("x€", '_'), "x_");
}

TEST(Cp932Encoding, BrokenUtf8LosesOnlyTheBrokenSequence)
{
    // A cut three-byte sequence followed by ASCII: the ASCII survives.
    EXPECT_EQ(Utf8ToCp932("\xe3\x83"
                          "ab"),
              "?ab");
    EXPECT_EQ(Utf8ToCp932("a\xff"
                          "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp932("ab\xe3"), "ab?");
}

TEST(Cp932Decoding, DamagedBytesBecomeReplacementCharacters)
{
    // A lead byte cut off at the end of the text.
    EXPECT_EQ(Cp932ToUtf8("ab\x83"), "ab\xEF\xBF\xBD");
    // A lead byte before a byte that cannot trail keeps that byte.
    EXPECT_EQ(Cp932ToUtf8("\x83\"x\""), "\xEF\xBF\xBD\"x\"");
    // An unassigned pair is one bad character, and decoding goes on after it.
    EXPECT_EQ(Cp932ToUtf8("\x85\x40"
                          "a"),
              "\xEF\xBF\xBD"
              "a");
}

} // namespace
} // namespace kalvo
