#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// An INI document: "[Section]" lines opening sections, "key=value" lines inside them. It keeps
// every line it read (comments, unknown keys and sections included), so rewriting a file only
// changes the values written: a changed key keeps its place, a new key goes to the end of its
// section, a new section to the end of the file. Section and key names compare without regard
// to ASCII case; the first of several equal names wins, as the usual INI readers do.
//
// The file text is code page 932 with CR LF line ends; the interface speaks UTF-8.
class TIniFile
{
public:
    TIniFile() = default;

    // Parses the bytes of a file. Any line end (CR LF, LF, CR) is accepted.
    static TIniFile FromText(std::string_view bytes);
    // The bytes of the file.
    std::string ToText() const;

    // Reads a file; a missing file gives an empty document. Throws TReadError when the file
    // exists but cannot be read.
    static TIniFile LoadFromFile(const std::filesystem::path& path);
    // Writes the document to a temporary file beside path and renames it over path, creating
    // the folder when needed. Throws TWriteError; the old file then stays as it was.
    void SaveToFile(const std::filesystem::path& path) const;

    // The value of a key with the blanks around it removed, or nothing when the key is missing.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // A decimal integer in the int range; fallback when missing or not a number.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // Any non-zero integer is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    struct TLine
    {
        std::string Key;   // empty for a line that is not an entry
        std::string Value; // the file's bytes for an entry, the whole line otherwise
    };
    struct TSection
    {
        std::string Name; // empty for the lines before the first section
        bool HasHeader = false;
        std::vector<TLine> Lines;
    };

    const TSection* FindSection(std::string_view name) const;
    static const TLine* FindLine(const TSection& section, std::string_view key);

    std::vector<TSection> sections_;
};

} // namespace kalvo
