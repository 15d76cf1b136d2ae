#include "editing/Attachments.h"

#include "shipfile/ComponentParts.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "tests/support/LoadedShip.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace editing;
using shipfile::Vec3;
using testsupport::Attachment;
using testsupport::Component;
using testsupport::Face;
using testsupport::Ship;
namespace lay = shipfile::layout;
namespace messages = shipfile::messages;

namespace {

// Component 0 with the given attachments, component 1 with one light, so that the wrong
// type-9 block shows.
Ship shipWith(std::vector<Attachment> attachments)
{
    Ship ship;
    Component first;
    first.attachments = std::move(attachments);
    Component second;
    second.name = "second";
    second.attachments = {Attachment{4, {7, 7, 7}}};
    ship.components = {first, second};
    return ship;
}

std::vector<float> xs(shipfile::ShipFile& file, int component)
{
    std::vector<float> out;
    const shipfile::ShipBlock* block = shipfile::componentParts(file, component).attachments;
    for (std::size_t i = 0; i < block->count(); ++i)
        out.push_back(shipfile::readVec3(block->record(i), lay::attachment::Position)->x);
    return out;
}

Vec3 position(shipfile::ShipFile& file, int component, int attachment)
{
    return *shipfile::readVec3(editing::attachmentRecord(file, component, attachment),
                               lay::attachment::Position);
}

std::array<float, 9> matrix(shipfile::ShipFile& file, int component, int attachment)
{
    const auto record = editing::attachmentRecord(file, component, attachment);
    std::array<float, 9> m{};
    for (std::size_t i = 0; i < 9; ++i)
        m[i] = *shipfile::readF32(record, lay::attachment::Matrix + 4 * i);
    return m;
}

} // namespace

TEST(AddAttachment, AppendsTheTemplateOfTheKindAndSelectsIt)
{
    LoadedShip ship(shipWith({Attachment{0, {1, 0, 0}}, Attachment{2, {2, 0, 0}}}));
    EXPECT_EQ(addAttachment(*ship.file, 0, 3), 2);

    const shipfile::ShipBlock* block = shipfile::componentParts(*ship.file, 0).attachments;
    ASSERT_EQ(block->count(), 3u);
    const auto gun = shipfile::attachmentTemplate(lay::AttachmentKind::Gun);
    const auto added = block->record(2);
    EXPECT_TRUE(std::equal(added.begin(), added.end(), gun.begin(), gun.end()));
    EXPECT_EQ(xs(*ship.file, 0), (std::vector<float>{1, 2, 0}));
    EXPECT_EQ(shipfile::componentParts(*ship.file, 1).attachments->count(), 1u) << "other component untouched";
}

TEST(AddAttachment, NoKindChosenAppendsNothingButSelectsTheLastEntry)
{
    LoadedShip ship(shipWith({Attachment{0, {1, 0, 0}}, Attachment{2, {2, 0, 0}}}));
    EXPECT_EQ(addAttachment(*ship.file, 0, -1), 1);
    EXPECT_EQ(addAttachment(*ship.file, 0, 5), 1); // one past the last kind
    EXPECT_EQ(shipfile::componentParts(*ship.file, 0).attachments->count(), 2u);

    LoadedShip empty(shipWith({}));
    EXPECT_EQ(addAttachment(*empty.file, 0, -1), -1);
    EXPECT_EQ(addAttachment(*empty.file, 0, 4), 0);
}

TEST(AddAttachment, WithoutComponentOrType9BlockDoesNothing)
{
    LoadedShip ship(shipWith({}));
    EXPECT_FALSE(addAttachment(*ship.file, -1, 0));
    EXPECT_TRUE(ship.sink.messages.empty()) << "unmet needs are silent";

    Ship noType9 = shipWith({});
    noType9.components[1].withAttachmentBlock = false;
    LoadedShip broken(noType9);
    // Component 1 has no type-9 block: the model reports it once; component 0's block must
    // not receive the record.
    EXPECT_FALSE(addAttachment(*broken.file, 1, 2));
    EXPECT_EQ(broken.sink.texts(),
              std::vector<std::string>{std::string(messages::MissingAttachmentBlock.text)});
    EXPECT_EQ(shipfile::componentParts(*broken.file, 0).attachments->count(), 0u);
}

