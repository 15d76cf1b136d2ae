#include "viewer/Tcache.h"

#include "shipfile/Messages.h"
#include "tests/support/TcacheBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

using testsupport::TcacheBuilder;
using testsupport::TcacheEntry;

Rgba paletteColour(int index)
{
    return rgbaFromIndex(static_cast<std::uint8_t>(index));
}

TEST(TcachePixels, SixteenBitWordsWidenByIntegerArithmeticAndBlackIsTransparent)
{
    EXPECT_EQ(rgbaFromWord(0x0000), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(rgbaFromWord(0x0001), (Rgba{0, 0, 8, 255}));
    EXPECT_EQ(rgbaFromWord(0xFFFF), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(rgbaFromWord(0xF800), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(rgbaFromWord(0x07E0), (Rgba{0, 255, 0, 255}));
    // 16 * 255 / 31 = 131.6 and 1 * 255 / 63 = 4.05: quotients are truncated.
    EXPECT_EQ(rgbaFromWord(0x8020), (Rgba{131, 4, 0, 255}));
}

TEST(TcachePixels, EightBitIndexesUseTheBuiltInPaletteAndAreOpaque)
{
    EXPECT_EQ(paletteColour(255), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(paletteColour(192), (Rgba{255, 255, 255, 255}));
    // The ramp end points, red first.
    EXPECT_EQ(paletteColour(0), (Rgba{125, 190, 120, 255}));
    EXPECT_EQ(paletteColour(31), (Rgba{4, 4, 4, 255}));
    EXPECT_EQ(paletteColour(32), (Rgba{238, 221, 193, 255}));
    EXPECT_EQ(paletteColour(63), (Rgba{15, 10, 2, 255}));
    EXPECT_EQ(paletteColour(64), (Rgba{234, 202, 201, 255}));
    EXPECT_EQ(paletteColour(95), (Rgba{10, 3, 3, 255}));
    EXPECT_EQ(paletteColour(96), (Rgba{175, 193, 206, 255}));
    EXPECT_EQ(paletteColour(127), (Rgba{5, 9, 12, 255}));
    EXPECT_EQ(paletteColour(128), (Rgba{207, 209, 209, 255}));
    EXPECT_EQ(paletteColour(159), (Rgba{9, 10, 10, 255}));
    EXPECT_EQ(paletteColour(160), (Rgba{210, 202, 194, 255}));
    EXPECT_EQ(paletteColour(191), (Rgba{12, 8, 4, 255}));
    // The table itself is stored blue, green, red.
    EXPECT_EQ(defaultPalette()[0], 120);
    EXPECT_EQ(defaultPalette()[2], 125);
}

TEST(TcachePixels, PaletteRampsRunLinearlyFromLightToDark)
{
    // Grey: 255 * (255 - i) / 63 to the nearest integer.
    EXPECT_EQ(paletteColour(193), (Rgba{251, 251, 251, 255})); // 250.95
    EXPECT_EQ(paletteColour(224), (Rgba{125, 125, 125, 255})); // 125.48
    EXPECT_EQ(paletteColour(254), (Rgba{4, 4, 4, 255}));       // 4.05
    // Green, step 15 of 31: 125 - 121 * 15 / 31 = 66.45, 190 - 186 * 15 / 31 = 100.0,
    // 120 - 116 * 15 / 31 = 63.87.
    EXPECT_EQ(paletteColour(15), (Rgba{66, 100, 64, 255}));
    // Every colour ramp darkens step by step, evenly.
    for (int ramp = 0; ramp < 6; ++ramp)
        for (std::size_t ch = 0; ch < 3; ++ch) {
            const int first = paletteColour(ramp * 32)[ch];
            const int last = paletteColour(ramp * 32 + 31)[ch];
            for (int step = 1; step < 32; ++step) {
                const int v = paletteColour(ramp * 32 + step)[ch];
                EXPECT_LE(v, paletteColour(ramp * 32 + step - 1)[ch]);
                EXPECT_NEAR(v, first + (last - first) * step / 31.0, 0.5);
            }
        }
}

class TcacheFile : public ::testing::Test
{
protected:
    // Reads the file, and checks that the same image in memory reads the same.
    TcacheLookup lookup(const TcacheBuilder& builder, std::string_view name)
    {
        EXPECT_TRUE(builder.write(path));
        TcacheLookup fromFile = readTcacheTexture(path, name);
        const TcacheLookup fromMemory = readTcacheTexture(builder.build(), name);
        EXPECT_EQ(fromMemory.failure, fromFile.failure) << name;
        EXPECT_EQ(fromMemory.texture.width, fromFile.texture.width) << name;
        EXPECT_EQ(fromMemory.texture.height, fromFile.texture.height) << name;
        EXPECT_EQ(fromMemory.texture.rgba, fromFile.texture.rgba) << name;
        return fromFile;
    }

    testsupport::TempDir dir;
    std::filesystem::path path = dir / "tcachehw.dat";
};

TEST_F(TcacheFile, DecodesEightAndSixteenBitEntriesRowsInFileOrder)
{
    TcacheBuilder b;
    b.add8("ramp", 3, 2, {192, 255, 0, 31, 64, 200});
    b.add16("Glow", 2, 1, {0x0000, 0xF800});

    const TcacheLookup eight = lookup(b, "ramp");
    ASSERT_EQ(eight.failure, TcacheFailure::None);
    EXPECT_EQ(eight.texture.width, 3);
    EXPECT_EQ(eight.texture.height, 2);
    EXPECT_EQ(eight.texture.format, 1);
    ASSERT_EQ(eight.texture.rgba.size(), 24u);
    const std::vector<std::uint8_t> firstRow = {255, 255, 255, 255, 0,   0,
                                                0,   255, 125, 190, 120, 255};
    EXPECT_EQ(
        std::vector<std::uint8_t>(eight.texture.rgba.begin(), eight.texture.rgba.begin() + 12),
        firstRow);
    EXPECT_EQ(eight.texture.rgba[12], 4); // index 31, the dark end of the green ramp

    const TcacheLookup sixteen = lookup(b, "GLOW");
    ASSERT_EQ(sixteen.failure, TcacheFailure::None);
    EXPECT_EQ(sixteen.texture.rgba, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 0, 0, 255}));
}

TEST_F(TcacheFile, NamesMatchIgnoringCaseUpToTheirFullTwentyCharacters)
{
    TcacheBuilder b;
    b.solid16("abcdefghijklmnopqrst", 1, 1, 0xFFFF); // fills the field, no NUL
    b.solid16("Hull", 1, 1, 0x001F);
    EXPECT_EQ(lookup(b, "ABCDEFGHIJKLMNOPQRST").failure, TcacheFailure::None);
    EXPECT_EQ(lookup(b, "abcdefghijklmnopqrs").failure, TcacheFailure::NotFound);
    EXPECT_EQ(lookup(b, "abcdefghijklmnopqrstu").failure, TcacheFailure::NotFound);
    EXPECT_EQ(lookup(b, "hULL").texture.rgba, (std::vector<std::uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(lookup(b, "Hul").failure, TcacheFailure::NotFound);
    EXPECT_EQ(lookup(b, "").failure, TcacheFailure::NotFound);
}

TEST_F(TcacheFile, FirstOfTwoEntriesWithOneNameWins)
{
    TcacheBuilder b;
    b.solid16("twin", 1, 1, 0xF800);
    b.solid16("TWIN", 1, 1, 0x07E0);
    EXPECT_EQ(lookup(b, "twin").texture.rgba, (std::vector<std::uint8_t>{255, 0, 0, 255}));
}

TEST_F(TcacheFile, CountThatIsNotPositiveFindsNothing)
{
    for (const std::int32_t count : {0, -1, -2147483647 - 1}) {
        TcacheBuilder b;
        b.solid16("hull", 1, 1, 0xFFFF).claimCount(count);
        EXPECT_EQ(lookup(b, "hull").failure, TcacheFailure::NotFound) << count;
    }
}

TEST_F(TcacheFile, FormatsOtherThanOneAndTwoAreRefused)
{
    for (const std::int32_t format : {0, 3, 4, -1}) {
        TcacheBuilder b;
        b.entry({"odd", 1, 1, format, {0, 0, 0, 0}, std::nullopt});
        EXPECT_EQ(lookup(b, "odd").failure, TcacheFailure::UnsupportedFormat) << format;
    }
}

TEST_F(TcacheFile, DamagedEntriesFailWithoutReadingOutsideTheFile)
{
    const auto single = [](TcacheEntry e) {
        TcacheBuilder b;
        b.entry(std::move(e));
        return b;
    };
    // Pixels past the end of the file, in part or wholly.
    EXPECT_EQ(
        lookup(single({"a", 4, 4, 2, std::vector<std::uint8_t>(31), std::nullopt}), "a").failure,
        TcacheFailure::Damaged);
    EXPECT_EQ(lookup(single({"a", 1, 1, 1, {7}, 0xFFFFFFF0u}), "a").failure,
              TcacheFailure::Damaged);
    // Sizes that are zero, negative or absurd: no allocation of gigabytes.
    const std::initializer_list<std::pair<int, int>> badSizes = {
        {0, 4}, {4, 0}, {-4, 4}, {4, -4}, {1 << 30, 1 << 30}, {65536, 1}, {8192, 8192}};
    for (const auto& [w, h] : badSizes) {
        EXPECT_EQ(lookup(single({"a", w, h, 1, {1, 2, 3, 4}, std::nullopt}), "a").failure,
                  TcacheFailure::Damaged)
            << w << " x " << h;
    }
    // The matching entry is cut off before its pixel offset.
    TcacheBuilder cut;
    cut.solid16("a", 1, 1, 0xFFFF).truncateTo(84 + 100);
    EXPECT_EQ(lookup(cut, "a").failure, TcacheFailure::Damaged);
}

TEST_F(TcacheFile, CountBeyondTheFileOnlySearchesWhatIsThere)
{
    TcacheBuilder b;
    b.solid16("first", 1, 1, 0xFFFF).claimCount(2000000000);
    EXPECT_EQ(lookup(b, "first").failure, TcacheFailure::None);
    EXPECT_EQ(lookup(b, "other").failure, TcacheFailure::NotFound);

    TcacheBuilder tiny;
    tiny.truncateTo(6);
    EXPECT_EQ(lookup(tiny, "first").failure, TcacheFailure::NotFound);
}

TEST_F(TcacheFile, MissingFileCannotBeOpened)
{
    EXPECT_EQ(readTcacheTexture(dir / "absent.dat", "hull").failure, TcacheFailure::CannotOpen);
    EXPECT_EQ(readTcacheTexture(dir / "", "hull").failure, TcacheFailure::CannotOpen);
    EXPECT_EQ(tcacheFailureText(TcacheFailure::CannotOpen),
              "Error opening the TCACHE file! Textures will be unavailable!");
    EXPECT_EQ(tcacheFailureText(TcacheFailure::NotFound), "Texture not found on TCACHE file!");
    EXPECT_EQ(tcacheFailureText(TcacheFailure::UnsupportedFormat),
              "This version of Korvex can only handle 8 or 16 bit textures.");
}

} // namespace
} // namespace viewer
