#include "gamedata/Tcache.h"

#include "gamedata/Messages.h"
#include "gamedata/TcacheLayout.h"
#include "shipfile/Bytes.h"
#include "shipfile/CaseInsensitive.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>

namespace gamedata {

namespace tl = tcacheLayout;
namespace msg = gamedata::messages;

namespace {

// Reads `size` bytes at `offset` of the cache; nothing when they do not lie wholly inside it.
// The file on disk and an image in memory read through the same lookup.
using ReadAt = std::function<std::optional<std::vector<std::uint8_t>>(std::uint64_t offset,
                                                                      std::uint64_t size)>;

bool inside(std::uint64_t cacheSize, std::uint64_t offset, std::uint64_t size)
{
    return offset <= cacheSize && size <= cacheSize - offset;
}

TcacheLookup failed(TcacheFailure failure)
{
    return TcacheLookup{failure, {}};
}

DecodedTexture convert(const TcacheEntryInfo& entry, const std::vector<std::uint8_t>& pixels)
{
    DecodedTexture out;
    out.width = entry.width;
    out.height = entry.height;
    out.format = entry.format;
    const std::size_t count =
        static_cast<std::size_t>(entry.width) * static_cast<std::size_t>(entry.height);
    out.rgba.reserve(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const Rgba c = entry.format == tl::Format8Bit
                           ? rgbaFromIndex(pixels[i])
                           : rgbaFromWord(*shipfile::readU16(pixels, i * 2));
        out.rgba.insert(out.rgba.end(), c.begin(), c.end());
    }
    return out;
}

// One directory entry, as much of it as `entry` holds, checked against a cache of `cacheSize`
// bytes.
TcacheEntryInfo parseEntry(shipfile::Bytes entry, std::int32_t index, std::uint64_t cacheSize)
{
    TcacheEntryInfo info;
    info.index = index;
    info.name = shipfile::readString(entry, tl::Name, tl::NameSize);
    const auto width = shipfile::readI32(entry, tl::Width);
    const auto height = shipfile::readI32(entry, tl::Height);
    const auto format = shipfile::readI32(entry, tl::Format);
    const auto pixelOffset = shipfile::readU32(entry, tl::PixelOffset);
    if (!width || !height || !format || !pixelOffset) {
        info.state = TcacheFailure::Damaged;
        return info;
    }
    info.width = *width;
    info.height = *height;
    info.format = *format;
    info.offset = *pixelOffset;
    if (*format != tl::Format8Bit && *format != tl::Format16Bit)
        info.state = TcacheFailure::UnsupportedFormat;
    else if (*width <= 0 || *height <= 0 || *width > MaxTextureSide || *height > MaxTextureSide ||
             std::int64_t{*width} * *height > MaxTexturePixels ||
             !inside(cacheSize, info.offset, info.pixelBytes()))
        info.state = TcacheFailure::Damaged;
    return info;
}

// The directory as far as the file holds it; a count that runs past the end of the file
// finds nothing in the missing part. Nothing when the count is not positive.
std::optional<std::vector<std::uint8_t>> readDirectory(std::uint64_t cacheSize,
                                                       const ReadAt& readAt, std::int32_t& count)
{
    const auto header = readAt(0, tl::EntryCount + 4);
    count = header ? *shipfile::readI32(*header, tl::EntryCount) : 0;
    if (count <= 0)
        return std::nullopt;
    const std::uint64_t claimed = std::uint64_t{tl::EntrySize} * static_cast<std::uint64_t>(count);
    const std::uint64_t present =
        cacheSize > tl::Directory ? std::min(claimed, cacheSize - tl::Directory) : 0;
    return readAt(tl::Directory, present);
}

TcacheLookup readEntry(const ReadAt& readAt, const TcacheEntryInfo& entry)
{
    if (entry.damaged())
        return failed(entry.state);
    const auto pixels = readAt(entry.offset, entry.pixelBytes());
    if (!pixels)
        return failed(TcacheFailure::Damaged);
    return TcacheLookup{TcacheFailure::None, convert(entry, *pixels)};
}

// Finds the first entry named `name` in a cache of `cacheSize` bytes and converts its pixels.
TcacheLookup findTexture(std::uint64_t cacheSize, const ReadAt& readAt, std::string_view name)
{
    std::int32_t count = 0;
    const auto directory = readDirectory(cacheSize, readAt, count);
    if (!directory)
        return failed(TcacheFailure::NotFound);

    std::int32_t index = 0;
    for (std::size_t at = 0; at + tl::NameSize <= directory->size(); at += tl::EntrySize, ++index) {
        const shipfile::Bytes entry = shipfile::Bytes(*directory).subspan(at);
        if (shipfile::equalsIgnoringCase(shipfile::readString(entry, tl::Name, tl::NameSize), name))
            return readEntry(readAt, parseEntry(entry.first(std::min(entry.size(), tl::EntrySize)),
                                                index, cacheSize));
    }
    return failed(TcacheFailure::NotFound);
}

TcacheListing listEntries(std::uint64_t cacheSize, const ReadAt& readAt)
{
    TcacheListing out;
    out.fileSize = cacheSize;
    const auto directory = readDirectory(cacheSize, readAt, out.claimedCount);
    const std::uint64_t claimed =
        std::uint64_t{tl::EntrySize} * static_cast<std::uint64_t>(std::max(out.claimedCount, 0));
    if (cacheSize < tl::Directory || out.claimedCount < 0 ||
        !inside(cacheSize, tl::Directory, claimed))
        out.failure = TcacheFailure::Damaged;
    if (!directory)
        return out;
    std::int32_t index = 0;
    for (std::size_t at = 0; at + tl::NameSize <= directory->size(); at += tl::EntrySize, ++index) {
        const shipfile::Bytes entry = shipfile::Bytes(*directory).subspan(at);
        out.entries.push_back(
            parseEntry(entry.first(std::min(entry.size(), tl::EntrySize)), index, cacheSize));
    }
    return out;
}

// Opens the file at `path` and hands `use` its size and a reader of its bytes; `failure`
// when the file cannot be opened.
template <typename Result, typename Use>
Result withFile(const std::filesystem::path& path, Result failure, Use use)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return failure;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return failure;
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < 0)
        return failure;
    const auto fileSize = static_cast<std::uint64_t>(end);
    const ReadAt readAt =
        [&file, fileSize](std::uint64_t offset,
                          std::uint64_t size) -> std::optional<std::vector<std::uint8_t>> {
        if (!inside(fileSize, offset, size))
            return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        file.seekg(static_cast<std::streamoff>(offset));
        file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        if (!file)
            return std::nullopt;
        return bytes;
    };
    return use(fileSize, readAt);
}

