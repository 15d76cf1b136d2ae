#include "editing/Attachments.h"
#include "editing/BlockChain.h"
#include "editing/Components.h"
#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "tests/editing/LoadedShip.h"

#include <gtest/gtest.h>

using namespace editing;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;
namespace lay = shipfile::layout;
namespace messages = shipfile::messages;

namespace {

Component named(const std::string& name, int attachments)
{
    Component c;
    c.name = name;
    testsupport::addCuboid(c, {0, 0, 0}, {2, 2, 2});
    c.textures = {name + "_tex"};
    for (int i = 0; i < attachments; ++i)
        c.attachments.push_back(Attachment{i % 5});
    return c;
}

Ship threeComponents(std::uint16_t recordSize = 312)
{
    Ship ship;
    ship.componentRecordSize = recordSize;
    ship.components = {named("alpha", 1), named("beta", 2), named("gamma", 3)};
    ship.components[1].block14Count = 2;
    return ship;
}

Ship without(Ship ship, std::size_t index)
{
    ship.components.erase(ship.components.begin() + static_cast<std::ptrdiff_t>(index));
    return ship;
}

} // namespace

TEST(DeleteComponent, RemovesTheRecordAndExactlyItsSection)
{
    for (std::size_t index = 0; index < 3; ++index) {
        LoadedShip ship(threeComponents());
        EXPECT_TRUE(deleteComponent(*ship.file, static_cast<int>(index)));
        // What is left is the ship built without that component, byte for byte.
        EXPECT_EQ(ship.file->serialise(), testsupport::buildShip(without(threeComponents(), index)))
            << "deleting component " << index;
        EXPECT_TRUE(ship.sink.messages.empty());
        EXPECT_TRUE(pointersOnChain(*ship.file));
    }
}

TEST(DeleteComponent, TheOnlyComponentLeavesAnEmptyTable)
{
    Ship single;
    single.components = {named("solo", 1)};
    LoadedShip ship(single);
    EXPECT_TRUE(deleteComponent(*ship.file, 0));
    EXPECT_EQ(blockTypes(*ship.file), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(ship.file->componentBlock->count, 0u);
    EXPECT_EQ(ship.reloaded()->componentBlock->count, 0u);
}

TEST(DeleteComponent, ForgetsTheDeletedComponentsAttachmentBlock)
{
    LoadedShip ship(threeComponents());
    ASSERT_TRUE(ship.file->selectAttachmentBlock(1));
    EXPECT_TRUE(deleteComponent(*ship.file, 1));
    EXPECT_EQ(ship.file->attachmentBlock, nullptr);
    // The kept selection now names the old third component's block, which has three records.
    EXPECT_FALSE(copyAttachment(*ship.file, 1, 3));
    EXPECT_TRUE(copyAttachment(*ship.file, 1, 2));
}

TEST(DeleteComponent, ReducedComponentsBlockIsRefused)
{
    LoadedShip ship(threeComponents(200));
    const auto before = ship.file->serialise();
    EXPECT_FALSE(deleteComponent(*ship.file, 1));
    EXPECT_EQ(ship.file->serialise(), before);
    ASSERT_EQ(ship.sink.messages.size(), 1u);
    EXPECT_EQ(ship.sink.messages[0].text,
              "This ship uses a reduced version of Block1, no changes will be made to avoid "
              "possible problems!");
    EXPECT_TRUE(ship.sink.messages[0].ownedByMainWindow);
}

TEST(DeleteComponent, MissingSectionKeepsTheRecordToo)
{
    // Three records but only two sections: a badly built file.
    Ship ship = threeComponents();
    testsupport::BlockBuilder image;
    testsupport::appendShipBlocks(image, without(ship, 2));
    auto bytes = image.end().build();
    LoadedShip loaded(bytes);
    auto& table = *loaded.file->componentBlock;
    const auto extra = testsupport::componentRecord(ship.components[2]);
    table.appendRecord(extra);
    const auto before = loaded.file->serialise();

    EXPECT_FALSE(deleteComponent(*loaded.file, 2));
    EXPECT_EQ(loaded.sink.texts(), std::vector<std::string>{std::string(editing::messages::DeleteFailed.text)});
    EXPECT_EQ(loaded.file->serialise(), before);
    EXPECT_EQ(shipfile::componentName(*loaded.file, 2), "gamma");
}

TEST(DeleteComponent, UnmetNeedsDoNothing)
{
    LoadedShip ship(threeComponents());
    const auto before = ship.file->serialise();
    EXPECT_FALSE(deleteComponent(*ship.file, -1));
    EXPECT_FALSE(deleteComponent(*ship.file, 3));
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_TRUE(ship.sink.messages.empty());

    testsupport::RecordingSink sink;
    shipfile::ShipFile empty(sink);
    EXPECT_FALSE(deleteComponent(empty, 0));
    EXPECT_FALSE(changeShipClass(empty));
}

TEST(ChangeShipClass, StepsAndWraps)
{
    const std::pair<std::int8_t, std::int8_t> cases[] = {
        {0, 1}, {1, 2}, {2, 0}, {7, 0}, {-5, -4}, {127, -128}, {-1, 0}};
    for (const auto& [from, to] : cases) {
        Ship s;
        s.shipClass = from;
        s.components = {named("a", 0)};
        LoadedShip ship(s);
        EXPECT_EQ(changeShipClass(*ship.file), to) << int{from};
        EXPECT_EQ(shipfile::shipClass(*ship.reloaded()), to);
    }
    Ship s;
    s.shipClass = 0;
    LoadedShip ship(s);
    changeShipClass(*ship.file);
    EXPECT_EQ(shipfile::shipClassText(*shipfile::shipClass(*ship.file)), "Capship");
}

TEST(ComponentProperties, ReadsEveryField)
{
    Ship s = threeComponents();
    s.components[1].role = 3;
    s.components[1].hitPoints = -25;
    s.components[1].hasDebris = true;
    s.components[1].debrisNumber = 4;
    LoadedShip ship(s);
    const auto props = componentProperties(*ship.file, 1);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->name, "beta");
    EXPECT_EQ(props->role, 3);
    EXPECT_EQ(props->hitPoints, -25);
    EXPECT_EQ(props->hasDebris, true);
    EXPECT_EQ(props->debrisNumber, 4);
    EXPECT_FALSE(componentProperties(*ship.file, 3));
    EXPECT_FALSE(componentProperties(*ship.file, -1));

    // Any non-zero flag reads as debris.
    shipfile::writeU32(shipfile::componentRecord(*ship.file, 0), lay::component::DebrisFlag, 1);
    EXPECT_EQ(componentProperties(*ship.file, 0)->hasDebris, true);
}

