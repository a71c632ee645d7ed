#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kalvo {

// A file written beside its target and put in its place only once complete, so a crash, a full
// disk or a failed write never costs the user the file they had. Open creates the temporary
// file in the target's folder; Commit renames it over the target; an object destroyed (or
// Discarded) before Commit removes it and leaves the target as it was.
//
// The rules of the replacement:
// - A symbolic link stays a link: the file it points at is what gets replaced.
// - A replaced file keeps its permissions; a new one gets the usual ones (0666 less the umask).
// - When a file is replaced, its data is on disk before the rename, so a crash right after it
//   cannot leave an empty file where the old one was. A new file has nothing to lose and skips
//   the wait, which is half the time of a big export.
//
// Every failure throws TWriteError naming the target as given, with the system's message.
class TAtomicFile
{
public:
    TAtomicFile() = default;
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // target is a path in the system's encoding (UTF-8). Discards any file still open.
    void Open(const std::string& target);
    void Write(std::string_view bytes);
    // Puts the written file in place of the target. Afterwards nothing is open.
    void Commit();
    // Drops the temporary file, if any; the target stays as it was.
    void Discard() noexcept;

    bool IsOpen() const { return fd_ >= 0; }

private:
    [[noreturn]] void Fail(int errorNumber);

    int fd_ = -1;
    std::string target_;   // as given, for messages
    std::string realPath_; // the file replaced: a symbolic link's destination
    std::string tempPath_;
    bool replacing_ = false; // the target existed when the file was opened
};

// Writes bytes as the whole new content of target through a TAtomicFile.
void ReplaceFileContent(const std::string& target, std::string_view bytes);

} // namespace kalvo
