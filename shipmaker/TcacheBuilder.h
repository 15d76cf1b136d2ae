#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Builds texture cache files (tcachehw.dat images) for the tests and the demo installation.
namespace shipmaker {

/// One directory entry and its pixel data, stored as given (no checks), so that malformed
/// entries are as easy to write as good ones.
struct TcacheEntry
{
    std::string name; // more than 20 characters are cut; exactly 20 leave no NUL
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t format = 1;                  // 1: 8-bit palette indexes, 2: 16-bit 5-6-5 colour
    std::vector<std::uint8_t> pixels;         // raw bytes as stored in the file
    std::optional<std::uint32_t> pixelOffset; // default: where the builder puts the pixels
    std::uint8_t filler = 0; // every byte of the entry that Korvex does not interpret
};

class TcacheBuilder
{
public:
    /// An 8-bit texture: one palette index per pixel, rows in order.
    TcacheBuilder& add8(const std::string& name, int width, int height,
                        const std::vector<std::uint8_t>& indexes);
    /// A 16-bit texture: one 5-6-5 colour word per pixel, rows in order.
    TcacheBuilder& add16(const std::string& name, int width, int height,
                         const std::vector<std::uint16_t>& colours);
    /// A 16-bit texture of one colour.
    TcacheBuilder& solid16(const std::string& name, int width, int height, std::uint16_t colour);
    /// Any entry, as stored.
    TcacheBuilder& entry(TcacheEntry e);

    /// Writes `count` as the entry count instead of the number of entries.
    TcacheBuilder& claimCount(std::int32_t count);
    /// Cuts the finished image to its first `size` bytes.
    TcacheBuilder& truncateTo(std::size_t size);

    /// The file image: 84-byte header, the directory, then each entry's pixels in order.
    std::vector<std::uint8_t> build() const;
    /// Writes the image to `path`; false when it cannot be written.
    bool write(const std::filesystem::path& path) const;

private:
    std::vector<TcacheEntry> m_entries;
    std::optional<std::int32_t> m_count;
    std::optional<std::size_t> m_truncateTo;
};

} // namespace shipmaker