ReadAt memoryReader(shipfile::Bytes image)
{
    return [image](std::uint64_t offset,
                   std::uint64_t size) -> std::optional<std::vector<std::uint8_t>> {
        if (!inside(image.size(), offset, size))
            return std::nullopt;
        const auto first = image.begin() + static_cast<std::ptrdiff_t>(offset);
        return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(size));
    };
}

} // namespace

std::uint64_t TcacheEntryInfo::pixelBytes() const
{
    if (width <= 0 || height <= 0 || (format != tl::Format8Bit && format != tl::Format16Bit))
        return 0;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
           (format == tl::Format8Bit ? 1u : 2u);
}

bool TcacheListing::writable() const
{
    return failure == TcacheFailure::None &&
           std::none_of(entries.begin(), entries.end(),
                        [](const TcacheEntryInfo& e) { return e.damaged(); });
}

const TcacheEntryInfo* TcacheListing::find(std::string_view name) const
{
    for (const TcacheEntryInfo& e : entries)
        if (shipfile::equalsIgnoringCase(e.name, name))
            return &e;
    return nullptr;
}

TcacheLookup readTcacheTexture(const std::filesystem::path& path, std::string_view name)
{
    return withFile(path, failed(TcacheFailure::CannotOpen),
                    [name](std::uint64_t size, const ReadAt& readAt) {
                        return findTexture(size, readAt, name);
                    });
}

TcacheLookup readTcacheTexture(shipfile::Bytes image, std::string_view name)
{
    return findTexture(image.size(), memoryReader(image), name);
}

TcacheListing listTcache(const std::filesystem::path& path)
{
    return withFile(path, TcacheListing{TcacheFailure::CannotOpen, 0, 0, {}}, listEntries);
}

TcacheListing listTcache(shipfile::Bytes image)
{
    return listEntries(image.size(), memoryReader(image));
}

TcacheLookup readTcacheEntry(const std::filesystem::path& path, const TcacheEntryInfo& entry)
{
    return withFile(
        path, failed(TcacheFailure::CannotOpen),
        [&entry](std::uint64_t, const ReadAt& readAt) { return readEntry(readAt, entry); });
}

TcacheLookup readTcacheEntry(shipfile::Bytes image, const TcacheEntryInfo& entry)
{
    return readEntry(memoryReader(image), entry);
}

shipfile::MessageText tcacheFailureMessage(TcacheFailure failure)
{
    switch (failure) {
    case TcacheFailure::None:
        return {};
    case TcacheFailure::CannotOpen:
        return msg::TcacheOpenFailed;
    case TcacheFailure::NotFound:
        return msg::TextureNotFound;
    case TcacheFailure::UnsupportedFormat:
        return msg::TextureFormat;
    case TcacheFailure::Damaged:
        return msg::TextureDamaged;
    }
    return {};
}

} // namespace gamedata
