#include "editing/Merge.h"

#include "editing/BlockChain.h"
#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/support/LoadedShip.h"

#include <gtest/gtest.h>

using namespace editing;
using shipfile::ShipFile;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;
namespace lay = shipfile::layout;

namespace {

Component named(const std::string& name)
{
    Component c;
    c.name = name;
    testsupport::addCuboid(c, {0, 0, 0}, {1, 2, 3});
    c.attachments = {Attachment{static_cast<int>(name.size() % 5)}};
    return c;
}

Ship shipOf(std::vector<std::string> names, std::int8_t shipClass = 0)
{
    Ship ship;
    ship.shipClass = shipClass;
    for (const auto& n : names)
        ship.components.push_back(named(n));
    return ship;
}

std::unique_ptr<ShipFile> load(const testsupport::ByteVector& image,
                               testsupport::RecordingSink& sink)
{
    return ShipFile::fromBytes(image, "second.shp", sink);
}

} // namespace

TEST(MergeShipFile, AppendsRecordsAndSectionsAfterTheOpenShips)
{
    LoadedShip ship(shipOf({"a", "bb", "ccc"}));
    testsupport::RecordingSink secondSink;
    auto second = load(testsupport::buildShip(shipOf({"dddd", "e"}, 2)), secondSink);
    const auto names = mergeShipFile(*ship.file, std::move(second));
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"dddd", "e"}));
    // One ship of five components, with the open ship's header (ship class 0).
    EXPECT_EQ(ship.file->serialise(),
              testsupport::buildShip(shipOf({"a", "bb", "ccc", "dddd", "e"}, 0)));
    EXPECT_TRUE(pointersOnChain(*ship.file));
    EXPECT_TRUE(ship.sink.messages.empty());
    EXPECT_TRUE(secondSink.messages.empty());
}

TEST(MergeShipFile, EmptyComponentTableStillBringsItsBlocks)
{
    const auto second = testsupport::BlockBuilder{}
                            .block(0, 24, 1)
                            .block(1, 312, 0)
                            .block(2, 4, 1)
                            .block(9, 168, 0)
                            .end()
                            .build();
    LoadedShip ship(shipOf({"a"}));
    const auto before = blockTypes(*ship.file);
    testsupport::RecordingSink sink;
    const auto names = mergeShipFile(*ship.file, load(second, sink));
    ASSERT_TRUE(names);
    EXPECT_TRUE(names->empty());
    EXPECT_EQ(ship.file->componentBlock()->count(), 1u);
    auto expected = before;
    expected.insert(expected.end(), {2, 9});
    EXPECT_EQ(blockTypes(*ship.file), expected);
}

TEST(MergeShipFile, SecondFileMustStartWithHeaderAndComponentTable)
{
    const testsupport::ByteVector bad[] = {
        testsupport::BlockBuilder{}.block(1, 312, 0).block(2, 4, 1).end().build(),
        testsupport::BlockBuilder{}.block(0, 24, 1).end().build(),
        testsupport::BlockBuilder{}.block(0, 24, 1).block(2, 4, 1).block(1, 312, 0).end().build(),
    };
    for (const auto& image : bad) {
        LoadedShip ship(shipOf({"a"}));
        const auto before = ship.file->serialise();
        testsupport::RecordingSink sink;
        EXPECT_FALSE(mergeShipFile(*ship.file, load(image, sink)));
        EXPECT_EQ(ship.sink.texts(), std::vector<std::string>{"Bad SHP file!"});
        EXPECT_TRUE(ship.sink.messages[0].ownedByMainWindow);
        EXPECT_EQ(ship.file->serialise(), before);
    }
}

TEST(MergeShipFile, ReducedComponentTablesAreRefused)
{
    Ship reduced = shipOf({"r"});
    reduced.componentRecordSize = 200;

    LoadedShip open(shipOf({"a"}));
    testsupport::RecordingSink sink;
    const auto before = open.file->serialise();
    EXPECT_FALSE(mergeShipFile(*open.file, load(testsupport::buildShip(reduced), sink)));
    EXPECT_EQ(open.file->serialise(), before);

    LoadedShip reducedOpen(reduced);
    const auto reducedBefore = reducedOpen.file->serialise();
    EXPECT_FALSE(
        mergeShipFile(*reducedOpen.file, load(testsupport::buildShip(shipOf({"b"})), sink)));
    EXPECT_EQ(reducedOpen.file->serialise(), reducedBefore);

    const std::vector<std::string> expected{
        std::string(editing::messages::MergeReducedComponentBlock.text)};
    EXPECT_EQ(open.sink.texts(), expected);
    EXPECT_EQ(reducedOpen.sink.texts(), expected);
}

TEST(MergeShipFile, TooManyComponentsForOneTableAreRefused)
{
    LoadedShip ship(shipOf({"a"}));
    auto& table = *ship.file->componentBlock();
    ASSERT_TRUE(table.resizeRecords(0xFFFF));
    testsupport::RecordingSink sink;
    EXPECT_FALSE(mergeShipFile(*ship.file, load(testsupport::buildShip(shipOf({"b"})), sink)));
    EXPECT_EQ(ship.sink.texts(),
              std::vector<std::string>{std::string(editing::messages::BlockFull.text)});
    EXPECT_EQ(table.count(), 0xFFFFu);
}

TEST(MergeShipFile, NothingToMergeIsSilent)
{
    LoadedShip ship(shipOf({"a"}));
    testsupport::RecordingSink sink;
    EXPECT_FALSE(mergeShipFile(*ship.file, nullptr));
    EXPECT_FALSE(mergeShipFile(*ship.file, std::make_unique<ShipFile>(sink)));
    ShipFile empty(sink);
    EXPECT_FALSE(mergeShipFile(empty, load(testsupport::buildShip(shipOf({"b"})), sink)));
    EXPECT_TRUE(ship.sink.messages.empty());
    EXPECT_TRUE(sink.messages.empty());
}

TEST(MergeShipFile, ASecondShipCutInsideABlockIsRefused)
{
    // The second ship's last section runs past the end marker: its first blocks load.
    testsupport::ByteVector cut = testsupport::buildShip(shipOf({"b", "c"}));
    cut.resize(cut.size() - 40);
    const testsupport::ByteVector end = testsupport::BlockBuilder{}.end().build();
    cut.insert(cut.end(), end.begin(), end.end());

    LoadedShip ship(shipOf({"a"}));
    const auto before = ship.file->serialise();
    testsupport::RecordingSink sink;
    auto second = load(cut, sink);
    ASSERT_FALSE(second->empty());
    EXPECT_FALSE(mergeShipFile(*ship.file, std::move(second)));
    EXPECT_EQ(ship.sink.texts(),
              std::vector<std::string>{std::string(editing::messages::MergeIncomplete.text)});
    EXPECT_EQ(ship.file->serialise(), before);
}
