#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The two pixel formats of the texture cache, to RGBA and back.
namespace gamedata {

/// One pixel as red, green, blue, alpha.
using Rgba = std::array<std::uint8_t, 4>;

/// The 256 colours every 8-bit texture shares (six colour ramps of 32 entries and a neutral
/// grey ramp of 64, each light to dark), three bytes each in the order blue, green, red.
const std::array<std::uint8_t, 768>& defaultPalette();

/// An 8-bit pixel: its colour in `defaultPalette`, always opaque.
Rgba rgbaFromIndex(std::uint8_t index);
/// A 16-bit 5-6-5 pixel, each channel widened by integer arithmetic; the word 0 (black) is the
/// transparent colour.
Rgba rgbaFromWord(std::uint16_t word);

/// The 16-bit word of a pixel: each channel rounded to 5, 6 and 5 bits. Alpha below 128 gives
/// the word 0 (transparent); an opaque pixel that would round to 0 takes the nearest non-zero
/// word instead, so it stays visible.
std::uint16_t wordFromRgba(Rgba pixel);
/// The palette index of the colour nearest to the pixel's (alpha is not stored).
std::uint8_t indexFromRgba(Rgba pixel);

/// An RGBA picture, rows top first; from a PNG file or a decoded texture.
struct RgbaPicture
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4 bytes
};

} // namespace gamedata
