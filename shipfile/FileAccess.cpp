#include "shipfile/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace shipfile {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxSize)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info
    {
    };
    std::optional<std::vector<std::uint8_t>> result;
    if (::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
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

namespace {

bool writeAll(int fd, Bytes data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
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
// `path`. On any failure the temporary file is removed and `path` is untouched.
bool replaceFileAtomically(const std::filesystem::path& path, Bytes data, mode_t mode)
{
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
    std::string temp = (dir / ("." + path.filename().string() + ".korvex-XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

// Rewrites a file that several hard links share: a rename would leave the other names with
// the old ship. The old bytes are written back when the new ones cannot be written whole.
bool rewriteInPlace(const std::filesystem::path& path, Bytes data)
{
    const auto old = readWholeFile(path, std::numeric_limits<std::size_t>::max());
    if (!old)
        return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const auto put = [fd](Bytes bytes) {
        return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
               ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    };
    bool ok = put(data);
    if (!ok)
        put(*old);
    ok = (::close(fd) == 0) && ok;
    return ok;
}

} // namespace

bool writeFileSafely(const std::filesystem::path& path, Bytes data)
{
    std::error_code error;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    if (error)
        target = path;
    struct stat info
    {
    };
    if (::stat(target.c_str(), &info) != 0)
        return errno == ENOENT && replaceFileAtomically(target, data, defaultFileMode());
    if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
        return false;
    if (info.st_nlink > 1)
        return rewriteInPlace(target, data);
    return replaceFileAtomically(target, data, info.st_mode & 07777);
}

} // namespace shipfile
