#pragma once

#include "gamedata/TexturePixels.h"
#include "shipfile/Bytes.h"
#include "shipfile/MessageText.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Reading textures out of the game's texture cache file, without OpenGL.
namespace gamedata {

/// A texture converted to RGBA, rows in file order, with the cache's format code.
struct DecodedTexture : RgbaPicture
{
    std::int32_t format = 0;
};

enum class TcacheFailure
{
    None,
    CannotOpen,
    NotFound, // also when the entry count is not positive
    UnsupportedFormat,
    Damaged, // a size out of range, or pixel data or the entry cut off by the end of the file
};

struct TcacheLookup
{
    TcacheFailure failure = TcacheFailure::None;
    DecodedTexture texture;
};

/// The largest texture taken from the file; anything bigger is a damaged entry rather than a
/// reason to allocate gigabytes.
inline constexpr std::int32_t MaxTextureSide = 8192;
inline constexpr std::int64_t MaxTexturePixels = 4096 * 4096;

/// Finds the first directory entry named `name` (ignoring case) in the texture cache file at
/// `path` and converts its pixels. Reads only the directory and that entry's pixels.
TcacheLookup readTcacheTexture(const std::filesystem::path& path, std::string_view name);
/// The same lookup in a texture cache image held in memory.
TcacheLookup readTcacheTexture(shipfile::Bytes image, std::string_view name);

/// The user's message for a failure (empty for None).
shipfile::MessageText tcacheFailureMessage(TcacheFailure failure);

/// One directory entry as the file holds it. `state` is None for an entry whose pixels can be
/// read, UnsupportedFormat or Damaged (the entry cut off, a size out of range, pixel data
/// outside the file) otherwise.
struct TcacheEntryInfo
{
    std::int32_t index = 0;
    std::string name; // up to the first NUL of its 20 bytes
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 0;
    std::uint32_t offset = 0;
    TcacheFailure state = TcacheFailure::None;

    bool damaged() const { return state != TcacheFailure::None; }
    /// Bytes of pixel data (0 for an entry that cannot be read).
    std::uint64_t pixelBytes() const;
};

/// Every directory entry of a texture cache, damaged ones included.
struct TcacheListing
{
    /// CannotOpen when the file cannot be read; Damaged when it is too short for the header or
    /// its entry count is negative or runs past the end of the file (the entries it does hold
    /// are listed).
    TcacheFailure failure = TcacheFailure::None;
    std::int32_t claimedCount = 0;
    std::uint64_t fileSize = 0;
    std::vector<TcacheEntryInfo> entries;

    /// Whether the whole cache can be rewritten: readable, every entry present and readable.
    bool writable() const;
    /// The first entry named `name`, ignoring case, as the view finds it; null when none is.
    const TcacheEntryInfo* find(std::string_view name) const;
};

TcacheListing listTcache(const std::filesystem::path& path);
TcacheListing listTcache(shipfile::Bytes image);

/// The pixels of one listed entry, converted as the view converts them.
TcacheLookup readTcacheEntry(const std::filesystem::path& path, const TcacheEntryInfo& entry);
TcacheLookup readTcacheEntry(shipfile::Bytes image, const TcacheEntryInfo& entry);

} // namespace gamedata
