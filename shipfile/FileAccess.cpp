#include "shipfile/FileAccess.h"

#include "shipfile/Messages.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace shipfile {

namespace {

std::string systemReason(int error)
{
    return std::generic_category().message(error);
}

// Reads a regular file or a pipe whole. Directories, devices and anything larger than the
// biggest ship we accept are refused: reading them would fail, never end, or exhaust memory.
// On failure `reason` says why, in the system's words where it has them.
std::optional<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path,
                                                  std::size_t maxSize, std::string& reason)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = systemReason(errno);
        return std::nullopt;
    }
    struct stat info
    {
    };
    std::optional<std::vector<std::uint8_t>> result;
    if (::fstat(fd, &info) != 0)
        reason = systemReason(errno);
    else if (S_ISDIR(info.st_mode))
        reason = systemReason(EISDIR);
    else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))
        reason = messages::NotARegularFile;
    else {
        std::vector<std::uint8_t> data;
        if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) <= maxSize)
            // One byte more than the file, so the read that sees its end needs no bigger
            // buffer: doubling a large ship's buffer only to find nothing more costs more
            // than the whole load.
            data.reserve(static_cast<std::size_t>(info.st_size) + 1);
        std::size_t used = 0;
        bool ok = true;
        for (;;) {
            if (data.size() == used)
                data.resize(
                    std::max<std::size_t>(used * 2, std::max(data.capacity(), std::size_t{65536})));
            const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || used + static_cast<std::size_t>(n) > maxSize) {
                reason = systemReason(n < 0 ? errno : EFBIG);
                ok = false;
                break;
            }
            if (n == 0)
                break;
            used += static_cast<std::size_t>(n);
        }
        if (ok) {
            data.resize(used);
            result = std::move(data);
        }
    }
    ::close(fd);
    return result;
}

bool writeAll(int fd, Bytes data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t defaultFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Writes `data` to a fresh file beside `path` with permissions `mode` and renames it over
// `path`. On any failure the temporary file is removed, `path` is untouched and `reason` says
// why.
bool replaceFileAtomically(const std::filesystem::path& path, Bytes data, mode_t mode,
                           std::string& reason)
{
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
    std::string temp = (dir / ("." + path.filename().string() + ".korvex-XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        reason = systemReason(errno);
        return false;
    }
    bool ok = writeAll(fd, data) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    if (!ok)
        reason = systemReason(errno);
    if (::close(fd) != 0 && ok) {
        reason = systemReason(errno);
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        reason = systemReason(errno);
        ok = false;
    }
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

// Rewrites a file that several hard links share: a rename would leave the other names with
// the old ship. The old bytes are written back when the new ones cannot be written whole.
bool rewriteInPlace(const std::filesystem::path& path, Bytes data, std::string& reason)
{
    const auto old = readFile(path, std::numeric_limits<std::size_t>::max(), reason);
    if (!old)
        return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = systemReason(errno);
        return false;
    }
    const auto put = [fd](Bytes bytes) {
        return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
               ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    };
    bool ok = put(data);
    if (!ok) {
        reason = systemReason(errno);
        put(*old);
    }
    ok = (::close(fd) == 0) && ok;
    return ok;
}

bool writeFile(const std::filesystem::path& path, Bytes data, std::string& reason)
{
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    if (error)
        target = path;
    struct stat info
    {
    };
    if (::stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return replaceFileAtomically(target, data, defaultFileMode(), reason);
        reason = systemReason(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        reason = systemReason(EISDIR);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = messages::NotARegularFile;
        return false;
    }
    if ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
        reason = systemReason(EACCES);
        return false;
    }
    if (info.st_nlink > 1)
        return rewriteInPlace(target, data, reason);
    return replaceFileAtomically(target, data, info.st_mode & 07777, reason);
}

} // namespace

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxSize, std::string* reason)
{
    std::string why;
    auto data = readFile(path, maxSize, why);
    if (reason)
        *reason = why;
    return data;
}

bool writeFileSafely(const std::filesystem::path& path, Bytes data, std::string* reason)
{
    std::string why;
    const bool written = writeFile(path, data, why);
    if (reason)
        *reason = why;
    return written;
}

} // namespace shipfile
