// Any byte string as a name to look up and a texture cache image. The lookup must stay inside
// the image, and a texture it returns must be the first entry of that name, its pixels
// converted one by one from the bytes at the entry's pixel offset.
#include "fuzz/FuzzCheck.h"
#include "gamedata/Tcache.h"
#include "gamedata/TcacheLayout.h"
#include "shipfile/Bytes.h"
#include "shipfile/CaseInsensitive.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

namespace tl = gamedata::tcacheLayout;
using shipfile::Bytes;

// The directory entry a lookup of `name` must use: the first whole-named one in the image.
std::optional<Bytes> firstEntryNamed(Bytes image, std::string_view name)
{
    const auto count = shipfile::readI32(image, tl::EntryCount);
    if (!count || *count <= 0)
        return std::nullopt;
    for (std::size_t i = 0; i < static_cast<std::size_t>(*count); ++i) {
        const std::size_t at = tl::Directory + i * tl::EntrySize;
        if (at + tl::NameSize > image.size())
            return std::nullopt;
        const Bytes entry = image.subspan(at, std::min(tl::EntrySize, image.size() - at));
        if (shipfile::equalsIgnoringCase(shipfile::readString(entry, tl::Name, tl::NameSize), name))
            return entry;
    }
    return std::nullopt;
}

void checkTexture(Bytes image, std::string_view name, const gamedata::DecodedTexture& texture)
{
    const auto entry = firstEntryNamed(image, name);
    fuzz::check(entry.has_value(), "a texture is found only under its own name");
    fuzz::check(shipfile::readI32(*entry, tl::Width) == texture.width &&
                    shipfile::readI32(*entry, tl::Height) == texture.height &&
                    shipfile::readI32(*entry, tl::Format) == texture.format,
                "a texture has its entry's sizes and format");
    fuzz::check(texture.width > 0 && texture.height > 0 &&
                    std::int64_t{texture.width} * texture.height <= gamedata::MaxTexturePixels,
                "a texture's sizes are in range");
    const std::size_t pixels =
        static_cast<std::size_t>(texture.width) * static_cast<std::size_t>(texture.height);
    fuzz::check(texture.rgba.size() == pixels * 4, "four bytes per pixel");

    const std::size_t offset = *shipfile::readU32(*entry, tl::PixelOffset);
    const bool eightBit = texture.format == tl::Format8Bit;
    for (std::size_t i = 0; i < pixels; ++i) {
        const gamedata::Rgba expected =
            eightBit ? gamedata::rgbaFromIndex(image[offset + i])
                     : gamedata::rgbaFromWord(*shipfile::readU16(image, offset + 2 * i));
        fuzz::check(std::equal(expected.begin(), expected.end(),
                               texture.rgba.begin() + static_cast<std::ptrdiff_t>(4 * i)),
                    "every pixel converts from its bytes");
        fuzz::check(eightBit ? expected[3] == 255
                             : (expected[3] == 0) ==
                                   (expected[0] == 0 && expected[1] == 0 && expected[2] == 0),
                    "8-bit pixels are opaque, 16-bit black alone is transparent");
    }
}

void lookUp(Bytes image, std::string_view name)
{
    const gamedata::TcacheLookup lookup = gamedata::readTcacheTexture(image, name);
    if (lookup.failure == gamedata::TcacheFailure::None)
        checkTexture(image, name, lookup.texture);
    else
        fuzz::check(lookup.texture.rgba.empty(), "a failed lookup returns no pixels");
}

} // namespace

// Input: one byte giving the name's length (at most 20), the name, then the image. Every name
// of the image's first directory entries is looked up as well.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t nameLength = std::min(std::size_t{data[0]} % 21, size - 1);
    const std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
    const Bytes image(data + 1 + nameLength, size - 1 - nameLength);

    lookUp(image, name);
    for (std::size_t at = tl::Directory;
         at + tl::NameSize <= image.size() && at < 8 * tl::EntrySize; at += tl::EntrySize)
        lookUp(image, shipfile::readString(image.subspan(at), tl::Name, tl::NameSize));
    return 0;
}
