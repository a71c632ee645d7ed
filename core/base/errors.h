#pragma once

#include <stdexcept>
#include <string>

namespace kalvo {

// A file could not be read, or a value in it did not convert. The text names the file (or
// line) and carries the system's message; each command catches it once and shows it.
class TReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A file could not be written.
class TWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// "name: system message" for the current errno.
std::string SystemErrorText(const std::string& fileName, int errorNumber);

} // namespace kalvo
