#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// One ship written out by hand, byte for byte, independently of the product's record layouts:
// a wrong offset in the loader, the catalogue or an editing command disagrees with it.
namespace fixture {

using ByteVector = std::vector<std::uint8_t>;

/// Bytes from hex digits; spaces are ignored.
inline ByteVector hex(std::string_view digits)
{
    ByteVector out;
    int high = -1;
    for (const char c : digits) {
        if (c == ' ')
            continue;
        const int nibble = c <= '9' ? c - '0' : c - 'a' + 10;
        if (high < 0) {
            high = nibble;
        } else {
            out.push_back(static_cast<std::uint8_t>(high << 4 | nibble));
            high = -1;
        }
    }
    return out;
}

/// A field of a record: its hex bytes at a byte offset. Later fields overwrite earlier ones.
struct Field
{
    std::size_t offset;
    std::string_view bytes;
};
using Record = std::vector<Field>;

/// A block as the file holds it: the six header bytes (type, record size, count, each a
/// little-endian u16) and its records, zero wherever no field is listed.
struct Block
{
    std::string_view header;
    std::vector<Record> records;
};

/// Where each block stands in the chain of `ship()`.
enum Index : std::size_t
{
    Header,
    Components,
    Section,
    Block13,
    Animation,
    Boxes,
    Attachments,
    Textures,
    Frames,
    Vertices,
    Faces,
    Marker12,
    Block14a,
    Block14b,
    Marker16,
};

// "Hull": role 3 (fighter turret), origin (1, -2, 3), debris number 7 with debris (48), 500 hit
// points; ship class 2; block 13 on (2, 5); no boxes; a gun (kind 3) at (5, 6, 7) with gun
// index 4 and an identity matrix; textures "hull_plate" and "glow"; animation of 1000 ms,
// type 1, trigger "fire" (and a byte 5a just past its 16 bytes), frame 1 at 500 ms turning 90
// degrees (pi/2) about y and moving 10 along z; vertices (0,0,0), (10,0,0), (0,20,0), (10,20,0);
// one face on the first three with texture 1, u and v, normal +z and the front culled (3).
inline std::vector<Block> ship()
{
    const std::string_view one = "0000803f";
    return {
        {"0000 1800 0100", {{{20, "02"}}}},
        {"0100 3801 0100",
         {{{0, "48756c6c00"},
           {64, "03000000"},
           {68, "0000803f 000000c0 00004040"},
           {212, "07000000"},
           {240, "30000000"},
           {260, "f4010000"}}}},
        {"0200 0400 0100", {{}}},
        {"0d00 0400 0200", {{{0, "02000000"}}, {{0, "05000000"}}}},
        {"0a00 1800 0100", {{{0, "e8030000"}, {4, "0100"}, {6, "6669726500"}, {22, "5a"}}}},
        {"0700 4800 0000", {}},
        {"0900 a800 0100",
         {{{0, "03000000"},
           {4, "0000a040 0000c040 0000e040"},
           {16, one},
           {32, one},
           {48, one},
           {100, "04000000"}}}},
        {"0600 1000 0200", {{{0, "68756c6c5f706c61746500"}}, {{0, "676c6f7700"}}}},
        {"0b00 1c00 0200",
         {{}, {{0, "f4010000"}, {4, "00000000 db0fc93f 00000000"}, {24, "00002041"}}}},
        {"0400 2000 0400", {{}, {{0, "00002041"}}, {{4, "0000a041"}}, {{0, "00002041 0000a041"}}}},
        {"0300 5000 0100",
         {{{0, "01000000"},
           {12, "00000000 01000000 02000000"},
           {28, one},
           {44, one},
           {56, one},
           {72, "03000000"}}}},
        {"0c00 0400 0000", {}},
        {"0e00 1400 0100", {{}}},
        {"0e00 1400 0100", {{}}},
        {"1000 0400 0000", {}},
    };
}

/// `size` bytes holding the fields of `record`, zero elsewhere.
inline ByteVector recordBytes(std::size_t size, const Record& record)
{
    ByteVector bytes(size, 0);
    for (const Field& field : record) {
        const ByteVector value = hex(field.bytes);
        std::copy(value.begin(), value.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(field.offset));
    }
    return bytes;
}

/// The file image of `blocks`, closed by the end marker.
inline ByteVector image(const std::vector<Block>& blocks)
{
    ByteVector out;
    for (const Block& block : blocks) {
        const ByteVector header = hex(block.header);
        out.insert(out.end(), header.begin(), header.end());
        const std::size_t size = header[2] | std::size_t{header[3]} << 8;
        for (const Record& record : block.records) {
            const ByteVector bytes = recordBytes(size, record);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
    }
    const ByteVector end = hex("ffff 0000 0000");
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

} // namespace fixture
