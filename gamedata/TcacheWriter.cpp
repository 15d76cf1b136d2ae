#include "gamedata/TcacheWriter.h"

#include "gamedata/Messages.h"
#include "gamedata/Tcache.h"
#include "gamedata/TcacheLayout.h"
#include "shipfile/FileAccess.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace gamedata {

namespace tl = tcacheLayout;
namespace msg = gamedata::messages;
using shipfile::messages::formatNumber;
using shipfile::messages::formatText;

namespace {

// Pixel offsets are 32 bits: the file must stay below 4 GB.
constexpr std::uint64_t MaxCacheSize = std::numeric_limits<std::uint32_t>::max();

TcacheEdit refused(std::string reason)
{
    TcacheEdit edit;
    edit.error = std::move(reason);
    return edit;
}

std::uint64_t directoryEnd(std::size_t entryCount)
{
    return tl::Directory + std::uint64_t{tl::EntrySize} * entryCount;
}

// Why a cache cannot be rewritten; empty when it can.
std::string damage(const TcacheListing& listing)
{
    std::string what;
    if (listing.fileSize < tl::Directory)
        what = msg::HeaderCut;
    else if (listing.failure != TcacheFailure::None)
        what = formatNumber(msg::CountPastEnd, listing.claimedCount);
    for (const TcacheEntryInfo& e : listing.entries) {
        if (!what.empty())
            break;
        if (e.damaged())
            what = formatNumber(msg::EntryDamaged, e.index);
        else if (e.offset < directoryEnd(listing.entries.size()))
            what = formatNumber(msg::EntryOverlapsDirectory, e.index);
    }
    return what.empty() ? what : formatText(msg::CacheDamaged, what);
}

// The picture's pixels in the cache's format `format`. `old` holds the entry's pixels when the
// picture has their size: an 8-bit pixel whose colour is its old index's keeps that index, so a
// picture that comes back unchanged gives the same bytes even where two indexes share a colour.
std::vector<std::uint8_t> storedPixels(const RgbaPicture& picture, std::int32_t format,
                                       long long& transparentLost, shipfile::Bytes old = {})
{
    const std::size_t count = picture.rgba.size() / 4;
    std::vector<std::uint8_t> out;
    out.reserve(format == tl::Format8Bit ? count : count * 2);
    std::unordered_map<std::uint32_t, std::uint8_t> nearest; // pictures repeat their colours
    for (std::size_t i = 0; i < count; ++i) {
        const Rgba p = {picture.rgba[i * 4], picture.rgba[i * 4 + 1], picture.rgba[i * 4 + 2],
                        picture.rgba[i * 4 + 3]};
        if (format == tl::Format16Bit) {
            const std::uint16_t word = wordFromRgba(p);
            out.push_back(static_cast<std::uint8_t>(word & 0xFF));
            out.push_back(static_cast<std::uint8_t>(word >> 8));
            continue;
        }
        if (p[3] < 128)
            ++transparentLost;
        if (i < old.size() && std::equal(p.begin(), p.begin() + 3, rgbaFromIndex(old[i]).begin())) {
            out.push_back(old[i]);
            continue;
        }
        const std::uint32_t key = std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
        auto found = nearest.find(key);
        if (found == nearest.end())
            found = nearest.emplace(key, indexFromRgba(p)).first;
        out.push_back(found->second);
    }
    return out;
}

shipfile::MutableBytes entryBytes(std::vector<std::uint8_t>& image, std::size_t index)
{
    return shipfile::MutableBytes(image).subspan(tl::Directory + tl::EntrySize * index,
                                                 tl::EntrySize);
}

void setPicture(shipfile::MutableBytes entry, const RgbaPicture& picture, std::int32_t format,
                std::uint64_t offset)
{
    shipfile::writeI32(entry, tl::Width, picture.width);
    shipfile::writeI32(entry, tl::Height, picture.height);
    shipfile::writeI32(entry, tl::Format, format);
    shipfile::writeU32(entry, tl::PixelOffset, static_cast<std::uint32_t>(offset));
}

TcacheEdit replace(shipfile::Bytes cache, const TcacheListing& listing, const TextureChange& change)
{
    const TcacheEntryInfo* target = listing.find(change.name);
    if (!target)
        return refused(formatText(msg::NameMissing, change.name));
    const std::uint64_t start = target->offset;
    const std::uint64_t end = start + target->pixelBytes();
    for (const TcacheEntryInfo& e : listing.entries)
        if (e.index != target->index && e.offset < end && start < e.offset + e.pixelBytes())
            return refused(formatText(msg::SharedPixels, target->name));

    TcacheEdit edit;
    long long transparentLost = 0;
    const bool sameSize =
        change.picture.width == target->width && change.picture.height == target->height;
    const std::vector<std::uint8_t> pixels =
        storedPixels(change.picture, target->format, transparentLost,
                     sameSize ? cache.subspan(start, end - start) : shipfile::Bytes{});
    if (cache.size() - target->pixelBytes() + pixels.size() > MaxCacheSize)
        return refused(std::string(msg::CacheTooLarge));

    // The picture takes the old one's place; the pixels after it move by the difference.
    edit.image.reserve(cache.size() - target->pixelBytes() + pixels.size());
    edit.image.assign(cache.begin(), cache.begin() + static_cast<std::ptrdiff_t>(start));
    edit.image.insert(edit.image.end(), pixels.begin(), pixels.end());
    edit.image.insert(edit.image.end(), cache.begin() + static_cast<std::ptrdiff_t>(end),
                      cache.end());
    const std::int64_t shift =
        static_cast<std::int64_t>(pixels.size()) - static_cast<std::int64_t>(target->pixelBytes());
    for (const TcacheEntryInfo& e : listing.entries)
        if (e.index != target->index && e.offset >= end)
            shipfile::writeU32(entryBytes(edit.image, static_cast<std::size_t>(e.index)),
                               tl::PixelOffset, static_cast<std::uint32_t>(e.offset + shift));
    setPicture(entryBytes(edit.image, static_cast<std::size_t>(target->index)), change.picture,
               target->format, start);
    edit.index = target->index;
    if (transparentLost > 0)
        edit.notes.push_back(formatNumber(msg::TransparencyLost, transparentLost));
    edit.ok = true;
    return edit;
}

TcacheEdit add(shipfile::Bytes cache, const TcacheListing& listing, const TextureChange& change)
{
    if (listing.find(change.name))
        return refused(formatText(msg::NameExists, change.name));
    const std::int32_t format = change.bits == Bits8 ? tl::Format8Bit : tl::Format16Bit;
    TcacheEdit edit;
    long long transparentLost = 0;
    const std::vector<std::uint8_t> pixels = storedPixels(change.picture, format, transparentLost);
    if (cache.size() + tl::EntrySize + pixels.size() > MaxCacheSize)
        return refused(std::string(msg::CacheTooLarge));

    // Header and directory, the new entry, the pixels as they were, then the new pixels.
    const std::size_t count = listing.entries.size();
    const auto oldEnd = static_cast<std::ptrdiff_t>(directoryEnd(count));
    edit.image.reserve(cache.size() + tl::EntrySize + pixels.size());
    edit.image.assign(cache.begin(), cache.begin() + oldEnd);
    const auto model =
        std::find_if(listing.entries.begin(), listing.entries.end(),
                     [format](const TcacheEntryInfo& e) { return e.format == format; });
    if (model != listing.entries.end()) {
        const auto from = cache.begin() + static_cast<std::ptrdiff_t>(
                                              directoryEnd(static_cast<std::size_t>(model->index)));
        edit.image.insert(edit.image.end(), from, from + tl::EntrySize);
        edit.notes.push_back(formatNumber(msg::BytesCopied, model->index));
    } else {
        edit.image.insert(edit.image.end(), tl::EntrySize, 0);
        edit.notes.push_back(std::string(msg::BytesZero));
    }
    edit.image.insert(edit.image.end(), cache.begin() + oldEnd, cache.end());

    shipfile::writeI32(edit.image, tl::EntryCount, static_cast<std::int32_t>(count + 1));
    for (const TcacheEntryInfo& e : listing.entries)
        shipfile::writeU32(entryBytes(edit.image, static_cast<std::size_t>(e.index)),
                           tl::PixelOffset, e.offset + tl::EntrySize);
    const shipfile::MutableBytes entry = entryBytes(edit.image, count);
    std::fill_n(entry.begin() + tl::Name, tl::NameSize, 0);
    std::copy(change.name.begin(), change.name.end(), entry.begin() + tl::Name);
    setPicture(entry, change.picture, format, edit.image.size());
    edit.image.insert(edit.image.end(), pixels.begin(), pixels.end());

    edit.index = static_cast<std::int32_t>(count);
    if (transparentLost > 0)
        edit.notes.push_back(formatNumber(msg::TransparencyLost, transparentLost));
    edit.ok = true;
    return edit;
}

} // namespace

