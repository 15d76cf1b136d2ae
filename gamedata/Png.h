#pragma once

#include "gamedata/TexturePixels.h"
#include "shipfile/Bytes.h"

#include <cstdint>
#include <vector>

// PNG files: how textures leave Korvex (extract, export) and come back (replace, add).
namespace gamedata {

/// The RGBA picture (`width` x `height`, four bytes a pixel, rows top first) as a PNG file
/// image. The same picture always gives the same bytes. Empty if it cannot be encoded.
std::vector<std::uint8_t> encodePng(std::int32_t width, std::int32_t height,
                                    const std::vector<std::uint8_t>& rgba);

enum class PngFailure
{
    None,
    NotPng,   // no PNG signature, or data the decoder refuses
    TooLarge, // wider or taller than a texture may be
};

struct PngRead
{
    PngFailure failure = PngFailure::None;
    RgbaPicture picture; // any PNG colour type and depth, as 8-bit RGBA
};

/// Decodes a PNG file image. Its size is checked before any pixel is decoded.
PngRead decodePng(shipfile::Bytes file);

} // namespace gamedata
