#include "core/io/cp932.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace kalvo {

namespace {

// One iconv conversion descriptor, closed when it goes out of scope.
class TIconv
{
public:
    TIconv(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~TIconv() { iconv_close(handle_); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // Converts as much as it can; returns false with errno set where it stopped.
    bool Step(const char*& in, std::size_t& inLeft, std::string& out)
    {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result =
            iconv(handle_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        return result != static_cast<std::size_t>(-1);
    }

private:
    iconv_t handle_;
};

// Length of the UTF-8 sequence starting with lead, 1 for a stray byte.
std::size_t Utf8Length(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

template <typename OnBadInput>
std::string Convert(const char* to, const char* from, std::string_view text, OnBadInput onBad)
{
    TIconv converter(to, from);
    std::string out;
    out.reserve(text.size() * 2);
    const char* in = text.data();
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        if (converter.Step(in, inLeft, out))
            continue;
        if (errno == E2BIG)
            continue; // the buffer filled up: go on converting
        // EILSEQ (unassigned) or EINVAL (cut short at the end): skip the input character.
        const std::size_t skip = onBad(in, inLeft, out);
        in += skip;
        inLeft -= skip;
    }
    return out;
}

} // namespace

std::string Utf8ToCp932(std::string_view utf8, char replacement)
{
    return Convert("CP932", "UTF-8", utf8,
                   [replacement](const char* in, std::size_t inLeft, std::string& out) {
                       out.push_back(replacement);
                       const std::size_t length = Utf8Length(static_cast<unsigned char>(*in));
                       return length < inLeft ? length : inLeft;
                   });
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    return Convert("UTF-8", "CP932", cp932, [](const char* in, std::size_t inLeft, std::string& out) {
        out += "\xEF\xBF\xBD";
        // A lead byte (0x81-0x9F, 0xE0-0xFC) takes its trail byte with it when there is one.
        const auto lead = static_cast<unsigned char>(*in);
        const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        return (isLead && inLeft >= 2) ? std::size_t{2} : std::size_t{1};
    });
}

} // namespace kalvo