TEST(ComponentProperties, NameWritesFiftyCharactersAndKeepsTheBytesAfterTheNul)
{
    LoadedShip ship(threeComponents());
    ASSERT_TRUE(setComponentName(*ship.file, 0, "abcdefgh"));
    ASSERT_TRUE(setComponentName(*ship.file, 0, "xyz"));
    const auto record = shipfile::componentRecord(*ship.file, 0);
    EXPECT_EQ(std::string(record.begin(), record.begin() + 9), std::string("xyz\0efgh\0", 9));
    EXPECT_EQ(shipfile::componentName(*ship.file, 0), "xyz");

    const std::string sixty(60, 'n');
    ASSERT_TRUE(setComponentName(*ship.file, 1, sixty));
    EXPECT_EQ(shipfile::componentName(*ship.file, 1), std::string(50, 'n'));
    EXPECT_EQ(record.size(), 312u);
    EXPECT_EQ(shipfile::componentName(*ship.file, 2), "gamma") << "the next record is untouched";
}

TEST(ComponentProperties, ChangeCyclesTheRole)
{
    Ship s = threeComponents();
    s.components[0].role = 3;
    s.components[1].role = 7;
    s.components[2].role = -2;
    LoadedShip ship(s);
    EXPECT_EQ(cycleComponentRole(*ship.file, 0), 0);
    EXPECT_EQ(cycleComponentRole(*ship.file, 0), 1);
    EXPECT_EQ(cycleComponentRole(*ship.file, 1), 0);
    EXPECT_EQ(cycleComponentRole(*ship.file, 2), -1);
    EXPECT_EQ(cycleComponentRole(*ship.file, 2), 0);
    EXPECT_EQ(componentProperties(*ship.file, 0)->role, 1);
    EXPECT_FALSE(cycleComponentRole(*ship.file, 5));
}

