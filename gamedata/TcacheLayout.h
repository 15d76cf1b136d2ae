#pragma once

#include <cstddef>
#include <cstdint>

// The parts of the game's texture cache file (tcachehw.dat) that Korvex reads. All numbers
// are little-endian; offsets are bytes from the start of the file or of one directory entry.
namespace gamedata::tcacheLayout {

inline constexpr std::size_t EntryCount = 4; // i32
inline constexpr std::size_t Directory = 84; // first directory entry
inline constexpr std::size_t EntrySize = 240;

// One directory entry.
inline constexpr std::size_t Name = 0; // ASCII, NUL-padded, no NUL when it fills the field
inline constexpr std::size_t NameSize = 20;
inline constexpr std::size_t Width = 48;        // i32
inline constexpr std::size_t Height = 52;       // i32
inline constexpr std::size_t Format = 56;       // i32
inline constexpr std::size_t PixelOffset = 152; // u32, absolute file offset

// Pixel formats: one palette index per pixel, or one 5-6-5 colour word per pixel.
inline constexpr std::int32_t Format8Bit = 1;
inline constexpr std::int32_t Format16Bit = 2;

} // namespace gamedata::tcacheLayout
