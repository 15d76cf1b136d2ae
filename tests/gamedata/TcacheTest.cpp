#include "gamedata/Tcache.h"

#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace gamedata {
namespace {

using testsupport::TcacheBuilder;
using testsupport::TcacheEntry;

TEST(TcachePixels, WordsWidenByIntegerArithmeticAndIndexesUseTheOpaquePalette)
{
    // 16 * 255 / 31 = 131.6 and 1 * 255 / 63 = 4.05: quotients are truncated. Black is the
    // transparent colour.
    const struct
    {
        std::uint16_t word;
        Rgba rgba;
    } words[] = {{0x0000, {0, 0, 0, 0}},         {0x0001, {0, 0, 8, 255}},
                 {0xFFFF, {255, 255, 255, 255}}, {0xF800, {255, 0, 0, 255}},
                 {0x07E0, {0, 255, 0, 255}},     {0x8020, {131, 4, 0, 255}}};
    for (const auto& w : words)
        EXPECT_EQ(rgbaFromWord(w.word), w.rgba) << w.word;

    // Each ramp's light and dark ends; steps between them are rounded from the straight line
    // (green step 15: 125 - 121 * 15 / 31 = 66.45, 190 - 186 * 15 / 31 = 100, 63.87), the grey
    // ramp from 255 * (255 - i) / 63.
    const struct
    {
        int index;
        Rgba rgba;
    } indexes[] = {
        {0, {125, 190, 120, 255}},   {15, {66, 100, 64, 255}},    {31, {4, 4, 4, 255}},
        {32, {238, 221, 193, 255}},  {63, {15, 10, 2, 255}},      {64, {234, 202, 201, 255}},
        {95, {10, 3, 3, 255}},       {96, {175, 193, 206, 255}},  {127, {5, 9, 12, 255}},
        {128, {207, 209, 209, 255}}, {159, {9, 10, 10, 255}},     {160, {210, 202, 194, 255}},
        {191, {12, 8, 4, 255}},      {192, {255, 255, 255, 255}}, {193, {251, 251, 251, 255}},
        {224, {125, 125, 125, 255}}, {254, {4, 4, 4, 255}},       {255, {0, 0, 0, 255}}};
    for (const auto& i : indexes)
        EXPECT_EQ(rgbaFromIndex(static_cast<std::uint8_t>(i.index)), i.rgba) << i.index;
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

TEST_F(TcacheFile, NamesMatchIgnoringCaseUpToTheirFullTwentyCharactersFirstEntryWinning)
{
    TcacheBuilder b;
    b.solid16("abcdefghijklmnopqrst", 1, 1, 0xFFFF); // fills the field, no NUL
    b.solid16("Hull", 1, 1, 0x001F);
    b.solid16("HULL", 1, 1, 0x07E0);
    EXPECT_EQ(lookup(b, "ABCDEFGHIJKLMNOPQRST").failure, TcacheFailure::None);
    EXPECT_EQ(lookup(b, "abcdefghijklmnopqrs").failure, TcacheFailure::NotFound);
    EXPECT_EQ(lookup(b, "abcdefghijklmnopqrstu").failure, TcacheFailure::NotFound);
    EXPECT_EQ(lookup(b, "hULL").texture.rgba, (std::vector<std::uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(lookup(b, "Hul").failure, TcacheFailure::NotFound);
    EXPECT_EQ(lookup(b, "").failure, TcacheFailure::NotFound);
}

TEST_F(TcacheFile, BadCountsFormatsAndEntriesFailWithoutReadingOutsideTheFile)
{
    const auto one = [](const TcacheEntry& e) { return TcacheBuilder().entry(e); };
    const auto plain = [] { return TcacheBuilder().solid16("a", 1, 1, 0xFFFF); };
    struct Case
    {
        TcacheBuilder cache;
        TcacheFailure failure;
    };
    std::vector<Case> cases = {
        // Pixels past the end of the file, in part or wholly.
        {one({"a", 4, 4, 2, std::vector<std::uint8_t>(31), std::nullopt}), TcacheFailure::Damaged},
        {one({"a", 1, 1, 1, {7}, 0xFFFFFFF0u}), TcacheFailure::Damaged},
        // The matching entry cut off after its name, or before its pixel offset.
        {plain().truncateTo(84 + 20), TcacheFailure::Damaged},
        {plain().truncateTo(84 + 100), TcacheFailure::Damaged},
        // A count beyond the file searches only what is there.
        {plain().claimCount(2000000000), TcacheFailure::None},
        {TcacheBuilder().truncateTo(6), TcacheFailure::NotFound},
    };
    for (const std::int32_t count : {0, -1, -2147483647 - 1})
        cases.push_back({plain().claimCount(count), TcacheFailure::NotFound});
    for (const std::int32_t format : {0, 3, 4, -1})
        cases.push_back({one({"a", 1, 1, format, {0, 0, 0, 0}, std::nullopt}),
                         TcacheFailure::UnsupportedFormat});
    // Sizes that are zero, negative or absurd: no allocation of gigabytes.
    for (const auto& [w, h] : std::initializer_list<std::pair<int, int>>{
             {0, 4}, {4, 0}, {-4, 4}, {4, -4}, {1 << 30, 1 << 30}, {65536, 1}, {8192, 8192}})
        cases.push_back({one({"a", w, h, 1, {1, 2, 3, 4}, std::nullopt}), TcacheFailure::Damaged});
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(lookup(cases[i].cache, "a").failure, cases[i].failure) << "case " << i;
}

TEST_F(TcacheFile, MissingFileCannotBeOpened)
{
    EXPECT_EQ(readTcacheTexture(dir / "absent.dat", "hull").failure, TcacheFailure::CannotOpen);
    EXPECT_EQ(readTcacheTexture(dir / "", "hull").failure, TcacheFailure::CannotOpen);
    EXPECT_EQ(tcacheFailureMessage(TcacheFailure::CannotOpen).text,
              "Error opening the TCACHE file! Textures will be unavailable!");
    EXPECT_EQ(tcacheFailureMessage(TcacheFailure::NotFound).text,
              "Texture not found on TCACHE file!");
    EXPECT_EQ(tcacheFailureMessage(TcacheFailure::UnsupportedFormat).text,
              "This version of Korvex can only handle 8 or 16 bit textures.");
    EXPECT_EQ(tcacheFailureMessage(TcacheFailure::Damaged).text,
              "This texture's entry in the TCACHE file is damaged! Textures will be unavailable!");
}

} // namespace
} // namespace gamedata
