#pragma once

#include <string>
#include <string_view>

namespace kalvo {

// Numbers in files use "." whatever the locale, so they never pass through printf or strtod.

// Appends value with exactly `decimals` digits after the point, rounded as printf("%.Nf")
// rounds (to nearest, halves to even on the exact binary value).
void AppendFixed(std::string& out, double value, int decimals);
std::string FormatFixed(double value, int decimals);
// The shortest text that reads back as exactly value.
std::string FormatShortest(double value);

// Reads a decimal number, allowing blanks around it and a leading '+'. Returns false for
// anything else, and for infinities, NaN and values out of range.
bool ParseDouble(std::string_view text, double& value);
// Reads a decimal integer in the int range, blanks and a leading '+' allowed.
bool ParseInt(std::string_view text, int& value);

} // namespace kalvo