TEST(RemoveAttachment, KeepsTheOrderAndSelectsTheLastEntry)
{
    LoadedShip ship(
        shipWith({Attachment{0, {1, 0, 0}}, Attachment{2, {2, 0, 0}}, Attachment{4, {3, 0, 0}}}));
    EXPECT_EQ(removeAttachment(*ship.file, 0, 0), 1);
    EXPECT_EQ(xs(*ship.file, 0), (std::vector<float>{2, 3}));

    LoadedShip single(shipWith({Attachment{1, {5, 0, 0}}}));
    EXPECT_EQ(removeAttachment(*single.file, 0, 0), -1);
    EXPECT_EQ(shipfile::componentParts(*single.file, 0).attachments->count(), 0u);
    EXPECT_EQ(xs(*single.file, 1), std::vector<float>{7}) << "the next component keeps its own";
}

TEST(RemoveAttachment, AnIndexPastTheComponentsAttachmentsChangesNothing)
{
    // The selection may have been kept from a component with more attachments.
    LoadedShip ship(shipWith({Attachment{0, {1, 0, 0}}, Attachment{2, {2, 0, 0}}}));
    const auto before = ship.file->serialise();
    EXPECT_FALSE(removeAttachment(*ship.file, 1, 1));
    EXPECT_FALSE(removeAttachment(*ship.file, 0, 2));
    EXPECT_FALSE(removeAttachment(*ship.file, 0, -1));
    EXPECT_FALSE(copyAttachment(*ship.file, 1, 3));
    EXPECT_FALSE(moveAttachment(*ship.file, 1, 1, {1, 1, 1}));
    EXPECT_FALSE(snapToNearestFace(*ship.file, 1, 1, {}));
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_TRUE(ship.sink.messages.empty());
}

TEST(CopyAttachment, AFullBlockRefusesWithTheAllocationMessage)
{
    LoadedShip ship(shipWith({Attachment{0, {1, 0, 0}}}));
    shipfile::ShipBlock* block = shipfile::componentParts(*ship.file, 0).attachments;
    ASSERT_TRUE(block->resizeRecords(0xFFFF));
    EXPECT_FALSE(copyAttachment(*ship.file, 0, 0));
    EXPECT_FALSE(addAttachment(*ship.file, 0, 1));
    EXPECT_EQ(block->count(), 0xFFFFu) << "a 65536th record would be lost on saving";
    EXPECT_EQ(ship.sink.texts(), std::vector<std::string>(2, "Error allocating memory for "
                                                             "attachment block!\n"));
    EXPECT_TRUE(ship.sink.messages[0].ownedByMainWindow);
    EXPECT_EQ(ship.sink.messages[0].caption, "korvex");
}

namespace {

// Component 0: two faces whose centres lie at (3, 0, 0) and (-3, 0, 0), with normals that tell
// them apart, and an attachment at the origin.
Ship snapShip(Vec3 attachmentAt = {0, 0, 0})
{
    Ship ship;
    Component c;
    c.vertices = {{3, 0, 0}, {3, 3, 0}, {3, -3, 0}, {-3, 0, 0}, {-3, 3, 0}, {-3, -3, 0}};
    Face right;
    right.a = 0, right.b = 1, right.c = 2;
    right.normal = {0, 1, 0};
    Face left;
    left.a = 3, left.b = 4, left.c = 5;
    left.normal = {0, 0, 1};
    c.faces = {right, left};
    Attachment a{4, attachmentAt};
    a.keepTemplateMatrix = false;
    std::fill(std::begin(a.matrix), std::end(a.matrix), 9.0f);
    c.attachments = {a};
    ship.components = {c};
    return ship;
}

} // namespace

TEST(SnapToNearestFace, EqualDistancesPickTheFirstFace)
{
    LoadedShip ship(snapShip());
    EXPECT_TRUE(snapToNearestFace(*ship.file, 0, 0, {}));
    EXPECT_EQ(position(*ship.file, 0, 0), (Vec3{3, 0, 0}));
    EXPECT_EQ(matrix(*ship.file, 0, 0), (std::array<float, 9>{1, 0, 0, 0, 1, 0, 0, 0, 1}));

    LoadedShip nearer(snapShip({-1, 0, 0}));
    EXPECT_TRUE(snapToNearestFace(*nearer.file, 0, 0, {true, false}));
    EXPECT_EQ(position(*nearer.file, 0, 0), (Vec3{-3, 0, 0}));
    EXPECT_EQ(matrix(*nearer.file, 0, 0), (std::array<float, 9>{1, 0, 0, 0, 0, -1, 0, 1, 0}));
    EXPECT_TRUE(nearer.sink.messages.empty());
}

