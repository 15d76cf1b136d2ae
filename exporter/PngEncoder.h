#pragma once

#include <cstdint>
#include <vector>

namespace exporter {

/// The RGBA picture (`width` x `height`, four bytes a pixel, rows top first) as a PNG file
/// image. The same picture always gives the same bytes. Empty if it cannot be encoded.
std::vector<std::uint8_t> encodePng(std::int32_t width, std::int32_t height,
                                    const std::vector<std::uint8_t>& rgba);

} // namespace exporter
