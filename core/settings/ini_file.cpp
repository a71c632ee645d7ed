#include "core/settings/ini_file.h"

#include "core/base/atomic_file.h"
#include "core/base/cp932.h"
#include "core/base/errors.h"
#include "core/base/numbers.h"
#include "core/base/text.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>

namespace kalvo {

namespace {

// A value the program wrote is code page 932, unless code page 932 could not hold it; then it
// is UTF-8, as is a file someone edited with a UTF-8 editor. Japanese text in code page 932 is
// almost never well-formed UTF-8, while UTF-8 often passes as code page 932, so UTF-8 is tried
// first. A value that converts neither way stays as it was, so a folder name code page 932
// cannot hold is still written and read back byte for byte.
std::string FileToUtf8(std::string_view bytes)
{
    if (IsUtf8(bytes))
        return std::string(bytes);
    return Cp932ToUtf8Whole(bytes).value_or(std::string(bytes));
}

std::string Utf8ToFile(std::string_view utf8)
{
    // A line break inside a value would end the line and turn the rest into a key of its own.
    if (utf8.find_first_of("\r\n") != std::string_view::npos) {
        std::string oneLine;
        for (char c : utf8)
            if (c != '\r' && c != '\n')
                oneLine.push_back(c);
        return Utf8ToFile(oneLine);
    }
    if (IsAscii(utf8))
        return std::string(utf8);
    return Utf8ToCp932Whole(utf8).value_or(std::string(utf8));
}

} // namespace

TIniFile TIniFile::FromText(std::string_view bytes)
{
    TIniFile ini;
    ini.sections_.push_back({});
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        std::string_view line =
            bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (end == std::string_view::npos)
            pos = bytes.size();
        else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            pos = end + 2;
        else
            pos = end + 1;

        const std::string_view trimmed = TrimBlanks(line);
        const std::size_t close = trimmed.find(']');
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
            TSection section;
            section.Name = std::string(TrimBlanks(trimmed.substr(1, close - 1)));
            section.HasHeader = true;
            ini.sections_.push_back(std::move(section));
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        const bool comment = !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
        if (!comment && equals != std::string_view::npos &&
            !TrimBlanks(trimmed.substr(0, equals)).empty())
            ini.sections_.back().Lines.push_back(
                {std::string(TrimBlanks(trimmed.substr(0, equals))),
                 std::string(TrimBlanks(trimmed.substr(equals + 1)))});
        else
            ini.sections_.back().Lines.push_back({std::string(), std::string(line)});
    }
    return ini;
}

std::string TIniFile::ToText() const
{
    std::string text;
    for (const TSection& section : sections_) {
        if (section.HasHeader)
            text += "[" + section.Name + "]\r\n";
        for (const TLine& line : section.Lines) {
            if (!line.Key.empty())
                text += line.Key + "=";
            text += line.Value + "\r\n";
        }
    }
    return text;
}

TIniFile TIniFile::LoadFromFile(const std::filesystem::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return TIniFile();
        throw TReadError(SystemErrorText(path.string(), errno));
    }
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            close(fd);
            throw TReadError(SystemErrorText(path.string(), error));
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    close(fd);
    return FromText(bytes);
}

void TIniFile::SaveToFile(const std::filesystem::path& path) const
{
    // The folder is made for a first save; a symbolic link's folder already exists.
    const std::filesystem::path folder = path.parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error)
            throw TWriteError(path.string() + ": " + error.message());
    }
    ReplaceFileContent(path.string(), ToText());
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const
{
    for (const TSection& section : sections_)
        if (section.HasHeader && EqualsNoCase(section.Name, name))
            return &section;
    return nullptr;
}

const TIniFile::TLine* TIniFile::FindLine(const TSection& section, std::string_view key)
{
    for (const TLine& line : section.Lines)
        if (!line.Key.empty() && EqualsNoCase(line.Key, key))
            return &line;
    return nullptr;
}

std::optional<std::string> TIniFile::ReadValue(std::string_view section, std::string_view key) const
{
    const TSection* found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    const TLine* line = FindLine(*found, key);
    if (line == nullptr)
        return std::nullopt;
    return FileToUtf8(line->Value);
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& fallback) const
{
    return ReadValue(section, key).value_or(fallback);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    const auto text = ReadValue(section, key);
    int value = 0;
    if (!text || !ParseInt(*text, value))
        return fallback;
    return value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    TSection* target = const_cast<TSection*>(FindSection(section));
    if (target == nullptr) {
        TSection added;
        added.Name = std::string(section);
        added.HasHeader = true;
        sections_.push_back(std::move(added));
        target = &sections_.back();
    }
    if (TLine* line = const_cast<TLine*>(FindLine(*target, key))) {
        line->Value = Utf8ToFile(TrimBlanks(value));
        return;
    }
    // A new key goes after the section's last non-blank line, so a blank line that separates
    // it from the next section stays where it is.
    auto insertAt = target->Lines.end();
    while (insertAt != target->Lines.begin()) {
        const TLine& previous = *(insertAt - 1);
        if (!previous.Key.empty() || !TrimBlanks(previous.Value).empty())
            break;
        --insertAt;
    }
    target->Lines.insert(insertAt, {std::string(key), Utf8ToFile(TrimBlanks(value))});
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    WriteString(section, key, std::string_view(buffer, result.ptr - buffer));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

} // namespace kalvo