bool isValidTextureName(std::string_view name)
{
    return !name.empty() && name.size() <= tl::NameSize &&
           std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

TcacheEdit changeTexture(shipfile::Bytes cache, const TextureChange& change)
{
    if (!isValidTextureName(change.name))
        return refused(formatText(msg::BadName, change.name));
    const RgbaPicture& p = change.picture;
    if (p.width <= 0 || p.height <= 0 || p.width > MaxTextureSide || p.height > MaxTextureSide ||
        std::int64_t{p.width} * p.height > MaxTexturePixels ||
        p.rgba.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4)
        return refused(std::string(msg::BadPicture));
    const TcacheListing listing = listTcache(cache);
    if (std::string why = damage(listing); !why.empty())
        return refused(std::move(why));
    return change.kind == TextureChange::Kind::Add ? add(cache, listing, change)
                                                   : replace(cache, listing, change);
}

TcacheEdit changeTextureFile(const std::filesystem::path& path, const TextureChange& change)
{
    const auto old = shipfile::readWholeFile(path, MaxCacheSize);
    if (!old)
        return refused(formatText(msg::CacheUnreadable, path.string()));
    TcacheEdit edit = changeTexture(*old, change);
    if (!edit.ok)
        return edit;

    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(path, error);
    if (error)
        real = path;
    const std::filesystem::path backup = real.string() + ".bak";
    const bool keepBackup =
        !std::filesystem::exists(std::filesystem::symlink_status(backup, error));
    if (keepBackup && !shipfile::writeFileSafely(backup, *old))
        return refused(formatText(msg::BackupFailed, backup.string()));
    if (!shipfile::writeFileSafely(real, edit.image)) {
        if (keepBackup)
            std::filesystem::remove(backup, error);
        return refused(formatText(msg::WriteFailed, path.string()));
    }
    if (keepBackup)
        edit.notes.push_back(formatText(msg::BackupKept, backup.string()));
    return edit;
}

} // namespace gamedata
