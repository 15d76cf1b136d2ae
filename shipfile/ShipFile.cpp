#include "shipfile/ShipFile.h"

#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "shipfile/RefPack.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace shipfile {

namespace {

bool endsWithEndMarker(Bytes data)
{
    if (data.size() < layout::BlockHeaderSize)
        return false;
    const Bytes trailer = data.last(layout::BlockHeaderSize);
    return readU16(trailer, 0) == layout::EndMarkerType && readU16(trailer, 2) == 0 &&
           readU16(trailer, 4) == 0;
}

bool startsWithPackedMagic(Bytes data)
{
    return readU16(data, 0) == layout::PackedMagic;
}

// Plain ship files are never larger than the biggest unpacked one we accept.
constexpr std::size_t MaxFileSize = MaxUnpackedSize;

// Reads a regular file or a pipe whole. Directories, devices and anything larger than the
// biggest ship we accept are refused: reading them would fail, never end, or exhaust memory.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path)
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
        if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) <= MaxFileSize)
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
            if (n < 0 || used + static_cast<std::size_t>(n) > MaxFileSize) {
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
    const auto old = readWholeFile(path);
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

// Saves over the file `path` names. A symbolic link is followed, so the ship the game loads
// changes and the link stays. A file without any write permission was protected by its owner
// and is not replaced, not even by root, who may write anything.
bool writeShipImage(const std::filesystem::path& path, Bytes data)
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

} // namespace

ShipFile::ShipFile(MessageSink& sink) : m_sink(sink) {}

ShipFile::ShipFile(const std::filesystem::path& path, MessageSink& sink) : m_sink(sink)
{
    const auto data = readWholeFile(path);
    if (!data) {
        m_loadResult = LoadResult::Refused;
        m_sink.show(messages::ErrorOpening.box(path.string()));
        return;
    }
    load(*data, path.string());
}

std::unique_ptr<ShipFile> ShipFile::fromBytes(Bytes data, const std::string& displayName,
                                              MessageSink& sink)
{
    auto file = std::make_unique<ShipFile>(sink);
    file->load(data, displayName);
    return file;
}

void ShipFile::load(Bytes data, const std::string& displayName)
{
    ByteBuffer unpacked;
    if (!endsWithEndMarker(data)) {
        if (!startsWithPackedMagic(data)) {
            m_loadResult = LoadResult::Refused;
            m_sink.show(messages::NotAnShp.box());
            return;
        }
        m_sink.show(messages::CompressedNotice.box());
        // Packed data that unpacks to packed data again is refused, not unpacked twice.
        if (decodePacked(data, unpacked) == 0 || !endsWithEndMarker(unpacked)) {
            m_loadResult = LoadResult::Refused;
            m_sink.show(messages::NotAnShp.box());
            return;
        }
        data = unpacked;
    }

    std::size_t offset = 0;
    bool truncated = false;
    while (readBlock(data, offset, truncated)) {
    }
    if (truncated) {
        m_loadResult = LoadResult::Truncated;
        m_sink.show(messages::Truncated.box(displayName));
    }
}

bool ShipFile::readBlock(Bytes data, std::size_t& offset, bool& truncated)
{
    const Bytes rest = data.subspan(std::min(offset, data.size()));
    const auto type = readU16(rest, 0);
    if (type == layout::EndMarkerType)
        return false;
    const auto recordSize = readU16(rest, 2);
    const auto count = readU16(rest, 4);
    if (!type || !recordSize || !count) {
        truncated = true;
        return false;
    }
    const std::size_t length = std::size_t{*recordSize} * *count;
    if (length > rest.size() - layout::BlockHeaderSize) {
        truncated = true;
        return false;
    }

    auto block = std::make_unique<ShipBlock>();
    block->type = *type;
    block->recordSize = *recordSize;
    block->count = *count;
    const auto first = rest.begin() + layout::BlockHeaderSize;
    block->records.assign(first, first + static_cast<std::ptrdiff_t>(length));
    offset += layout::BlockHeaderSize + length;

    block->next = std::move(tail->next);
    tail->next = std::move(block);
    tail = tail->next.get();
    if (tail->type == layout::type::Components)
        componentBlock = tail;
    return true;
}

void ShipFile::releaseRecords()
{
    head.next.reset();
    tail = &head;
    componentBlock = nullptr;
}

ShipBlock* ShipFile::insertAfter(ShipBlock& after, std::unique_ptr<ShipBlock> block)
{
    block->next = std::move(after.next);
    after.next = std::move(block);
    ShipBlock* inserted = after.next.get();
    if (&after == tail)
        tail = inserted;
    if (inserted->type == layout::type::Components)
        recountPointers();
    return inserted;
}

