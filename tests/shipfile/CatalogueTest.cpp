#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"

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

    // A header record too short for the class byte.
    auto tiny = ShipFile::fromBytes(BlockBuilder{}.block(0, 8, 1).end().build(), "x", sink);
    EXPECT_FALSE(shipClass(*tiny));
    EXPECT_FALSE(setShipClass(*tiny, 1));
}

TEST(ComponentParts, OneRulePerPart)
{
    Ship ship = sampleShip();
    Component third;
    third.name = "Third";
    third.withBoxBlock = false;
    third.withAttachmentBlock = false;
    addCuboid(third, {0, 0, 0}, {2, 2, 2}, 0);
    ship.components.push_back(third);
    ship.components[1].withFaceBlock = false;
    RecordingSink sink;
    auto file = ShipFile::fromBytes(buildShip(ship), "x", sink);

    const std::vector<ComponentParts> all = allComponentParts(*file);
    ASSERT_EQ(all.size(), 3u);
    const ComponentParts& hull = all[0];
    EXPECT_EQ(hull.section, nthBlockOfType(*file, 2, 0));
    EXPECT_EQ(hull.sectionEnd, nthBlockOfType(*file, 2, 1));
    EXPECT_EQ(hull.attachments->count(), 5u);
    EXPECT_EQ(hull.boxes->count(), 1u);
    EXPECT_EQ(hull.faces->count(), 24u);
    EXPECT_EQ(hull.vertexCount, 16u);
    EXPECT_EQ(hull.textureNames->count(), 2u);
    EXPECT_EQ(readString(hull.record, 0), "Hull");

    // Without a face block of the turret's own, the search runs on to the next component's.
    const ComponentParts& turret = all[1];
    EXPECT_EQ(turret.attachments->count(), 1u);
    EXPECT_EQ(turret.origin, (Vec3{0, 60, 50}));
    EXPECT_TRUE(turret.inSection(turret.vertices));
    EXPECT_EQ(turret.faces, all[2].faces);
    EXPECT_FALSE(turret.inSection(turret.faces));
    EXPECT_EQ(turret.boxes->count(), 0u);

    // The third lacks a type-9 block, so its geometry is searched from its own section start;
    // it lacks a box block, so it has no box: not the one before it.
    const ComponentParts& last = all[2];
    EXPECT_EQ(last.attachments, nullptr);
    EXPECT_TRUE(last.inSection(last.vertices));
    EXPECT_EQ(last.vertexCount, 8u);
    EXPECT_EQ(last.boxes, nullptr);
    EXPECT_EQ(last.sectionEnd, nullptr);

    // A single lookup gives what the walk over all gives; no index, no parts.
    const ComponentParts one = componentParts(*file, 1);
    EXPECT_EQ(one.vertices, turret.vertices);
    EXPECT_EQ(one.boxes, turret.boxes);
    EXPECT_EQ(componentParts(*file, -1).section, nullptr);
    const ComponentParts past = componentParts(*file, 3);
    EXPECT_TRUE(past.record.empty());
    EXPECT_EQ(past.section, nullptr);
    EXPECT_TRUE(sink.messages.empty()) << "lookups show nothing";
}
