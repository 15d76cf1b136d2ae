#include "editing/Scaling.h"

#include "shipfile/ComponentParts.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/support/LoadedShip.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace editing;
using shipfile::ShipBlock;
using shipfile::Vec3;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Ship;
namespace lay = shipfile::layout;

namespace {

Ship twoComponents()
{
    Ship ship;
    Component a;
    a.origin = {1, 2, 3};
    a.vertices = {{1, -2, 4}, {0.5f, 8, -16}};
    for (int kind = 0; kind < 5; ++kind)
        a.attachments.push_back(Attachment{kind, {float(kind), -1, 2}});
    a.boxes = {testsupport::Box{{1, 1, 1}, {2, 2, 2}}};
    Component b;
    b.name = "b";
    b.origin = {-4, 0, 10};
    b.vertices = {{3, 3, 3}};
    b.attachments = {Attachment{2, {5, 5, 5}}};
    ship.components = {a, b};
    return ship;
}

Vec3 vec(const ShipBlock* block, std::size_t record, std::size_t offset)
{
    return *shipfile::readVec3(block->record(record), offset);
}

} // namespace

TEST(ScaleShip, OnlyFlamesGrowAndBoxesStay)
{
    LoadedShip ship(twoComponents());
    auto& file = *ship.file;
    const auto boxBefore = shipfile::componentParts(file, 0).boxes->records();
    ASSERT_TRUE(scaleShip(file, 2.0f, ScaleDirection::Larger, false, -1));
    // The flame's template size, doubled; the other kinds keep theirs (see the hand-written ship).
    EXPECT_EQ(vec(shipfile::componentParts(file, 0).attachments, 2, lay::attachment::Size),
              (Vec3{240, 120, -880}));
    EXPECT_EQ(shipfile::componentParts(file, 0).boxes->records(), boxBefore);

    // With "flames" unticked the flame keeps its size while its position still scales.
    const Vec3 position = vec(shipfile::componentParts(file, 0).attachments, 2,
                              lay::attachment::Position);
    ASSERT_TRUE(scaleShip(file, 2.0f, ScaleDirection::Larger, false, -1, false));
    EXPECT_EQ(vec(shipfile::componentParts(file, 0).attachments, 2, lay::attachment::Size),
              (Vec3{240, 120, -880}));
    EXPECT_EQ(vec(shipfile::componentParts(file, 0).attachments, 2, lay::attachment::Position),
              (Vec3{position.x * 2, position.y * 2, position.z * 2}));
}

TEST(ScaleShip, TypeOneOnlyScalesTheSelectedSectionOnly)
{
    LoadedShip ship(twoComponents());
    auto& file = *ship.file;
    const auto before = file.serialise();
    EXPECT_FALSE(scaleShip(file, 2.0f, ScaleDirection::Larger, true, -1));
    EXPECT_EQ(file.serialise(), before);

    ASSERT_TRUE(scaleShip(file, 2.0f, ScaleDirection::Larger, true, 1));
    EXPECT_EQ(vec(shipfile::nthBlockOfType(file, lay::type::Vertices, 0), 0, 0), (Vec3{1, -2, 4}));
    EXPECT_EQ(vec(shipfile::nthBlockOfType(file, lay::type::Vertices, 1), 0, 0), (Vec3{6, 6, 6}));
    EXPECT_EQ(vec(shipfile::componentParts(file, 0).attachments, 0, lay::attachment::Position),
              (Vec3{0, -1, 2}));
    EXPECT_EQ(vec(shipfile::componentParts(file, 1).attachments, 0, lay::attachment::Position),
              (Vec3{10, 10, 10}));
}

