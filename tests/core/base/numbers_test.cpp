#include "core/base/numbers.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kalvo {
namespace {

struct TFixedCase
{
    double value;
    int decimals;
    const char* text;
};

class FixedFormatting : public ::testing::TestWithParam<TFixedCase>
{
};

TEST_P(FixedFormatting, RoundsAsPrintfDoes)
{
    EXPECT_EQ(FormatFixed(GetParam().value, GetParam().decimals), GetParam().text);
}

// Halves that are exact in binary go to the even digit; 1.005 and 2.675 are stored slightly
// below the half and round down.
INSTANTIATE_TEST_SUITE_P(
    Values, FixedFormatting,
    ::testing::Values(TFixedCase{30.0, 2, "30.00"}, TFixedCase{-0.5, 2, "-0.50"},
                      TFixedCase{0.125, 2, "0.12"}, TFixedCase{0.375, 2, "0.38"},
                      TFixedCase{1.005, 2, "1.00"}, TFixedCase{2.675, 2, "2.67"},
                      TFixedCase{0.125, 8, "0.12500000"}, TFixedCase{-12.0, 8, "-12.00000000"},
                      TFixedCase{-0.0, 2, "-0.00"}, TFixedCase{-0.001, 2, "-0.00"},
                      TFixedCase{0.999999999, 8, "1.00000000"},
                      TFixedCase{1e20, 2, "100000000000000000000.00"}, TFixedCase{2.5, 0, "2"}));

// Two and eight decimals take a quicker path than the general conversion; both must agree on
// every value, ties and values near the ends of that path included.
TEST(FixedFormatting, QuickPathAgreesWithTheGeneralConversion)
{
    std::mt19937_64 random(12345);
    std::vector<double> values = {
        0.0,           -0.0, 0.5,     1.5,     0.125,           -0.375,     0.005,
        0.015,         1e-9, 5e-9,    -5e-9,   4.9999999999e-9, 999999999., 999999999.995,
        -999999999.99, 1e9,  1e9 + 1, DBL_MIN, 4.9e-324,        -4.9e-324};
    for (int i = 0; i < 50000; ++i) {
        // Any bit pattern of a finite double, and values with few bits after the point.
        const double raw = std::bit_cast<double>(random());
        if (std::isfinite(raw))
            values.push_back(raw);
        const auto scale = static_cast<double>(1 << (random() % 30));
        values.push_back(
            static_cast<double>(static_cast<std::int64_t>(random() % 2000000000) - 1000000000) /
            scale);
        values.push_back(
            std::ldexp(static_cast<double>(random() % 100000), -static_cast<int>(random() % 60)));
    }
    for (const int decimals : {2, 8}) {
        for (const double value : values) {
            char buffer[400];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                              std::chars_format::fixed, decimals);
            const std::string expected(buffer, result.ptr);
            ASSERT_EQ(FormatFixed(value, decimals), expected)
                << "value " << FormatShortest(value) << " decimals " << decimals;
        }
    }
}

TEST(FixedFormatting, LargestDoubleIsWrittenInFull)
{
    const std::string text = FormatFixed(-DBL_MAX, 8);
    EXPECT_EQ(text.size(), 1u + 309u + 1u + 8u);
    EXPECT_EQ(text.substr(0, 6), "-17976");
    EXPECT_EQ(text.substr(text.size() - 9), ".00000000");
}

TEST(FixedFormatting, AppendsToWhatIsThere)
{
    std::string out = "Posn ";
    AppendFixed(out, 1.0, 8);
    out += ',';
    AppendFixed(out, -2.5, 8);
    EXPECT_EQ(out, "Posn 1.00000000,-2.50000000");
}

TEST(NumberParsing, AcceptsDecimalTextWithBlanksAndSign)
{
    const struct
    {
        const char* text;
        double value;
    } good[] = {{"0.5", 0.5}, {"  -2.25\t", -2.25}, {"+3", 3.0}, {".5", 0.5}, {"1e3", 1000.0}};
    for (const auto& row : good) {
        double value = 99.0;
        EXPECT_TRUE(ParseDouble(row.text, value)) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
}

TEST(NumberParsing, RefusesEverythingElseAndKeepsTheOldValue)
{
    for (const char* text : {"", " ", "-", "+-1", "1,5", "1.5x", "nan", "inf", "1e999", "0x10"}) {
        double value = 7.0;
        EXPECT_FALSE(ParseDouble(text, value)) << text;
        EXPECT_EQ(value, 7.0) << text;
    }
}

TEST(NumberParsing, IntegersStayInRange)
{
    int value = 0;
    EXPECT_TRUE(ParseInt(" 2147483647 ", value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_TRUE(ParseInt("-2147483648", value));
    EXPECT_EQ(value, -2147483647 - 1);
    EXPECT_TRUE(ParseInt("+8", value));
    EXPECT_EQ(value, 8);
    value = 5;
    for (const char* text : {"2147483648", "1.0", "", "12a", "--1"})
        EXPECT_FALSE(ParseInt(text, value)) << text;
    EXPECT_EQ(value, 5);
}

TEST(NumberParsing, ShortestTextReadsBackExactly)
{
    for (const double value : {0.1, -2.5, 1.0 / 3.0, 1e-300, 123456789.125}) {
        double back = 0.0;
        ASSERT_TRUE(ParseDouble(FormatShortest(value), back));
        EXPECT_EQ(back, value);
    }
    EXPECT_EQ(FormatShortest(0.1), "0.1");
}

// Under a locale with a decimal comma, printf and strtod change; file numbers must not.
TEST(NumberLocale, DecimalPointStaysAPointUnderGermanLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    const std::string text = FormatFixed(0.5, 8);
    double value = 0.0;
    const bool parsed = ParseDouble("0.5", value);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "0.50000000");
    EXPECT_TRUE(parsed);
    EXPECT_EQ(value, 0.5);
}

} // namespace
} // namespace kalvo
