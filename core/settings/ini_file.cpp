#include "core/settings/ini_file.h"

#include "core/io/errors.h"
#include "core/settings/settings.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvo {

namespace {

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool IsAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Converts the whole text or nothing: a value that does not convert cleanly stays as it was,
// so a folder name code page 932 cannot hold is still written and read back byte for byte.
bool ConvertStrict(const char* to, const char* from, std::string_view text, std::string& out)
{
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1))
        return false;
    out.clear();
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(handle, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(handle);
    return ok;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates.
bool IsUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - i < static_cast<std::size_t>(length))
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// A value the program wrote is code page 932, unless code page 932 could not hold it; then it
// is UTF-8, as is a file someone edited with a UTF-8 editor. Japanese text in code page 932 is
// almost never well-formed UTF-8, while UTF-8 often passes as code page 932, so UTF-8 is tried
// first.
std::string FileToUtf8(std::string_view bytes)
{
    std::string utf8;
    if (IsUtf8(bytes) || !ConvertStrict("UTF-8", "CP932", bytes, utf8))
        return std::string(bytes);
    return utf8;
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
    std::string bytes;
    if (IsAscii(utf8) || !ConvertStrict("CP932", "UTF-8", utf8, bytes))
        return std::string(utf8);
    return bytes;
}

std::string ErrorText(const std::filesystem::path& path, int errorNumber)
{
    return path.string() + ": " + std::strerror(errorNumber);
}

// Closes a descriptor and removes an unfinished temporary file unless kept.
class TTempFile
{
public:
    explicit TTempFile(std::string name) : name_(std::move(name))
    {
        fd_ = mkstemp(name_.data());
        created_ = fd_ >= 0;
    }
    ~TTempFile()
    {
        if (fd_ >= 0)
            close(fd_);
        if (created_ && !kept_)
            unlink(name_.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    int Fd() const { return fd_; }
    const std::string& Name() const { return name_; }
    bool Close()
    {
        const int result = close(fd_);
        fd_ = -1;
        return result == 0;
    }
    void Keep() { kept_ = true; }

private:
    std::string name_;
    int fd_ = -1;
    bool created_ = false;
    bool kept_ = false;
};

} // namespace

bool ParseSettingInt(std::string_view text, int& value)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            return false;
    }
    if (text.empty())
        return false;
    int result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = result;
    return true;
}

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

        const std::string_view trimmed = Trim(line);
        const std::size_t close = trimmed.find(']');
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
            TSection section;
            section.Name = std::string(Trim(trimmed.substr(1, close - 1)));
            section.HasHeader = true;
            ini.sections_.push_back(std::move(section));
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        const bool comment = !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
        if (!comment && equals != std::string_view::npos &&
            !Trim(trimmed.substr(0, equals)).empty())
            ini.sections_.back().Lines.push_back({std::string(Trim(trimmed.substr(0, equals))),
                                                  std::string(Trim(trimmed.substr(equals + 1)))});
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
        throw TReadError(ErrorText(path, errno));
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
            throw TReadError(ErrorText(path, error));
        }
        if (count == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    close(fd);
    return FromText(bytes);
}

void TIniFile::SaveToFile(const std::filesystem::path& linkOrFile) const
{
    // Replacing a symbolic link would cut it off from the file it points at (a settings file
    // kept with the user's other configuration), so the file behind it is replaced instead.
    std::filesystem::path path = linkOrFile;
    std::error_code linkError;
    if (std::filesystem::is_symlink(path, linkError))
        path = std::filesystem::weakly_canonical(path, linkError);
    if (linkError)
        path = linkOrFile;
    const std::filesystem::path folder = path.parent_path();
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error)
            throw TWriteError(path.string() + ": " + error.message());
    }

    // A crash or a full disk half-way through must not cost the user the settings they had, so
    // the new text becomes the file only once it is completely on disk.
    // The file's name is cut short in the temporary name, which must stay within the system's
    // name length wherever the file's own name does.
    TTempFile temp((folder.empty() ? std::string() : folder.string() + "/") + "." +
                   path.filename().string().substr(0, 64) + ".XXXXXX");
    if (temp.Fd() < 0)
        throw TWriteError(ErrorText(path, errno));
    const std::string text = ToText();
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(temp.Fd(), text.data() + written, text.size() - written);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw TWriteError(ErrorText(path, errno));
        }
        written += static_cast<std::size_t>(count);
    }

    // mkstemp makes the file private; give it the mode the old file had, or the usual one.
    struct stat old;
    mode_t mode = 0;
    if (stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(temp.Fd(), mode) != 0 || fsync(temp.Fd()) != 0)
        throw TWriteError(ErrorText(path, errno));
    if (!temp.Close())
        throw TWriteError(ErrorText(path, errno));
    if (std::rename(temp.Name().c_str(), path.c_str()) != 0)
        throw TWriteError(ErrorText(path, errno));
    temp.Keep();
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const
{
    for (const TSection& section : sections_)
        if (section.HasHeader && SameName(section.Name, name))
            return &section;
    return nullptr;
}

const TIniFile::TLine* TIniFile::FindLine(const TSection& section, std::string_view key)
{
    for (const TLine& line : section.Lines)
        if (!line.Key.empty() && SameName(line.Key, key))
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
    if (!text || !ParseSettingInt(*text, value))
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
        line->Value = Utf8ToFile(Trim(value));
        return;
    }
    // A new key goes after the section's last non-blank line, so a blank line that separates
    // it from the next section stays where it is.
    auto insertAt = target->Lines.end();
    while (insertAt != target->Lines.begin()) {
        const TLine& previous = *(insertAt - 1);
        if (!previous.Key.empty() || !Trim(previous.Value).empty())
            break;
        --insertAt;
    }
    target->Lines.insert(insertAt, {std::string(key), Utf8ToFile(Trim(value))});
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
