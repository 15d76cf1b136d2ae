#pragma once

#include "shipfile/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace shipfile {

/// Output larger than this is refused: no real ship comes near it, and a hostile stream of
/// 1028-byte copies could otherwise ask for gigabytes.
inline constexpr std::size_t MaxUnpackedSize = 256u * 1024 * 1024;

/// Decodes a RefPack stream. `input` starts at the 10 FB signature; the 3-byte size field after
/// it is not trusted. Returns the number of bytes written to `output` (resized to fit), or 0
/// when the stream is malformed: literals past the end of the input, a copy reaching before
/// the start of the output, no closing command, or output past MaxUnpackedSize.
std::size_t decodePacked(Bytes input, std::vector<std::uint8_t>& output);

} // namespace shipfile
