#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Bounds-checked little-endian access to the fields of a record. Readers return nothing when
// the field does not lie wholly inside the record; writers return false and write nothing.
namespace shipfile {

using Bytes = std::span<const std::uint8_t>;
using MutableBytes = std::span<std::uint8_t>;

struct Vec3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

inline bool fits(Bytes record, std::size_t offset, std::size_t width)
{
    return offset <= record.size() && width <= record.size() - offset;
}

inline std::optional<std::uint32_t> readU32(Bytes record, std::size_t offset)
{
    if (!fits(record, offset, 4))
        return std::nullopt;
    return static_cast<std::uint32_t>(record[offset]) |
           static_cast<std::uint32_t>(record[offset + 1]) << 8 |
           static_cast<std::uint32_t>(record[offset + 2]) << 16 |
           static_cast<std::uint32_t>(record[offset + 3]) << 24;
}

inline std::optional<std::uint16_t> readU16(Bytes record, std::size_t offset)
{
    if (!fits(record, offset, 2))
        return std::nullopt;
    return static_cast<std::uint16_t>(record[offset] | record[offset + 1] << 8);
}

inline std::optional<std::int32_t> readI32(Bytes record, std::size_t offset)
{
    const auto v = readU32(record, offset);
    return v ? std::optional<std::int32_t>(static_cast<std::int32_t>(*v)) : std::nullopt;
}

inline std::optional<std::int16_t> readI16(Bytes record, std::size_t offset)
{
    const auto v = readU16(record, offset);
    return v ? std::optional<std::int16_t>(static_cast<std::int16_t>(*v)) : std::nullopt;
}

inline std::optional<std::int8_t> readI8(Bytes record, std::size_t offset)
{
    if (!fits(record, offset, 1))
        return std::nullopt;
    return static_cast<std::int8_t>(record[offset]);
}

inline std::optional<float> readF32(Bytes record, std::size_t offset)
{
    const auto v = readU32(record, offset);
    return v ? std::optional<float>(std::bit_cast<float>(*v)) : std::nullopt;
}

inline std::optional<Vec3> readVec3(Bytes record, std::size_t offset)
{
    if (!fits(record, offset, 12))
        return std::nullopt;
    return Vec3{*readF32(record, offset), *readF32(record, offset + 4),
                *readF32(record, offset + 8)};
}

inline bool writeU32(MutableBytes record, std::size_t offset, std::uint32_t value)
{
    if (!fits(record, offset, 4))
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return true;
}

inline bool writeU16(MutableBytes record, std::size_t offset, std::uint16_t value)
{
    if (!fits(record, offset, 2))
        return false;
    record[offset] = static_cast<std::uint8_t>(value);
    record[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    return true;
}

inline bool writeI32(MutableBytes record, std::size_t offset, std::int32_t value)
{
    return writeU32(record, offset, static_cast<std::uint32_t>(value));
}

inline bool writeI16(MutableBytes record, std::size_t offset, std::int16_t value)
{
    return writeU16(record, offset, static_cast<std::uint16_t>(value));
}

inline bool writeI8(MutableBytes record, std::size_t offset, std::int8_t value)
{
    if (!fits(record, offset, 1))
        return false;
    record[offset] = static_cast<std::uint8_t>(value);
    return true;
}

inline bool writeF32(MutableBytes record, std::size_t offset, float value)
{
    return writeU32(record, offset, std::bit_cast<std::uint32_t>(value));
}

inline bool writeVec3(MutableBytes record, std::size_t offset, Vec3 v)
{
    if (!fits(record, offset, 12))
        return false;
    writeF32(record, offset, v.x);
    writeF32(record, offset + 4, v.y);
    writeF32(record, offset + 8, v.z);
    return true;
}

/// The NUL-terminated text at `offset`, ending at the record's end when there is no NUL.
inline std::string readString(Bytes record, std::size_t offset, std::size_t maxLength = SIZE_MAX)
{
    std::string out;
    for (std::size_t i = offset; i < record.size() && out.size() < maxLength && record[i] != 0; ++i)
        out.push_back(static_cast<char>(record[i]));
    return out;
}

} // namespace shipfile