TEST(ComponentProperties, NumbersAndDebrisFlagAreStored)
{
    LoadedShip ship(threeComponents());
    EXPECT_TRUE(setComponentHitPoints(*ship.file, 2, -25));
    EXPECT_TRUE(setComponentDebrisNumber(*ship.file, 2, 12));
    EXPECT_TRUE(setComponentHasDebris(*ship.file, 2, true));
    auto saved = ship.reloaded();
    const auto record = shipfile::componentRecord(*saved, 2);
    EXPECT_EQ(shipfile::readI32(record, lay::component::HitPoints), -25);
    EXPECT_EQ(shipfile::readI32(record, lay::component::DebrisNumber), 12);
    EXPECT_EQ(shipfile::readU32(record, lay::component::DebrisFlag), 48u);
    EXPECT_TRUE(setComponentHasDebris(*ship.file, 2, false));
    EXPECT_EQ(componentProperties(*ship.file, 2)->hasDebris, false);
    EXPECT_EQ(shipfile::readU32(shipfile::componentRecord(*ship.file, 2),
                                lay::component::DebrisFlag),
              0u);
}

TEST(ComponentProperties, ReducedRecordsOnlyTakeTheFieldsThatFit)
{
    // 100-byte records hold the name and role but not hit points or debris.
    LoadedShip ship(threeComponents(100));
    const auto props = componentProperties(*ship.file, 0);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->name, "alpha");
    EXPECT_TRUE(props->role);
    EXPECT_FALSE(props->hitPoints);
    EXPECT_FALSE(props->hasDebris);
    EXPECT_FALSE(props->debrisNumber);

    const auto before = ship.file->serialise();
    EXPECT_FALSE(setComponentHitPoints(*ship.file, 0, 5));
    EXPECT_FALSE(setComponentHasDebris(*ship.file, 0, true));
    EXPECT_FALSE(setComponentDebrisNumber(*ship.file, 0, 5));
    EXPECT_EQ(ship.file->serialise(), before) << "no write lands in the next record";
    EXPECT_TRUE(cycleComponentRole(*ship.file, 0));

    // A 40-byte record takes a name cut to 39 characters.
    LoadedShip tiny(threeComponents(40));
    EXPECT_TRUE(setComponentName(*tiny.file, 0, std::string(50, 'q')));
    EXPECT_EQ(shipfile::componentName(*tiny.file, 0), std::string(39, 'q'));
    EXPECT_EQ(shipfile::componentName(*tiny.file, 1), "beta");
}

TEST(MoveComponentOrigin, AddsToTheOwnOriginInFullAndReducedTables)
{
    for (const std::uint16_t recordSize : {std::uint16_t{312}, std::uint16_t{100}}) {
        Ship s = threeComponents(recordSize);
        s.components[1].origin = {1, 2, 3};
        LoadedShip ship(s);
        const auto before = shipfile::componentRecord(*ship.file, 2);
        const std::vector<std::uint8_t> otherBefore(before.begin(), before.end());

        EXPECT_TRUE(moveComponentOrigin(*ship.file, 1, {0.5f, -2, 10}));
        EXPECT_TRUE(moveComponentOrigin(*ship.file, 1, {0.5f, 0, 0}));
        const auto reloaded = ship.reloaded();
        EXPECT_EQ(reloaded->componentBlock->componentOrigin(1), (shipfile::Vec3{2, 0, 13})) << recordSize;
        const auto after = shipfile::componentRecord(*ship.file, 2);
        EXPECT_TRUE(std::equal(after.begin(), after.end(), otherBefore.begin(), otherBefore.end()));
    }
}

TEST(MoveComponentOrigin, NoSuchComponentOrTooShortARecordChangesNothing)
{
    LoadedShip ship(threeComponents());
    const auto image = ship.file->serialise();
    EXPECT_FALSE(moveComponentOrigin(*ship.file, -1, {1, 1, 1}));
    EXPECT_FALSE(moveComponentOrigin(*ship.file, 3, {1, 1, 1}));
    EXPECT_EQ(ship.file->serialise(), image);

    LoadedShip reduced(threeComponents(72));
    const auto reducedImage = reduced.file->serialise();
    EXPECT_FALSE(moveComponentOrigin(*reduced.file, 0, {1, 1, 1}));
    EXPECT_EQ(reduced.file->serialise(), reducedImage);
}
