#pragma once

#include <initializer_list>
#include <string_view>

namespace kalvo {

// Field splitting for the line formats the program reads. Positions are 1-based, as the
// callers count them; blanks and separators inside double quotes do not split.

// The position of the first separator at or after from that lies outside double quotes,
// counting quotes from `from` on; 0 when there is none. For the blank as separator the end of
// the text counts as one (the result is then the length plus 1). An empty text yields 0.
int FindSeparator(std::string_view text, char separator, int from);

// Fills fields[0 .. max-1] with the trimmed, non-empty pieces of text, split at the separator
// or at a blank outside double quotes, and returns how many it filled; pieces past max are
// dropped. Entries past the returned count keep what they held. The pieces point into text.
int SplitFields(std::string_view text, char separator, std::string_view* fields, int max);

// The 1-based index of the last keyword equal to word ignoring ASCII letter case, 0 when none.
int KeywordIndex(std::initializer_list<std::string_view> keywords, std::string_view word);

} // namespace kalvo
