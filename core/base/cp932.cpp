#include "core/base/cp932.h"

#include "core/base/text.h"

#include <algorithm>
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

// Length of the bad UTF-8 sequence at in: its lead byte and the continuation bytes that follow
// it, up to the length the lead announces. A character after a cut sequence is kept.
std::size_t BadUtf8Length(const char* in, std::size_t inLeft)
{
    const std::size_t length =
        std::min(Utf8SequenceLength(static_cast<unsigned char>(in[0])), inLeft);
    std::size_t taken = 1;
    while (taken < length && (static_cast<unsigned char>(in[taken]) & 0xC0) == 0x80)
        ++taken;
    return taken;
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

std::optional<std::string> ConvertWhole(const char* to, const char* from, std::string_view text)
{
    TIconv converter(to, from);
    std::string out;
    const char* in = text.data();
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        if (!converter.Step(in, inLeft, out) && errno != E2BIG)
            return std::nullopt;
    }
    return out;
}

} // namespace

std::string Utf8ToCp932(std::string_view utf8, char replacement)
{
    return Convert("CP932", "UTF-8", utf8,
                   [replacement](const char* in, std::size_t inLeft, std::string& out) {
                       out.push_back(replacement);
                       return BadUtf8Length(in, inLeft);
                   });
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    return Convert(
        "UTF-8", "CP932", cp932, [](const char* in, std::size_t inLeft, std::string& out) {
            out += "\xEF\xBF\xBD";
            // A lead byte (0x81-0x9F, 0xE0-0xFC) takes its trail byte (0x40-0x7E, 0x80-0xFC) with
            // it; a byte that cannot be a trail, such as a quote or a line end, is kept.
            const auto lead = static_cast<unsigned char>(in[0]);
            const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
            if (!isLead || inLeft < 2)
                return std::size_t{1};
            const auto trail = static_cast<unsigned char>(in[1]);
            const bool isTrail =
                (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
            return isTrail ? std::size_t{2} : std::size_t{1};
        });
}

std::optional<std::string> Utf8ToCp932Whole(std::string_view utf8)
{
    return ConvertWhole("CP932", "UTF-8", utf8);
}

std::optional<std::string> Cp932ToUtf8Whole(std::string_view cp932)
{
    return ConvertWhole("UTF-8", "CP932", cp932);
}

} // namespace kalvo
