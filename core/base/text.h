#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvo {

// Small text helpers shared by the readers, the settings file and the front ends. They look at
// bytes only: ASCII letters fold, everything else (code page 932 and UTF-8 bytes included)
// compares as it is, and nothing depends on the locale.

// text without the blanks (space, tab, CR, LF) around it.
std::string_view TrimBlanks(std::string_view text);

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
std::string AsciiLowered(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

bool IsAscii(std::string_view text);

// The length of the sequence a UTF-8 lead byte announces: 4, 3 or 2 for the lead bytes of
// longer sequences, 1 for anything else (ASCII, a stray continuation byte).
std::size_t Utf8SequenceLength(unsigned char lead);
// Decodes the character at the start of text. False when it is not well-formed UTF-8 (cut
// short, a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
bool DecodeUtf8(std::string_view text, char32_t& code, std::size_t& length);
// True when all of text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

} // namespace kalvo
