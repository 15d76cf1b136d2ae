#include "gamedata/TcacheWriter.h"

#include "gamedata/Png.h"
#include "gamedata/Tcache.h"
#include "gamedata/TcacheLayout.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace gamedata {
namespace {

namespace fs = std::filesystem;
namespace tl = tcacheLayout;
using testsupport::TcacheBuilder;
using testsupport::TcacheEntry;

// Three entries whose uninterpreted bytes differ, so a copy from the wrong one shows.
TcacheBuilder threeEntries()
{
    TcacheBuilder b;
    b.entry({"Alpha", 2, 2, 1, {0, 31, 192, 255}, std::nullopt, 0x11});
    b.entry({"beta", 3, 1, 2, {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF}, std::nullopt, 0x22});
    b.entry({"gamma", 1, 1, 2, {0x20, 0x00}, std::nullopt, 0x33});
    return b;
}

RgbaPicture picture(std::int32_t width, std::int32_t height, std::uint8_t seed)
{
    RgbaPicture p{width, height, {}};
    for (std::int32_t i = 0; i < width * height; ++i)
        p.rgba.insert(p.rgba.end(), {static_cast<std::uint8_t>(seed * i + 40),
                                     static_cast<std::uint8_t>(200 - i), seed, 255});
    return p;
}

// The entry as `tcache extract` writes it, read back as `tcache replace` reads it.
RgbaPicture extracted(shipfile::Bytes cache, std::string_view name)
{
    const DecodedTexture texture = readTcacheEntry(cache, *listTcache(cache).find(name)).texture;
    const PngRead png = decodePng(encodePng(texture.width, texture.height, texture.rgba));
    EXPECT_EQ(png.failure, PngFailure::None);
    return png.picture;
}

shipfile::Bytes entryAt(shipfile::Bytes cache, std::int32_t index)
{
    return cache.subspan(tl::Directory + tl::EntrySize * static_cast<std::size_t>(index),
                         tl::EntrySize);
}

// Replace and add in both formats: the view's reader sees the new picture, every other entry
// keeps its pixels and its directory bytes but for the offset, and a picture that goes out as
// PNG and comes back unchanged leaves the cache byte for byte as it was.
TEST(TcacheWriter, RoundTripsInBothFormats)
{
    const std::vector<std::uint8_t> cache = threeEntries().build();
    const struct Case
    {
        TextureChange::Kind kind;
        const char* name;
        int bits;
        RgbaPicture picture;
        std::int32_t format;
        std::uint8_t copiedFiller;
    } cases[] = {
        {TextureChange::Kind::Replace, "ALPHA", Bits16, picture(2, 2, 9), 1, 0x11},
        {TextureChange::Kind::Replace, "alpha", Bits16, picture(5, 3, 70), 1, 0x11},
        {TextureChange::Kind::Replace, "Beta", Bits8, picture(3, 1, 3), 2, 0x22},
        {TextureChange::Kind::Replace, "beta", Bits8, picture(1, 7, 130), 2, 0x22},
        {TextureChange::Kind::Add, "delta", Bits16, picture(4, 4, 5), 2, 0x22},
        {TextureChange::Kind::Add, "Epsilon_8", Bits8, picture(3, 2, 77), 1, 0x11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TcacheEdit edit = changeTexture(cache, {c.kind, c.name, c.picture, c.bits});
        ASSERT_TRUE(edit.ok) << edit.error;
        const TcacheListing before = listTcache(cache);
        const TcacheListing after = listTcache(edit.image);
        ASSERT_TRUE(after.writable());
        ASSERT_EQ(after.entries.size(),
                  before.entries.size() + (c.kind == TextureChange::Kind::Add));

        const TcacheLookup view = readTcacheTexture(edit.image, c.name);
        ASSERT_EQ(view.failure, TcacheFailure::None);
        EXPECT_EQ(view.texture.format, c.format);
        ASSERT_EQ(view.texture.width, c.picture.width);
        ASSERT_EQ(view.texture.rgba.size(), c.picture.rgba.size());
        for (std::size_t i = 0; i < c.picture.rgba.size(); ++i) {
            const int expected =
                c.format == 2 ? c.picture.rgba[i]
                              : rgbaFromIndex(indexFromRgba(
                                    {c.picture.rgba[i - i % 4], c.picture.rgba[i - i % 4 + 1],
                                     c.picture.rgba[i - i % 4 + 2], 255}))[i % 4];
            EXPECT_NEAR(view.texture.rgba[i], expected, c.format == 2 ? 8 : 0) << i;
        }

        for (const TcacheEntryInfo& old : before.entries) {
            const TcacheEntryInfo& now = after.entries[static_cast<std::size_t>(old.index)];
            if (now.index == edit.index)
                continue;
            EXPECT_EQ(readTcacheEntry(edit.image, now).texture.rgba,
                      readTcacheEntry(cache, old).texture.rgba);
            std::vector<std::uint8_t> oldEntry(entryAt(cache, old.index).begin(),
                                               entryAt(cache, old.index).end());
            std::vector<std::uint8_t> newEntry(entryAt(edit.image, now.index).begin(),
                                               entryAt(edit.image, now.index).end());
            shipfile::writeU32(oldEntry, tl::PixelOffset, 0);
            shipfile::writeU32(newEntry, tl::PixelOffset, 0);
            EXPECT_EQ(newEntry, oldEntry);
        }
        if (c.kind == TextureChange::Kind::Add) {
            // Every old entry moved by the grown directory; the new one copied its bytes.
            for (const TcacheEntryInfo& old : before.entries)
                EXPECT_EQ(after.entries[static_cast<std::size_t>(old.index)].offset,
                          old.offset + 240);
            EXPECT_EQ(entryAt(edit.image, edit.index)[100], c.copiedFiller);
            EXPECT_EQ(entryAt(edit.image, edit.index)[tl::NameSize - 1], 0);
            EXPECT_FALSE(edit.notes.empty());
        }

        // Out as PNG and back unchanged: the same bytes.
        const TcacheEdit back = changeTexture(edit.image, {TextureChange::Kind::Replace, c.name,
                                                           extracted(edit.image, c.name), Bits16});
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.image, edit.image);
    }
    // The unchanged cache out and back, too: palette indexes that share a colour keep theirs.
    const TcacheEdit same = changeTexture(
        cache, {TextureChange::Kind::Replace, "alpha", extracted(cache, "alpha"), Bits16});
    EXPECT_EQ(same.image, cache);
}

TEST(TcacheWriter, RefusesBadNamesAndDamagedCachesWithTheirReason)
{
    const std::vector<std::uint8_t> good = threeEntries().build();
    const auto one = [](const TcacheEntry& e) { return TcacheBuilder().entry(e).build(); };
    const struct Case
    {
        std::vector<std::uint8_t> cache;
        TextureChange::Kind kind;
        std::string name;
        const char* reason;
    } cases[] = {
        {good, TextureChange::Kind::Add, "BETA", "already holds a texture named \"BETA\""},
        {good, TextureChange::Kind::Replace, "zeta", "holds no texture named \"zeta\""},
        {good, TextureChange::Kind::Add, "", "cannot name a texture"},
        {good, TextureChange::Kind::Add, "abcdefghijklmnopqrstu", "cannot name a texture"},
        {good, TextureChange::Kind::Add, "space name", "cannot name a texture"},
        {good, TextureChange::Kind::Add, "caf\xC3\xA9", "cannot name a texture"},
        {threeEntries().claimCount(9).build(), TextureChange::Kind::Add, "new", "claims 9 entries"},
        {threeEntries().claimCount(-1).build(), TextureChange::Kind::Add, "new", "damaged"},
        {TcacheBuilder().truncateTo(40).build(), TextureChange::Kind::Add, "new", "shorter than"},
        {one({"a", 4, 4, 2, std::vector<std::uint8_t>(31), std::nullopt}), TextureChange::Kind::Add,
         "new", "entry 0 points outside"},
        {one({"a", 1, 1, 1, {7}, 0xFFFFFFF0u}), TextureChange::Kind::Replace, "a",
         "entry 0 points"},
        {one({"a", 1, 1, 3, {7}, std::nullopt}), TextureChange::Kind::Add, "new", "unknown format"},
        {one({"a", 1, 1, 1, {7}, 8u}), TextureChange::Kind::Add, "new", "inside the header"},
    };
    for (const Case& c : cases) {
        const TcacheEdit edit = changeTexture(c.cache, {c.kind, c.name, picture(1, 1, 1), Bits16});
        EXPECT_FALSE(edit.ok) << c.name;
        EXPECT_NE(edit.error.find(c.reason), std::string::npos) << edit.error;
        EXPECT_TRUE(edit.image.empty());
    }

    // A name that fills its 20 bytes without a NUL is a whole name, not damage.
    const std::vector<std::uint8_t> full =
        one({"abcdefghijklmnopqrst", 1, 1, 2, {1, 0}, std::nullopt});
    ASSERT_EQ(listTcache(full).entries.at(0).name, "abcdefghijklmnopqrst");
    EXPECT_TRUE(changeTexture(full, {TextureChange::Kind::Replace, "ABCDEFGHIJKLMNOPQRST",
                                     picture(2, 2, 1), Bits16})
                    .ok);
    // Empty pictures never reach the cache.
    EXPECT_FALSE(changeTexture(good, {TextureChange::Kind::Add, "new", RgbaPicture{}, Bits16}).ok);
}

// Written as ship saves are: the old cache kept once as .bak, links followed, a read-only
// cache refused with nothing changed.
TEST(TcacheWriter, WritesTheFileSafelyAndKeepsOneBackup)
{
    testsupport::TempDir dir;
    const fs::path real = dir / "game/tcachehw.dat";
    fs::create_directories(real.parent_path());
    ASSERT_TRUE(threeEntries().write(real));
    const fs::path link = dir / "tcachehw.dat";
    fs::create_symlink(real, link);
    const std::vector<std::uint8_t> original = testsupport::readBytes(real);

    const TcacheEdit first =
        changeTextureFile(link, {TextureChange::Kind::Add, "one", picture(2, 2, 1), Bits16});
    ASSERT_TRUE(first.ok) << first.error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(testsupport::readBytes(real), first.image);
    EXPECT_EQ(testsupport::readBytes(dir / "game/tcachehw.dat.bak"), original);
    EXPECT_FALSE(fs::exists(dir / "tcachehw.dat.bak"));

    const TcacheEdit second =
        changeTextureFile(link, {TextureChange::Kind::Add, "two", picture(1, 1, 1), Bits8});
    ASSERT_TRUE(second.ok) << second.error;
    EXPECT_EQ(testsupport::readBytes(dir / "game/tcachehw.dat.bak"), original);
    EXPECT_EQ(listTcache(real).entries.size(), 5u);

    fs::remove(dir / "game/tcachehw.dat.bak");
    ::chmod(real.c_str(), 0444);
    const TcacheEdit refusedEdit =
        changeTextureFile(real, {TextureChange::Kind::Add, "three", picture(1, 1, 1), Bits16});
    EXPECT_FALSE(refusedEdit.ok);
    EXPECT_NE(refusedEdit.error.find("read-only"), std::string::npos);
    EXPECT_EQ(testsupport::readBytes(real), second.image);
    EXPECT_FALSE(fs::exists(dir / "game/tcachehw.dat.bak"));
    EXPECT_FALSE(changeTextureFile(dir / "missing.dat",
                                   {TextureChange::Kind::Add, "x", picture(1, 1, 1), Bits16})
                     .ok);
}

TEST(TexturePixels, SixteenAndEightBitConversionsAtTheirEdges)
{
    const struct
    {
        Rgba rgba;
        std::uint16_t word;
    } words[] = {
        {{0, 0, 0, 127}, 0x0000},       {{255, 255, 255, 127}, 0x0000}, // alpha below 128
        {{0, 0, 8, 128}, 0x0001},       {{0, 0, 0, 255}, 0x0020},       // black stays visible
        {{4, 0, 0, 255}, 0x0800},       {{0, 0, 4, 255}, 0x0001},       {{3, 0, 4, 255}, 0x0001},
        {{255, 255, 255, 255}, 0xFFFF}, {{255, 0, 0, 255}, 0xF800},     {{131, 4, 0, 255}, 0x8020},
        {{0, 0, 5, 255}, 0x0001},
    };
    for (const auto& w : words)
        EXPECT_EQ(wordFromRgba(w.rgba), w.word) << int(w.rgba[0]) << " " << int(w.rgba[2]);
    // Every visible word comes back as itself.
    for (std::uint32_t w = 1; w <= 0xFFFF; ++w)
        ASSERT_EQ(wordFromRgba(rgbaFromWord(static_cast<std::uint16_t>(w))), w);

    EXPECT_EQ(indexFromRgba({255, 255, 255, 255}), 192);
    EXPECT_EQ(indexFromRgba({0, 0, 0, 0}), 255);
    EXPECT_EQ(indexFromRgba({125, 190, 120, 255}), 0);
    EXPECT_EQ(indexFromRgba({12, 8, 4, 255}), 191);
    for (int i = 0; i < 256; ++i) {
        const Rgba colour = rgbaFromIndex(static_cast<std::uint8_t>(i));
        EXPECT_EQ(rgbaFromIndex(indexFromRgba(colour)), colour) << i;
    }
}

TEST(Png, RefusesWhatIsNotAReadablePngOfATexturesSize)
{
    std::vector<std::uint8_t> png = encodePng(2, 1, {1, 2, 3, 4, 5, 6, 7, 8});
    const PngRead read = decodePng(png);
    ASSERT_EQ(read.failure, PngFailure::None);
    EXPECT_EQ(read.picture.rgba, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

    EXPECT_EQ(decodePng({}).failure, PngFailure::NotPng);
    EXPECT_EQ(decodePng(std::vector<std::uint8_t>(png.begin(), png.begin() + 30)).failure,
              PngFailure::NotPng);
    std::vector<std::uint8_t> bmp = png;
    bmp[1] = 'X';
    EXPECT_EQ(decodePng(bmp).failure, PngFailure::NotPng);
    shipfile::writeU32(png, 16, 0x28230000); // IHDR width 9000, big-endian
    EXPECT_EQ(decodePng(png).failure, PngFailure::TooLarge);
}

} // namespace
} // namespace gamedata
