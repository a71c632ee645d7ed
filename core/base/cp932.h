#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvo {

// Files the program reads and writes hold code page 932 text; the program itself works in
// UTF-8. Both directions go through glibc's iconv, which knows the NEC and IBM extensions.

// A character code page 932 lacks becomes replacement.
std::string Utf8ToCp932(std::string_view utf8, char replacement = '?');
// A byte sequence that is not code page 932 (a cut lead byte, an unassigned pair) becomes
// U+FFFD, so a name from a damaged file still shows.
std::string Cp932ToUtf8(std::string_view cp932);

// The whole text converted, or nothing when any part of it does not convert: for values that
// must come back byte for byte, such as a folder name code page 932 cannot hold.
std::optional<std::string> Utf8ToCp932Whole(std::string_view utf8);
std::optional<std::string> Cp932ToUtf8Whole(std::string_view cp932);

} // namespace kalvo