bool ShipFile::removeAfter(ShipBlock& before)
{
    if (!before.next)
        return false;
    std::unique_ptr<ShipBlock> removed = std::move(before.next);
    before.next = std::move(removed->next);
    if (removed.get() == tail)
        tail = &before;
    if (removed.get() == componentBlock)
        recountPointers();
    return true;
}

std::unique_ptr<ShipBlock> ShipFile::takeAfter(ShipBlock& before)
{
    std::unique_ptr<ShipBlock> taken = std::move(before.next);
    recountPointers();
    return taken;
}

void ShipFile::append(std::unique_ptr<ShipBlock> blocks)
{
    tail->next = std::move(blocks);
    for (ShipBlock* b = tail->next.get(); b; b = b->next.get()) {
        tail = b;
        if (b->type == layout::type::Components)
            componentBlock = b;
    }
}

bool ShipFile::restore(Bytes image)
{
    releaseRecords();
    std::size_t offset = 0;
    bool truncated = false;
    while (readBlock(image, offset, truncated)) {
    }
    return !truncated && offset + layout::BlockHeaderSize == image.size();
}

void ShipFile::recountPointers()
{
    componentBlock = nullptr;
    tail = &head;
    for (ShipBlock* b = first(); b; b = b->next.get()) {
        if (b->type == layout::type::Components)
            componentBlock = b;
        tail = b;
    }
}

namespace {

// Hands the plain file image to `put` piece by piece: each block's header and records, then
// the end marker. The file holds 16-bit fields; only the records the header announces are
// written, zero-filled where a block holds fewer bytes than its header says.
template <typename Put> void visitImage(const ShipBlock* first, Put&& put)
{
    static constexpr std::uint8_t Zeros[256] = {};
    auto word = [](std::uint32_t v, std::uint8_t* at) {
        at[0] = static_cast<std::uint8_t>(v);
        at[1] = static_cast<std::uint8_t>(v >> 8);
    };
    for (const ShipBlock* b = first; b; b = b->next.get()) {
        std::uint8_t header[layout::BlockHeaderSize];
        word(b->type & 0xFFFF, header);
        word(b->recordSize & 0xFFFF, header + 2);
        word(b->count & 0xFFFF, header + 4);
        put(Bytes(header));
        const std::size_t announced = std::size_t{b->recordSize & 0xFFFF} * (b->count & 0xFFFF);
        const std::size_t held = std::min(b->records.size(), announced);
        put(Bytes(b->records).first(held));
        for (std::size_t missing = announced - held; missing > 0;) {
            const std::size_t n = std::min(missing, sizeof Zeros);
            put(Bytes(Zeros, n));
            missing -= n;
        }
    }
    static constexpr std::uint8_t EndMarker[layout::BlockHeaderSize] = {0xFF, 0xFF, 0, 0, 0, 0};
    put(Bytes(EndMarker));
}

} // namespace

std::vector<std::uint8_t> ShipFile::serialise() const
{
    std::size_t total = 0;
    visitImage(first(), [&total](Bytes piece) { total += piece.size(); });
    std::vector<std::uint8_t> out;
    out.reserve(total);
    visitImage(first(), [&out](Bytes piece) { out.insert(out.end(), piece.begin(), piece.end()); });
    return out;
}

bool ShipFile::matchesImage(Bytes image) const
{
    std::size_t at = 0;
    bool same = true;
    visitImage(first(), [&](Bytes piece) {
        same =
            same && piece.size() <= image.size() - at &&
            std::equal(piece.begin(), piece.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
        at += same ? piece.size() : 0;
    });
    return same && at == image.size();
}

bool ShipFile::save(const std::filesystem::path& path) const
{
    if (writeShipImage(path, serialise()))
        return true;
    m_sink.show(messages::ErrorSaving.box(path.string()));
    return false;
}

ShipBlock* nthBlockOfType(ShipFile& file, std::uint32_t type, int n)
{
    if (n < 0)
        return nullptr;
    int seen = 0;
    for (ShipBlock* b = file.first(); b; b = b->next.get())
        if (b->type == type && seen++ == n)
            return b;
    return nullptr;
}

const ShipBlock* nthBlockOfType(const ShipFile& file, std::uint32_t type, int n)
{
    return nthBlockOfType(const_cast<ShipFile&>(file), type, n);
}

ShipBlock* nextBlockOfType(ShipBlock* from, std::uint32_t type)
{
    for (ShipBlock* b = from ? from->next.get() : nullptr; b; b = b->next.get())
        if (b->type == type)
            return b;
    return nullptr;
}

const ShipBlock* nextBlockOfType(const ShipBlock* from, std::uint32_t type)
{
    return nextBlockOfType(const_cast<ShipBlock*>(from), type);
}

} // namespace shipfile
