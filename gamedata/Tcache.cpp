#include "gamedata/Tcache.h"

#include "gamedata/Messages.h"
#include "gamedata/TcacheLayout.h"
#include "shipfile/Bytes.h"
#include "shipfile/CaseInsensitive.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <functional>
#include <optional>

namespace gamedata {

namespace tl = tcacheLayout;
namespace msg = gamedata::messages;

namespace {
struct Ramp
{
    std::array<int, 3> first; // r, g, b
    std::array<int, 3> last;
};

// Light to dark; the colours between the end points are interpolated linearly.
constexpr std::array<Ramp, 6> ColourRamps = {{
    {{125, 190, 120}, {4, 4, 4}},   // green
    {{238, 221, 193}, {15, 10, 2}}, // ochre
    {{234, 202, 201}, {10, 3, 3}},  // red
    {{175, 193, 206}, {5, 9, 12}},  // blue
    {{207, 209, 209}, {9, 10, 10}}, // cool grey
    {{210, 202, 194}, {12, 8, 4}},  // brown
}};
constexpr int ColourRampLength = 32;
constexpr int GreyRampStart = 192;
constexpr int GreyRampSteps = 63;

// The 256 colours of every 8-bit texture, three bytes each in the order blue, green, red.
std::array<std::uint8_t, 768> buildPalette()
{
    std::array<std::uint8_t, 768> palette{};
    const auto put = [&palette](int index, int r, int g, int b) {
        const auto at = static_cast<std::size_t>(index) * 3;
        palette[at] = static_cast<std::uint8_t>(b);
        palette[at + 1] = static_cast<std::uint8_t>(g);
        palette[at + 2] = static_cast<std::uint8_t>(r);
    };
    for (std::size_t ramp = 0; ramp < ColourRamps.size(); ++ramp) {
        const Ramp& colours = ColourRamps[ramp];
        for (int step = 0; step < ColourRampLength; ++step) {
            std::array<int, 3> c{};
            for (std::size_t ch = 0; ch < 3; ++ch)
                c[ch] = static_cast<int>(
                    std::lround(colours.first[ch] + (colours.last[ch] - colours.first[ch]) * step /
                                                        static_cast<double>(ColourRampLength - 1)));
            put(static_cast<int>(ramp) * ColourRampLength + step, c[0], c[1], c[2]);
        }
    }
    for (int i = GreyRampStart; i < 256; ++i) {
        const int v = static_cast<int>(std::lround(255.0 * (255 - i) / GreyRampSteps));
        put(i, v, v, v);
    }
    return palette;
}

// Reads `size` bytes at `offset` of the cache; nothing when they do not lie wholly inside it.
// The file on disk and an image in memory read through the same lookup.
using ReadAt = std::function<std::optional<std::vector<std::uint8_t>>(std::uint64_t offset,
                                                                      std::uint64_t size)>;

bool inside(std::uint64_t cacheSize, std::uint64_t offset, std::uint64_t size)
{
    return offset <= cacheSize && size <= cacheSize - offset;
}

TcacheLookup failed(TcacheFailure failure)
{
    return TcacheLookup{failure, {}};
}

DecodedTexture convert(std::int32_t width, std::int32_t height, std::int32_t format,
                       const std::vector<std::uint8_t>& pixels)
{
    DecodedTexture out{width, height, format, {}};
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    out.rgba.reserve(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const Rgba c = format == tl::Format8Bit ? rgbaFromIndex(pixels[i])
                                                : rgbaFromWord(*shipfile::readU16(pixels, i * 2));
        out.rgba.insert(out.rgba.end(), c.begin(), c.end());
    }
    return out;
}

// Finds the first entry named `name` in a cache of `cacheSize` bytes and converts its pixels.
TcacheLookup findTexture(std::uint64_t cacheSize, const ReadAt& readAt, std::string_view name)
{
    const auto header = readAt(0, tl::EntryCount + 4);
    const std::int32_t count = header ? *shipfile::readI32(*header, tl::EntryCount) : 0;
    if (count <= 0)
        return failed(TcacheFailure::NotFound);

    // The directory as far as the file holds it; a count that runs past the end of the file
    // finds nothing in the missing part.
    const std::uint64_t claimed = std::uint64_t{tl::EntrySize} * static_cast<std::uint64_t>(count);
    const std::uint64_t present =
        cacheSize > tl::Directory ? std::min(claimed, cacheSize - tl::Directory) : 0;
    const auto directory = readAt(tl::Directory, present);
    if (!directory)
        return failed(TcacheFailure::NotFound);

    for (std::size_t at = 0; at + tl::NameSize <= directory->size(); at += tl::EntrySize) {
        const shipfile::Bytes entry = shipfile::Bytes(*directory).subspan(at);
        if (!shipfile::equalsIgnoringCase(shipfile::readString(entry, tl::Name, tl::NameSize),
                                          name))
            continue;

        const auto width = shipfile::readI32(entry, tl::Width);
        const auto height = shipfile::readI32(entry, tl::Height);
        const auto format = shipfile::readI32(entry, tl::Format);
        const auto pixelOffset = shipfile::readU32(entry, tl::PixelOffset);
        if (!width || !height || !format || !pixelOffset)
            return failed(TcacheFailure::Damaged);
        if (*format != tl::Format8Bit && *format != tl::Format16Bit)
            return failed(TcacheFailure::UnsupportedFormat);
        if (*width <= 0 || *height <= 0 || *width > MaxTextureSide || *height > MaxTextureSide ||
            std::int64_t{*width} * *height > MaxTexturePixels)
            return failed(TcacheFailure::Damaged);

        const std::uint64_t bytesPerPixel = *format == tl::Format8Bit ? 1 : 2;
        const std::uint64_t size = static_cast<std::uint64_t>(*width) *
                                   static_cast<std::uint64_t>(*height) * bytesPerPixel;
        const auto pixels = readAt(*pixelOffset, size);
        if (!pixels)
            return failed(TcacheFailure::Damaged);
        return TcacheLookup{TcacheFailure::None, convert(*width, *height, *format, *pixels)};
    }
    return failed(TcacheFailure::NotFound);
}

} // namespace

Rgba rgbaFromIndex(std::uint8_t index)
{
    static const std::array<std::uint8_t, 768> p = buildPalette();
    const std::size_t at = std::size_t{index} * 3;
    return {p[at + 2], p[at + 1], p[at], 255};
}

Rgba rgbaFromWord(std::uint16_t word)
{
    const auto r = static_cast<std::uint8_t>((word >> 11) * 255 / 31);
    const auto g = static_cast<std::uint8_t>(((word >> 5) & 63) * 255 / 63);
    const auto b = static_cast<std::uint8_t>((word & 31) * 255 / 31);
    const std::uint8_t a = (r == 0 && g == 0 && b == 0) ? 0 : 255;
    return {r, g, b, a};
}

TcacheLookup readTcacheTexture(const std::filesystem::path& path, std::string_view name)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return failed(TcacheFailure::CannotOpen);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return failed(TcacheFailure::CannotOpen);
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < 0)
        return failed(TcacheFailure::CannotOpen);
    const auto fileSize = static_cast<std::uint64_t>(end);
    const ReadAt readAt =
        [&file, fileSize](std::uint64_t offset,
                          std::uint64_t size) -> std::optional<std::vector<std::uint8_t>> {
        if (!inside(fileSize, offset, size))
            return std::nullopt;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        file.seekg(static_cast<std::streamoff>(offset));
        file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        if (!file)
            return std::nullopt;
        return bytes;
    };
    return findTexture(fileSize, readAt, name);
}

TcacheLookup readTcacheTexture(shipfile::Bytes image, std::string_view name)
{
    const ReadAt readAt = [image](std::uint64_t offset,
                                  std::uint64_t size) -> std::optional<std::vector<std::uint8_t>> {
        if (!inside(image.size(), offset, size))
            return std::nullopt;
        const auto first = image.begin() + static_cast<std::ptrdiff_t>(offset);
        return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(size));
    };
    return findTexture(image.size(), readAt, name);
}

shipfile::MessageText tcacheFailureMessage(TcacheFailure failure)
{
    switch (failure) {
    case TcacheFailure::None:
        return {};
    case TcacheFailure::CannotOpen:
        return msg::TcacheOpenFailed;
    case TcacheFailure::NotFound:
        return msg::TextureNotFound;
    case TcacheFailure::UnsupportedFormat:
        return msg::TextureFormat;
    case TcacheFailure::Damaged:
        return msg::TextureDamaged;
    }
    return {};
}

} // namespace gamedata
