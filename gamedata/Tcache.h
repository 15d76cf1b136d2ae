#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/MessageText.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

// Reading textures out of the game's texture cache file, without OpenGL.
namespace gamedata {

/// One pixel as red, green, blue, alpha.
using Rgba = std::array<std::uint8_t, 4>;
/// An 8-bit pixel: its colour in the palette every 8-bit texture shares (six colour ramps of
/// 32 entries and a neutral grey ramp of 64, each light to dark), always opaque.
Rgba rgbaFromIndex(std::uint8_t index);
/// A 16-bit 5-6-5 pixel, each channel widened by integer arithmetic; the word 0 (black) is the
/// transparent colour.
Rgba rgbaFromWord(std::uint16_t word);

/// A texture converted to RGBA, rows in file order.
struct DecodedTexture
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4 bytes
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

} // namespace gamedata
