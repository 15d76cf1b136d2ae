#include "shipfile/Catalogue.h"

#include "shipfile/ShipFile.h"
#include "tests/shipfile/ShipFixture.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>

using namespace shipfile;
using namespace testsupport;

// The 168 bytes of a new attachment of each kind, as the game expects them: note the negative
// zeros (00000080) the matrices hold.
TEST(AttachmentTemplates, EveryByteOfEachKind)
{
    const fixture::Record kinds[] = {
        {{16, "0000803f"},
         {32, "0000803f"},
         {48, "0000803f"},
         {56, "05000000"},
         {60, "08000000"},
         {64, "06000000"},
         {72, "0000c842 00004842 0000c8c3"},
         {100, "df010000"},
         {116, "00007a44 0000803f"}},
        {{0, "01000000"},
         {16, "b8d53b3f deef2d3f"},
         {28, "deef2dbf b8d53b3f 00000080 00000080"},
         {48, "0000803f 02000000 02000000"},
         {72, "00000243 00008242 000002c4"},
         {116, "99d33b3f 27f22d3f"}},
        {{0, "02000000"},
         {16, "0000803f 00000080"},
         {32, "0000803f 00000080"},
         {48, "0000803f 01000000"},
         {72, "0000f042 00007042 0000dcc3"}},
        {{0, "03000000"},
         {16, "9a3c5e3f f423fe3e"},
         {28, "f423febe 9a3c5e3f 00000080 00000080"},
         {48, "0000803f"},
         {72, "0000c842 00004842 0000c8c3"},
         {100, "04000000"},
         {116, "00007a44 0000803f"}},
        {{0, "04000000"},
         {16, "0000803f 00000080"},
         {32, "0000803f 00000080"},
         {48, "0000803f 03000000"},
         {72, "00004042 00004042"},
         {84, "64000000 dc050000"},
         {116, "00001644 0000803f"}},
    };
    for (int kind = 0; kind < 5; ++kind) {
        const Bytes bytes = attachmentTemplate(static_cast<layout::AttachmentKind>(kind));
        EXPECT_EQ(fixture::ByteVector(bytes.begin(), bytes.end()),
                  fixture::recordBytes(168, kinds[kind]))
            << "kind " << kind;
    }
}

TEST(DisplayTexts, ShipClassRoleAndGunModels)
{
    EXPECT_EQ(shipClassText(0), "Fighter");
    EXPECT_EQ(shipClassText(1), "Capship");
    EXPECT_EQ(shipClassText(2), "Fighter + Cloak");
    EXPECT_EQ(shipClassText(-1), "[Value = -1]");
    EXPECT_EQ(shipClassText(127), "[Value = 127]");

    EXPECT_EQ(roleText(3), "Fighter turret");
    EXPECT_EQ(roleText(-2), "[Value = -2]");
    EXPECT_EQ(roleText(300), "[Value = 44]") << "lowest byte of 300 is 0x2C";
    EXPECT_EQ(roleText(200), "[Value = -56]") << "lowest byte 0xC8 as signed";

    EXPECT_EQ(gunModelName(0), "");
    EXPECT_FALSE(gunModelName(15).empty());
    EXPECT_FALSE(gunModelName(33).empty());
    EXPECT_EQ(gunModelName(34), "");
    EXPECT_EQ(gunModelName(-1), "");
}

TEST(ComponentNumbering, RecordsSectionsAndShipClass)
{
    Ship ship = sampleShip();
    ship.shipClass = -1;
    RecordingSink sink;
    auto file = ShipFile::fromBytes(buildShip(ship), "x", sink);
    EXPECT_EQ(componentName(*file, 2), "");
    EXPECT_TRUE(componentRecord(*file, -1).empty());
    EXPECT_EQ(shipClass(*file), std::int8_t{-1});
    ASSERT_TRUE(setShipClass(*file, 2));
    EXPECT_EQ(shipClass(*file), std::int8_t{2});

    const ShipBlock* second = sectionStart(*file, 1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(sectionEnd(sectionStart(*file, 0)), second);
    EXPECT_EQ(sectionEnd(second), nullptr);
    EXPECT_EQ(sectionStart(*file, 2), nullptr);
    EXPECT_EQ(boxBlockOf(*file, 1)->count, 0u);

    // A header record too short for the class byte.
    auto tiny = ShipFile::fromBytes(BlockBuilder{}.block(0, 8, 1).end().build(), "x", sink);
    EXPECT_FALSE(shipClass(*tiny));
    EXPECT_FALSE(setShipClass(*tiny, 1));
}
