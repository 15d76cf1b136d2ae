#include "shipfile/Catalogue.h"

#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipBuilder.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>

using namespace shipfile;
using namespace testsupport;

namespace {
std::uint32_t bitsAt(Bytes record, std::size_t offset)
{
    return *readU32(record, offset);
}
} // namespace

TEST(AttachmentTemplates, BitExactFieldsAndSignedZeros)
{
    const Bytes gunObject = attachmentTemplate(layout::AttachmentKind::GunObject);
    ASSERT_EQ(gunObject.size(), 168u);
    EXPECT_EQ(bitsAt(gunObject, 16), 0x3F3BD5B8u) << "0.733729839";
    EXPECT_EQ(bitsAt(gunObject, 36), 0x80000000u) << "-0.0 keeps its sign bit";
    EXPECT_EQ(bitsAt(gunObject, 40), 0x80000000u);
    EXPECT_EQ(readI32(gunObject, 52), 2);
    EXPECT_EQ(readF32(gunObject, 80), -520.0f);

    const Bytes mount = attachmentTemplate(layout::AttachmentKind::MissileMount);
    EXPECT_EQ(readI32(mount, 0), 0);
    EXPECT_EQ(readI32(mount, 100), 479);
    EXPECT_EQ(readI32(mount, 64), 6);
    EXPECT_EQ(bitsAt(mount, 20), 0u) << "+0.0 where the template lists nothing";

    const Bytes gun = attachmentTemplate(layout::AttachmentKind::Gun);
    EXPECT_EQ(readF32(gun, 20), 0.496368051f);
    EXPECT_EQ(readI32(gun, 100), 4);

    const Bytes flame = attachmentTemplate(layout::AttachmentKind::EngineFlame);
    EXPECT_EQ(bitsAt(flame, 20), 0x80000000u);
    EXPECT_EQ(readI32(flame, 52), 1);

    const Bytes light = attachmentTemplate(layout::AttachmentKind::BlinkingLight);
    EXPECT_EQ(readI32(light, 88), 1500);
    EXPECT_EQ(readF32(light, 116), 600.0f);
    // Bytes past the listed fields are zero.
    EXPECT_EQ(std::count(light.begin() + 124, light.end(), 0), 168 - 124);
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
    EXPECT_EQ(componentCount(*file), 2);
    EXPECT_EQ(componentName(*file, 1), "Turret");
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
