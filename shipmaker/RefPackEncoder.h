#pragma once

#include <cstdint>
#include <vector>

// RefPack encoders, so tests make packed files in code.
namespace shipmaker {

/// Greedy encoder using every copy form where it fits; ends with a closing command.
std::vector<std::uint8_t> packRefPack(const std::vector<std::uint8_t>& plain);
/// Literal runs only (0xE0..0xFB) and a closing command carrying the last 0..3 bytes.
std::vector<std::uint8_t> packLiteralOnly(const std::vector<std::uint8_t>& plain);

} // namespace shipmaker
