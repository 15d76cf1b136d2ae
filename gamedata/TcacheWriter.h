#pragma once

#include "gamedata/TexturePixels.h"
#include "shipfile/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Writing pictures into the texture cache: replacing an entry's picture or adding an entry.
// Every other entry keeps its pixel bytes and every byte Korvex does not interpret; only the
// pixel offsets move when the directory grows or a picture changes size.
namespace gamedata {

/// Bits of a new entry's pixels.
inline constexpr int Bits8 = 8;
inline constexpr int Bits16 = 16;

struct TextureChange
{
    enum class Kind
    {
        Replace, // the entry named `name` takes the picture, in its own format
        Add,     // a new entry named `name` in `bits` bits
    };
    Kind kind = Kind::Replace;
    std::string name;
    RgbaPicture picture;
    int bits = Bits16;
};

/// What a change did, or why it did nothing.
struct TcacheEdit
{
    bool ok = false;
    std::string error;               // the reason nothing was written
    std::vector<std::uint8_t> image; // the cache after the change
    std::int32_t index = -1;         // the entry written
    std::vector<std::string> notes;  // what the user should know of the result
};

/// Whether `name` may name a texture: 1 to 20 printable ASCII characters.
bool isValidTextureName(std::string_view name);

/// The texture cache image `cache` with `change` made, in memory. Refused, with the reason,
/// when the cache is damaged, the name is not valid, missing (Replace) or taken (Add).
TcacheEdit changeTexture(shipfile::Bytes cache, const TextureChange& change);

/// Makes `change` in the texture cache file at `path`, written as ship saves are: a temporary
/// file renamed over it, a read-only file refused, symbolic links followed. Unless
/// `<file>.bak` exists beside the real file, it first keeps the old cache there. Nothing is
/// changed when anything fails.
TcacheEdit changeTextureFile(const std::filesystem::path& path, const TextureChange& change);

} // namespace gamedata