TEST(ScaleShip, AFactorThatIsNotPositiveAndFiniteChangesNothing)
{
    LoadedShip ship(twoComponents());
    const auto before = ship.file->serialise();
    for (const float f : {0.0f, -2.0f, std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(scaleShip(*ship.file, f, ScaleDirection::Smaller, false, -1)) << f;
        EXPECT_FALSE(scaleShip(*ship.file, f, ScaleDirection::Larger, false, -1)) << f;
    }
    EXPECT_EQ(ship.file->serialise(), before);

    EXPECT_EQ(parseScaleFactor("2.5 times"), 2.5f);
    EXPECT_FALSE(parseScaleFactor("0"));
    EXPECT_FALSE(parseScaleFactor("-1.2"));
    EXPECT_FALSE(parseScaleFactor("big"));
    EXPECT_FALSE(parseScaleFactor("1e-50")) << "rounds to zero in single precision";
}

TEST(ParseZoomRange, PositiveNumbersOnly)
{
    EXPECT_EQ(parseZoomRange("250"), 250);
    EXPECT_EQ(parseZoomRange(" 12abc"), 12);
    EXPECT_FALSE(parseZoomRange("0"));
    EXPECT_FALSE(parseZoomRange("-5"));
    EXPECT_FALSE(parseZoomRange(""));
}

namespace {

Ship boxShip(std::vector<Vec3> vertices)
{
    Ship ship;
    Component a;
    a.vertices = std::move(vertices);
    a.faces.resize(3);
    a.block14Count = 2;
    Component b;
    b.name = "b";
    b.boxes = {testsupport::Box{}};
    ship.components = {a, b};
    return ship;
}

const ShipBlock* afterType(const shipfile::ShipFile& file, std::uint32_t type, int n = 0)
{
    return shipfile::nthBlockOfType(file, type, n)->next();
}

} // namespace

TEST(CreateBox, BuildsTheBoxAroundTheVerticesWithAFaceList)
{
    LoadedShip ship(boxShip({{0, 0, 0}, {2, 0, 0}, {0, 4, -2}}));
    auto& file = *ship.file;
    ASSERT_EQ(shipfile::shipClass(file), 0);
    ASSERT_TRUE(createBox(file, 0));

    const ShipBlock* box = shipfile::componentParts(file, 0).boxes;
    ASSERT_EQ(box->count(), 1u);
    const Vec3 centre = *shipfile::readVec3(box->record(0), lay::box::Centre);
    const Vec3 half = *shipfile::readVec3(box->record(0), lay::box::HalfExtents);
    EXPECT_FLOAT_EQ(centre.x, 2.0f / 3);
    EXPECT_FLOAT_EQ(centre.y, 4.0f / 3);
    EXPECT_FLOAT_EQ(centre.z, -2.0f / 3);
    EXPECT_FLOAT_EQ(half.x, 4.0f / 3);
    EXPECT_FLOAT_EQ(half.y, 8.0f / 3);
    EXPECT_FLOAT_EQ(half.z, 4.0f / 3);

    // The face list names every face in turn.
    const ShipBlock* list = afterType(file, lay::type::Faces);
    ASSERT_EQ(list->count(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(shipfile::readU32(list->record(i), 0), i);

    EXPECT_FALSE(createBox(file, 0)) << "a box exists already";
    EXPECT_EQ(shipfile::nthBlockOfType(file, lay::type::BoxFaceList, 1), nullptr);
}

TEST(CreateBox, EmptyOrMissingVertexBlockGivesAZeroBoxWithoutNaN)
{
    LoadedShip ship(boxShip({}));
    ASSERT_TRUE(createBox(*ship.file, 0));
    const auto record = shipfile::componentParts(*ship.file, 0).boxes->record(0);
    EXPECT_EQ(shipfile::readVec3(record, lay::box::Centre), (Vec3{0, 0, 0}));
    EXPECT_EQ(shipfile::readVec3(record, lay::box::HalfExtents), (Vec3{0, 0, 0}));

    // No vertex block at all: the same empty box, and the command still succeeds.
    Ship none = boxShip({});
    none.components[0].withVertexBlock = false;
    LoadedShip missing(none);
    EXPECT_TRUE(createBox(*missing.file, 0));
    EXPECT_EQ(shipfile::componentParts(*missing.file, 0).boxes->count(), 1u);
}

TEST(CreateBox, VertexBlockAtTheEndOfItsSectionGetsNoFaceList)
{
    testsupport::ByteVector vertex(32, 0);
    shipfile::writeVec3(vertex, 0, {4, 4, 4});
    const auto image = testsupport::BlockBuilder{}
                           .block(0, 24, 1)
                           .block(1, 312, 1)
                           .block(2, 4, 1)
                           .block(7, 72, 0)
                           .block(9, 168, 0)
                           .block(4, 32, 1, vertex)
                           .block(2, 4, 1)
                           .end()
                           .build();
    LoadedShip ship(image);
    ASSERT_TRUE(createBox(*ship.file, 0));
    EXPECT_EQ(blockTypes(*ship.file), (std::vector<std::uint32_t>{0, 1, 2, 7, 9, 4, 2}));
    EXPECT_EQ(shipfile::readVec3(shipfile::componentParts(*ship.file, 0).boxes->record(0), lay::box::Centre),
              (Vec3{4, 4, 4}));
}

TEST(CreateBox, ComponentWithoutABoxBlockLeavesTheNextOneAlone)
{
    Ship s = boxShip({{1, 1, 1}});
    s.components[0].withBoxBlock = false;
    s.components[1].boxes.clear();
    LoadedShip ship(s);
    const auto before = ship.file->serialise();
    EXPECT_FALSE(createBox(*ship.file, 0));
    EXPECT_FALSE(clearBoxes(*ship.file, 0));
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_FALSE(createBox(*ship.file, 2));
    EXPECT_FALSE(createBox(*ship.file, -1));
}

TEST(ClearBoxes, RemovesTheBoxAndItsFirstFaceListRunOnly)
{
    LoadedShip ship(boxShip({{0, 0, 0}, {2, 2, 2}}));
    auto& file = *ship.file;
    ASSERT_TRUE(createBox(file, 0));
    // A second face list right after the first, and a later one behind the type-12 block.
    ShipBlock* firstList = shipfile::nthBlockOfType(file, lay::type::BoxFaceList, 0);
    file.insertAfter(*firstList, std::make_unique<ShipBlock>(lay::type::BoxFaceList, 4, 1));
    file.insertAfter(*shipfile::nthBlockOfType(file, lay::type::Marker12, 0),
                     std::make_unique<ShipBlock>(lay::type::BoxFaceList, 4, 2));

    ASSERT_TRUE(clearBoxes(file, 0));
    const ShipBlock* remaining = shipfile::nthBlockOfType(file, lay::type::BoxFaceList, 0);
    ASSERT_NE(remaining, nullptr);
    EXPECT_EQ(remaining->count(), 2u);
    EXPECT_EQ(shipfile::nthBlockOfType(file, lay::type::BoxFaceList, 1), nullptr);
    EXPECT_EQ(afterType(file, lay::type::Faces)->type, lay::type::Marker12);
    EXPECT_EQ(shipfile::componentParts(file, 1).boxes->count(), 1u) << "the next component's box stays";

    EXPECT_FALSE(clearBoxes(file, 0)) << "nothing left to clear";
    EXPECT_TRUE(createBox(file, 0)) << "a fresh box after clearing";
    EXPECT_EQ(shipfile::componentParts(file, 0).boxes->count(), 1u);
}

TEST(ClearBoxes, DoesNotReachIntoTheNextSection)
{
    // Component 0 has a box but no face list; component 1 has a face list of its own.
    Ship s = boxShip({{1, 1, 1}});
    s.components[0].boxes = {testsupport::Box{}};
    s.components[1].boxes.clear();
    s.components[1].vertices = {{1, 1, 1}};
    s.components[1].faces.resize(2);
    LoadedShip ship(s);
    ASSERT_TRUE(createBox(*ship.file, 1));
    ASSERT_TRUE(clearBoxes(*ship.file, 0));
    const ShipBlock* list = shipfile::nthBlockOfType(*ship.file, lay::type::BoxFaceList, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2u);
}
