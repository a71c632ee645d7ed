#include "core/base/numbers.h"

#include "core/base/text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace kalvo {

namespace {

// The fixed notation of the values files hold (|value| < 1e9, up to nine decimals), worked out
// exactly in integers: value * 10^D = m * 5^D * 2^(e + D) for the value's significand m and
// exponent e, rounded to the nearest integer, a tie to even, as printf and to_chars round the
// exact binary value. Several times faster than to_chars with a precision, which a big model's
// millions of coordinates notice. Returns false for values outside that range.
template <int D> bool AppendFixedFast(std::string& out, double value)
{
    constexpr std::uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                                        100000, 1000000, 10000000, 100000000, 1000000000};
    constexpr std::uint64_t kPow5[] = {1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125};
    if (!(std::fabs(value) < 1e9))
        return false;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
    // |value| = significand * 2^(exponent), exactly.
    int exponent = -1074;
    if (biased != 0) {
        significand |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    // value * 10^D = significand * 5^D / 2^shift; shift > 0 because |value| < 2^30.
    const int shift = -exponent - D;
    const unsigned __int128 scaled =
        static_cast<unsigned __int128>(significand) * kPow5[D]; // below 2^75
    std::uint64_t rounded = 0;
    if (shift < 100) {
        const unsigned __int128 quotient = scaled >> shift;
        const unsigned __int128 rest = scaled - (quotient << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        rounded = static_cast<std::uint64_t>(quotient);
        if (rest > half || (rest == half && (rounded & 1) != 0))
            ++rounded;
    }
    char buffer[40];
    char* end = buffer;
    if (negative)
        *end++ = '-';
    end = std::to_chars(end, buffer + sizeof buffer, rounded / kPow10[D]).ptr;
    if constexpr (D > 0) {
        *end++ = '.';
        std::uint64_t rest = rounded % kPow10[D];
        for (int digit = D; digit-- > 0;) {
            end[digit] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        end += D;
    }
    out.append(buffer, end);
    return true;
}

} // namespace

void AppendFixed(std::string& out, double value, int decimals)
{
    switch (decimals) {
    case 2:
        if (AppendFixedFast<2>(out, value))
            return;
        break;
    case 8:
        if (AppendFixedFast<8>(out, value))
            return;
        break;
    }
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}

std::string FormatFixed(double value, int decimals)
{
    std::string out;
    AppendFixed(out, value, decimals);
    return out;
}

std::string FormatShortest(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

namespace {

std::string_view PrepareNumber(std::string_view text)
{
    text = TrimBlanks(text);
    // from_chars refuses a leading '+', which people and programs write.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
}

} // namespace

bool ParseDouble(std::string_view text, double& value)
{
    text = PrepareNumber(text);
    if (text.empty())
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ParseInt(std::string_view text, int& value)
{
    text = PrepareNumber(text);
    if (text.empty())
        return false;
    int parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

} // namespace kalvo
