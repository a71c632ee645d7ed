#include "core/base/text.h"

namespace kalvo {

std::string_view TrimBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string AsciiLowered(std::string_view text)
{
    std::string lowered(text);
    for (char& c : lowered)
        c = AsciiLower(c);
    return lowered;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool IsAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::size_t Utf8SequenceLength(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

bool DecodeUtf8(std::string_view text, char32_t& code, std::size_t& length)
{
    if (text.empty())
        return false;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        code = lead;
        length = 1;
        return true;
    }
    if (lead < 0xC2 || lead > 0xF4)
        return false; // a continuation byte, an overlong two-byte form, or beyond U+10FFFF
    const std::size_t need = Utf8SequenceLength(lead);
    if (text.size() < need)
        return false;
    char32_t value = lead & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < need; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    if ((need == 3 && value < 0x800) || (need == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF))
        return false;
    code = value;
    length = need;
    return true;
}

bool IsUtf8(std::string_view text)
{
    while (!text.empty()) {
        char32_t code = 0;
        std::size_t length = 0;
        if (!DecodeUtf8(text, code, length))
            return false;
        text.remove_prefix(length);
    }
    return true;
}

} // namespace kalvo
