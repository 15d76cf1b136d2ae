// Any byte string as a name to look up and a texture cache image. The lookup must stay inside
// the image, and a texture it returns must be the first entry of that name, its pixels
// converted one by one from the bytes at the entry's pixel offset. The listing holds every
// entry the image holds; each readable one extracts the same way; a write that succeeds
// leaves a cache that lists whole, with every other entry's pixels as they were.
#include "fuzz/FuzzCheck.h"
#include "gamedata/Tcache.h"
#include "gamedata/TcacheLayout.h"
#include "gamedata/TcacheWriter.h"
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

void checkTexture(Bytes image, std::optional<Bytes> entry, const gamedata::DecodedTexture& texture)
{
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
        checkTexture(image, firstEntryNamed(image, name), lookup.texture);
    else
        fuzz::check(lookup.texture.rgba.empty(), "a failed lookup returns no pixels");
}

void listAndExtract(Bytes image)
{
    const gamedata::TcacheListing listing = gamedata::listTcache(image);
    fuzz::check(listing.entries.size() <= image.size() / tl::EntrySize + 1,
                "the listing holds no more entries than the image");
    for (const gamedata::TcacheEntryInfo& e : listing.entries) {
        const gamedata::TcacheLookup texture = gamedata::readTcacheEntry(image, e);
        fuzz::check((texture.failure == gamedata::TcacheFailure::None) == !e.damaged(),
                    "every entry the listing calls readable extracts");
        if (!e.damaged())
            checkTexture(
                image,
                image.subspan(tl::Directory + tl::EntrySize * static_cast<std::size_t>(e.index)),
                texture.texture);
    }
}

// Replaces the first entry's picture with a 2 x 1 one, or adds one, in both formats.
void write(Bytes image, const gamedata::TcacheListing& before, gamedata::TextureChange change)
{
    const gamedata::TcacheEdit edit = gamedata::changeTexture(image, change);
    fuzz::check(edit.ok || edit.image.empty(), "a refused write gives no image");
    if (!edit.ok)
        return;
    fuzz::check(before.writable(), "only a whole cache is written");
    const gamedata::TcacheListing after = gamedata::listTcache(edit.image);
    fuzz::check(after.writable(), "a written cache lists whole");
    for (const gamedata::TcacheEntryInfo& e : before.entries)
        if (e.index != edit.index)
            fuzz::check(gamedata::readTcacheEntry(image, e).texture.rgba ==
                            gamedata::readTcacheEntry(
                                edit.image, after.entries.at(static_cast<std::size_t>(e.index)))
                                .texture.rgba,
                        "every other entry keeps its pixels");
}

void writeBoth(Bytes image)
{
    const gamedata::TcacheListing before = gamedata::listTcache(image);
    const gamedata::RgbaPicture picture{2, 1, {0, 0, 0, 255, 200, 100, 50, 100}};
    using Kind = gamedata::TextureChange::Kind;
    if (!before.entries.empty())
        write(image, before, {Kind::Replace, before.entries.front().name, picture, 16});
    write(image, before, {Kind::Add, "fuzz8", picture, gamedata::Bits8});
    write(image, before, {Kind::Add, "fuzz16", picture, gamedata::Bits16});
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
    listAndExtract(image);
    writeBoth(image);
    return 0;
}
