#include "core/io/rds_strings.h"

#include "core/base/text.h"

namespace kalvo {

int FindSeparator(std::string_view text, char separator, int from)
{
    if (text.empty())
        return 0;
    const int length = static_cast<int>(text.size());
    bool quoted = false;
    for (int position = from < 1 ? 1 : from; position <= length; ++position) {
        const char c = text[position - 1];
        if (c == '"')
            quoted = !quoted;
        else if (c == separator && !quoted)
            return position;
    }
    return separator == ' ' ? length + 1 : 0;
}

int SplitFields(std::string_view text, char separator, std::string_view* fields, int max)
{
    // One pass: a piece only ends outside quotes, so each piece starts outside them too, which
    // is what searching afresh from every piece start would see.
    const char* const data = text.data();
    const std::size_t size = text.size();
    const auto splits = [separator](char c) { return c == separator || c == ' '; };
    int count = 0;
    std::size_t i = 0;
    while (count < max) {
        while (i < size && splits(data[i]))
            ++i;
        if (i >= size)
            break;
        const std::size_t start = i;
        bool quoted = false;
        for (; i < size; ++i) {
            const char c = data[i];
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && splits(c))
                break;
        }
        const std::string_view piece = TrimBlanks(text.substr(start, i - start));
        if (!piece.empty())
            fields[count++] = piece;
    }
    return count;
}

int KeywordIndex(std::initializer_list<std::string_view> keywords, std::string_view word)
{
    int found = 0;
    int index = 0;
    for (std::string_view keyword : keywords) {
        ++index;
        if (EqualsNoCase(keyword, word))
            found = index;
    }
    return found;
}

} // namespace kalvo
