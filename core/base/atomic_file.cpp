#include "core/base/atomic_file.h"

#include "core/base/errors.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvo {

namespace {

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

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Open(const std::string& target)
{
    Discard();
    target_ = target;
    realPath_ = ResolveTarget(target);
    fd_ = CreateTempBeside(realPath_, tempPath_);
    if (fd_ < 0) {
        const int error = errno;
        tempPath_.clear();
        throw TWriteError(SystemErrorText(target_, error));
    }
    struct stat info;
    replacing_ = stat(realPath_.c_str(), &info) == 0;
    // A file system without permissions (a FAT stick) refuses this; the file is written anyway.
    if (replacing_ && S_ISREG(info.st_mode))
        (void)fchmod(fd_, info.st_mode & 07777);
}

void TAtomicFile::Write(std::string_view bytes)
{
    if (fd_ < 0)
        throw TWriteError(SystemErrorText(target_, EBADF));
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd_, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

void TAtomicFile::Commit()
{
    if (fd_ < 0)
        throw TWriteError(SystemErrorText(target_, EBADF));
    // Some file systems cannot sync at all (EINVAL); their data is as safe as it gets.
    if (replacing_ && fdatasync(fd_) != 0 && errno != EINVAL)
        Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0)
        Fail(errno);
    if (std::rename(tempPath_.c_str(), realPath_.c_str()) != 0)
        Fail(errno);
    tempPath_.clear();
}

void TAtomicFile::Discard() noexcept
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

void TAtomicFile::Fail(int errorNumber)
{
    Discard();
    throw TWriteError(SystemErrorText(target_, errorNumber));
}

void ReplaceFileContent(const std::string& target, std::string_view bytes)
{
    TAtomicFile file;
    file.Open(target);
    file.Write(bytes);
    file.Commit();
}

} // namespace kalvo
