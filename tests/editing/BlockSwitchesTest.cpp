#include "editing/BlockSwitches.h"

#include "editing/BlockChain.h"
#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/support/LoadedShip.h"

#include <gtest/gtest.h>

using namespace editing;
using shipfile::ShipBlock;
using testsupport::Component;
using testsupport::Face;
using testsupport::Ship;
namespace lay = shipfile::layout;

namespace {

Face face(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t texture)
{
    Face f;
    f.a = a, f.b = b, f.c = c;
    f.texture = texture;
    return f;
}

Ship twoComponents()
{
    Ship ship;
    Component first;
    first.faces = {face(0, 1, 2, 1), face(3, 4, 5, 7)};
    Component second;
    second.name = "second";
    second.faces = {face(1, 2, 3, 0)};
    ship.components = {first, second};
    return ship;
}

} // namespace

TEST(DummyTriangle, OneAlreadyInTheFileIsRemovedFirst)
{
    Ship s = twoComponents();
    s.components[1].faces.push_back(face(0, 0, 0, 2));
    LoadedShip ship(s);
    EXPECT_TRUE(dummyTrianglePresent(*ship.file, 1));
    ASSERT_TRUE(toggleDummyTriangle(*ship.file, 1));
    EXPECT_EQ(shipfile::nthBlockOfType(*ship.file, lay::type::Faces, 1)->count(), 1u);
    EXPECT_FALSE(dummyTrianglePresent(*ship.file, 1));

    s.components[1].faces.back() = face(0, 0, 1, 2);
    LoadedShip notDummy(s);
    EXPECT_FALSE(dummyTrianglePresent(*notDummy.file, 1));
}

TEST(DummyTriangle, EmptyOrMissingFaceBlockIsLeftAlone)
{
    Ship s = twoComponents();
    s.components[0].faces.clear();
    s.components[1].withFaceBlock = false;
    LoadedShip ship(s);
    const auto before = ship.file->serialise();
    EXPECT_FALSE(toggleDummyTriangle(*ship.file, 0));
    EXPECT_FALSE(toggleDummyTriangle(*ship.file, 1));
    EXPECT_FALSE(toggleDummyTriangle(*ship.file, 2));
    EXPECT_FALSE(toggleDummyTriangle(*ship.file, -1));
    EXPECT_FALSE(dummyTrianglePresent(*ship.file, 0));

    // Component 0 without a face block of its own must not reach component 1's.
    Ship t = twoComponents();
    t.components[0].withFaceBlock = false;
    LoadedShip other(t);
    const auto otherBefore = other.file->serialise();
    EXPECT_FALSE(toggleDummyTriangle(*other.file, 0));
    EXPECT_EQ(other.file->serialise(), otherBefore);
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_TRUE(ship.sink.messages.empty());
}

TEST(DummyTriangle, AFullFaceBlockTakesNoMore)
{
    LoadedShip ship(twoComponents());
    ShipBlock* faces = shipfile::nthBlockOfType(*ship.file, lay::type::Faces, 1);
    ASSERT_TRUE(faces->resizeRecords(0xFFFF));
    shipfile::writeU32(faces->record(0xFFFE), lay::face::VertexA, 1);
    EXPECT_FALSE(toggleDummyTriangle(*ship.file, 1));
    EXPECT_EQ(faces->count(), 0xFFFFu);
    EXPECT_EQ(ship.sink.texts(),
              std::vector<std::string>{std::string(editing::messages::BlockFull.text)});
}

TEST(Block13, ASectionWithoutOneIsReported)
{
    Ship s = twoComponents();
    s.components[0].withBlock13 = false;
    LoadedShip ship(s);
    const auto before = ship.file->serialise();
    EXPECT_FALSE(toggleBlock13(*ship.file, 0));
    EXPECT_EQ(ship.file->serialise(), before) << "component 1's block13 is not taken";
    EXPECT_FALSE(block13On(*ship.file, 0));
    EXPECT_EQ(ship.sink.texts(),
              (std::vector<std::string>{"Error initializing block13", "Error finding block13"}));
    EXPECT_TRUE(ship.sink.messages[0].ownedByMainWindow);

    EXPECT_FALSE(toggleBlock13(*ship.file, -1));
    EXPECT_FALSE(block13On(*ship.file, 5));
    EXPECT_EQ(ship.sink.messages.size(), 2u) << "unmet needs are silent";
}

TEST(Block14, AddsUpToAPairAndRemovesPairsWithAThird)
{
    for (int existing = 0; existing <= 3; ++existing) {
        Ship s = twoComponents();
        s.components[0].block14Count = existing;
        LoadedShip ship(s);
        EXPECT_EQ(block14Present(*ship.file, 0), existing >= 2);

        const auto state = toggleBlock14(*ship.file, 0);
        ASSERT_TRUE(state);
        const bool added = existing < 2;
        EXPECT_EQ(*state, added) << existing;
        EXPECT_EQ(block14Present(*ship.file, 0), added);
        Ship expected = twoComponents();
        expected.components[0].block14Count = added ? 2 : 0;
        EXPECT_EQ(ship.file->serialise(), testsupport::buildShip(expected)) << existing;
        EXPECT_TRUE(pointersOnChain(*ship.file));
    }
}

TEST(Block14, NewBlocksGoBeforeTheNextSectionAtTheEndOfAShip)
{
    // Last section without a type-16 block: the pair goes at the end of the chain.
    const auto image = testsupport::BlockBuilder{}
                           .block(0, 24, 1)
                           .block(1, 312, 1)
                           .block(2, 4, 1)
                           .block(9, 168, 0)
                           .block(3, 80, 0)
                           .end()
                           .build();
    LoadedShip ship(image);
    EXPECT_EQ(toggleBlock14(*ship.file, 0), true);
    EXPECT_EQ(blockTypes(*ship.file), (std::vector<std::uint32_t>{0, 1, 2, 9, 3, 14, 14}));
    EXPECT_EQ(ship.file->tail()->type, lay::type::Block14);
    EXPECT_EQ(toggleBlock14(*ship.file, 0), false);
    EXPECT_EQ(ship.file->tail()->type, lay::type::Faces);
}

TEST(Block14, TypeTwoBlockAtTheEndOfTheChainIsLeftAlone)
{
    const auto image =
        testsupport::BlockBuilder{}.block(0, 24, 1).block(1, 312, 1).block(2, 4, 1).end().build();
    LoadedShip ship(image);
    EXPECT_FALSE(toggleBlock14(*ship.file, 0));
    EXPECT_FALSE(toggleBlock14(*ship.file, 1));
    EXPECT_FALSE(block14Present(*ship.file, 0));
    EXPECT_EQ(shipfile::nthBlockOfType(*ship.file, lay::type::Block14, 0), nullptr);
}
