#include "editing/Components.h"

#include "editing/Attachments.h"
#include "editing/BlockChain.h"
#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "tests/support/LoadedShip.h"

#include <gtest/gtest.h>

using namespace editing;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;

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
    auto& table = *loaded.file->componentBlock();
    const auto extra = testsupport::componentRecord(ship.components[2]);
    table.appendRecord(extra);
    const auto before = loaded.file->serialise();

    EXPECT_FALSE(deleteComponent(*loaded.file, 2));
    EXPECT_EQ(loaded.sink.texts(),
              std::vector<std::string>{std::string(editing::messages::DeleteFailed.text)});
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
    const std::pair<std::int8_t, std::int8_t> cases[] = {{0, 1},   {1, 2},      {2, 0}, {7, 0},
                                                         {-5, -4}, {127, -128}, {-1, 0}};
    for (const auto& [from, to] : cases) {
        Ship s;
        s.shipClass = from;
        LoadedShip ship(s);
        EXPECT_EQ(changeShipClass(*ship.file), to) << int{from};
        EXPECT_EQ(shipfile::shipClass(*ship.file), to);
    }
}

TEST(ComponentProperties, RoleCyclesThroughTheFourAndOddValuesStepOn)
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
    EXPECT_FALSE(componentProperties(*ship.file, 3));
    EXPECT_FALSE(componentProperties(*ship.file, -1));
}

TEST(ComponentProperties, ReducedRecordsOnlyTakeTheFieldsThatFit)
{
    // 100-byte records hold the name, role and origin but not hit points or debris.
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
    EXPECT_FALSE(moveComponentOrigin(*ship.file, -1, {1, 1, 1}));
    EXPECT_FALSE(moveComponentOrigin(*ship.file, 3, {1, 1, 1}));
    EXPECT_EQ(ship.file->serialise(), before) << "no write lands in the next record";
    EXPECT_TRUE(moveComponentOrigin(*ship.file, 2, {0.5f, -2, 10}));
    EXPECT_EQ(ship.file->componentBlock()->componentOrigin(2), (shipfile::Vec3{0.5f, -2, 10}));

    // A 72-byte record ends inside the origin; a 40-byte one takes a name cut to 39 characters.
    LoadedShip tiny(threeComponents(72));
    EXPECT_FALSE(moveComponentOrigin(*tiny.file, 0, {1, 1, 1}));
    LoadedShip short40(threeComponents(40));
    EXPECT_TRUE(setComponentName(*short40.file, 0, std::string(50, 'q')));
    EXPECT_EQ(shipfile::componentName(*short40.file, 0), std::string(39, 'q'));
    EXPECT_EQ(shipfile::componentName(*short40.file, 1), "beta");
}
