#include "core/io/errors.h"
#include "core/io/rds_writer.h"

#include <cassert>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvo {

namespace {

// Output is handed to the system in pieces of about this size: large enough that the system
// calls cost nothing next to the formatting, small enough to stay in the cache.
constexpr std::size_t kFlushSize = std::size_t{1} << 20;

// Bytes of the target's name that go into the temporary file's name.
constexpr std::size_t kTempNameStem = 64;

// The file that writing to name really replaces: a symbolic link keeps pointing at the new
// file instead of being replaced by it.
std::string ResolveTarget(const std::string& name)
{
    struct stat info;
    if (lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(name.c_str(), resolved))
            return resolved;
    }
    return name;
}

// Creates a new, empty file beside target with an unused name. Returns its descriptor, or -1
// with errno set.
int CreateTempBeside(const std::string& target, std::string& tempPath)
{
    const std::filesystem::path targetPath(target);
    std::filesystem::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    // The target's name, cut short, keeps the temporary file recognisable; cut, because the
    // temporary name must stay within the system's name length wherever the target's does.
    std::string stem(1, '.');
    stem += targetPath.filename().string().substr(0, kTempNameStem);
    stem += '.';
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto tick = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        const std::string suffix = std::to_string(getpid()) + "-" + std::to_string(++counter) +
                                   "-" + std::to_string(tick % 1000000) + ".tmp";
        tempPath = (folder / (stem + suffix)).string();
        // 0666 lets the umask decide, as for any file the user creates.
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

TObjwriter::TObjwriter() = default;

TObjwriter::~TObjwriter() { Discard(); }

void TObjwriter::AddObject(const TpreviewObj& object) { objects_.push_back(&object); }

void TObjwriter::WriteLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        WriteLine(line);
}

void TObjwriter::OpenFile(const std::string& name)
{
    Discard();
    isOpen_ = true;
    target_ = name;
    realPath_ = ResolveTarget(name);
    buffer_.clear();
    buffer_.reserve(kFlushSize + 4096);
    fd_ = CreateTempBeside(realPath_, tempPath_);
    if (fd_ < 0) {
        const int error = errno;
        tempPath_.clear();
        throw TWriteError(SystemErrorText(target_, error));
    }
    // A replaced file keeps its permissions.
    struct stat info;
    replacing_ = stat(realPath_.c_str(), &info) == 0;
    if (replacing_ && S_ISREG(info.st_mode))
        fchmod(fd_, info.st_mode & 07777);
}

void TObjwriter::WriteLine(std::string_view text)
{
    buffer_.append(text);
    EndLine();
}

void TObjwriter::EndLine()
{
    buffer_.append("\r\n", 2);
    if (fd_ >= 0 && buffer_.size() >= kFlushSize)
        Flush();
}

void TObjwriter::Flush()
{
    const char* data = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t written = write(fd_, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            buffer_.clear();
            throw TWriteError(SystemErrorText(target_, error));
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    buffer_.clear();
}

void TObjwriter::CloseFile()
{
    assert(fd_ >= 0);
    if (fd_ < 0)
        throw TWriteError(SystemErrorText(target_, EBADF));
    Flush();
    // When a file is replaced, the data must be on disk before the name points at it, or a
    // crash right after the rename could leave an empty file where the old one was. A new file
    // has nothing to lose, and the wait would be half the time of a big export.
    if (replacing_ && fdatasync(fd_) != 0 && errno != EINVAL) {
        const int error = errno;
        throw TWriteError(SystemErrorText(target_, error));
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        const int error = errno;
        unlink(tempPath_.c_str());
        tempPath_.clear();
        throw TWriteError(SystemErrorText(target_, error));
    }
    if (rename(tempPath_.c_str(), realPath_.c_str()) != 0) {
        const int error = errno;
        unlink(tempPath_.c_str());
        tempPath_.clear();
        throw TWriteError(SystemErrorText(target_, error));
    }
    tempPath_.clear();
}

std::string TObjwriter::TakeText()
{
    assert(fd_ < 0);
    std::string text;
    text.swap(buffer_);
    return text;
}

void TObjwriter::Discard() noexcept
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

} // namespace kalvo