TEST(SnapToNearestFace, TheFaceCentreUsesTheSinglePrecisionThird)
{
    Ship s = snapShip({100, 0, 0});
    s.components[0].vertices[0] = {1, 0, 0};
    s.components[0].vertices[1] = {1, 0, 0};
    s.components[0].vertices[2] = {0.1f, 0, 0};
    LoadedShip ship(s);
    EXPECT_TRUE(snapToNearestFace(*ship.file, 0, 0, {false, false}));
    EXPECT_EQ(position(*ship.file, 0, 0).x, (1.0f + 1.0f + 0.1f) * 0.33333334f);
}

TEST(SnapToNearestFace, RotateOffKeepsTheOrientationAndBackNegatesOuterRows)
{
    LoadedShip ship(snapShip());
    EXPECT_TRUE(snapToNearestFace(*ship.file, 0, 0, {false, true}));
    EXPECT_EQ(matrix(*ship.file, 0, 0), (std::array<float, 9>{9, 9, 9, 9, 9, 9, 9, 9, 9}));

    EXPECT_TRUE(snapToNearestFace(*ship.file, 0, 0, {true, true}));
    EXPECT_EQ(matrix(*ship.file, 0, 0), (std::array<float, 9>{-1, 0, 0, 0, 1, 0, 0, 0, -1}));
}

TEST(SnapToNearestFace, NoFaceNearerThan999999LeavesTheAttachment)
{
    // The first face's centre lies exactly 999999 away, the other further still.
    LoadedShip far(snapShip({3 + 999999.0f, 0, 0}));
    const auto before = far.file->serialise();
    EXPECT_FALSE(snapToNearestFace(*far.file, 0, 0, {}));
    EXPECT_EQ(far.file->serialise(), before);

    Ship noFaces = snapShip();
    noFaces.components[0].faces.clear();
    LoadedShip empty(noFaces);
    EXPECT_FALSE(snapToNearestFace(*empty.file, 0, 0, {}));
    EXPECT_EQ(position(*empty.file, 0, 0), (Vec3{0, 0, 0}));
    EXPECT_TRUE(empty.sink.messages.empty());
}

TEST(SnapToNearestFace, SkipsFacesThatNameMissingVertices)
{
    Ship s = snapShip();
    s.components[0].faces[0].c = 6; // one past the six vertices
    LoadedShip ship(s);
    EXPECT_TRUE(snapToNearestFace(*ship.file, 0, 0, {}));
    EXPECT_EQ(position(*ship.file, 0, 0), (Vec3{-3, 0, 0}));
}

TEST(SnapToNearestFace, MissingVertexOrFaceBlockIsReported)
{
    Ship noVertices = snapShip();
    noVertices.components[0].withVertexBlock = false;
    LoadedShip a(noVertices);
    EXPECT_FALSE(snapToNearestFace(*a.file, 0, 0, {}));
    EXPECT_EQ(a.sink.texts(), std::vector<std::string>{"Error searching for vertices\n"});
    EXPECT_TRUE(a.sink.messages[0].ownedByMainWindow);

    Ship noFaces = snapShip();
    noFaces.components[0].withFaceBlock = false;
    LoadedShip b(noFaces);
    EXPECT_FALSE(snapToNearestFace(*b.file, 0, 0, {}));
    EXPECT_EQ(b.sink.texts(), std::vector<std::string>{"Error searching for polygons\n"});
    EXPECT_EQ(position(*b.file, 0, 0), (Vec3{0, 0, 0}));
}

TEST(OrientationFromNormal, FollowsTheTwoFormsOfTheTable)
{
    // Away from the poles every entry of the first form shows (the snaps above check the axes).
    const auto m = orientationFromNormal({0.6f, 0.48f, 0.64f}, false);
    const std::array<float, 9> expected{0.48f, 0.6f,  -0.6f * 0.64f,
                                        -0.6f, 0.48f, -0.48f * 0.64f,
                                        0,     0.64f, 0.6f * 0.6f + 0.48f * 0.48f};
    EXPECT_EQ(m, expected);
    // Near the pole (nz = -0.999995) the second form applies.
    const auto p = orientationFromNormal({0.003f, 0.002f, -0.999995f}, false);
    EXPECT_EQ(p[2], 0.0f);
    EXPECT_EQ(p[5], 0.999995f);
    EXPECT_EQ(p[8], 0.002f);
}
