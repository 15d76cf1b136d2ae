#include "editing/Animation.h"

#include "editing/Messages.h"
#include "editing/NumberText.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "tests/support/LoadedShip.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace editing;
using shipfile::ShipBlock;
using shipfile::Vec3;
using testsupport::Animation;
using testsupport::Component;
using testsupport::Ship;
namespace lay = shipfile::layout;

namespace {

Ship animated(std::vector<Animation::Frame> frames, bool withHeader = true)
{
    Ship ship;
    Component first;
    first.textures = {"a", "b"};
    if (withHeader) {
        first.animation = Animation{};
        first.animation->frames = std::move(frames);
    }
    Component second;
    second.name = "second";
    ship.components = {first, second};
    return ship;
}

std::vector<std::int32_t> frameTimes(const ShipBlock& frames)
{
    std::vector<std::int32_t> out;
    for (int k = 0; k < static_cast<int>(frames.count()); ++k)
        out.push_back(readFrame(frames, k)->time);
    return out;
}

} // namespace

TEST(OpenAnimation, CreatesAFramesBlockAfterTheLastTextureBlock)
{
    LoadedShip ship(animated({}));
    const auto blocks = openAnimation(*ship.file, 0);
    ASSERT_TRUE(blocks);
    ASSERT_NE(blocks->header, nullptr);
    EXPECT_TRUE(ship.sink.messages.empty());

    const ShipBlock* textures = shipfile::nthBlockOfType(*ship.file, lay::type::TextureNames, 0);
    const ShipBlock* frames = textures->next();
    ASSERT_EQ(frames->type, lay::type::AnimationFrames);
    EXPECT_EQ(frames->recordSize, 28u);
    EXPECT_EQ(frames->count(), 1u);
    EXPECT_EQ(frames->records(), std::vector<std::uint8_t>(28, 0));
    EXPECT_EQ(frames->next()->type, lay::type::Vertices);
    EXPECT_EQ(shipfile::nthBlockOfType(*ship.file, lay::type::AnimationFrames, 1), nullptr);

    // Opening again finds the same block.
    EXPECT_EQ(openAnimation(*ship.file, 0)->frames, blocks->frames);
}

TEST(OpenAnimation, WithoutTextureBlockTheFramesGoAtTheEndOfTheSection)
{
    Ship s = animated({});
    s.components[0].withTextureBlock = false;
    LoadedShip ship(s);
    ASSERT_TRUE(openAnimation(*ship.file, 0));
    const ShipBlock* frames = shipfile::nthBlockOfType(*ship.file, lay::type::AnimationFrames, 0);
    ASSERT_NE(frames, nullptr);
    ASSERT_NE(frames->next(), nullptr);
    EXPECT_EQ(frames->next(), shipfile::componentParts(*ship.file, 1).section);

    // The last component's frames block becomes the last block of the chain.
    ASSERT_TRUE(openAnimation(*ship.file, 1));
    EXPECT_EQ(ship.file->tail()->type, lay::type::Marker16);
    Ship t = animated({});
    t.components[1].withTextureBlock = false;
    LoadedShip last(t);
    ASSERT_TRUE(openAnimation(*last.file, 1));
    EXPECT_EQ(last.file->tail()->type, lay::type::AnimationFrames);
}

TEST(OpenAnimation, MissingHeaderIsReportedAfterTheFramesBlockIsInPlace)
{
    LoadedShip ship(animated({}, false));
    const auto blocks = openAnimation(*ship.file, 0);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(blocks->header, nullptr);
    ASSERT_NE(blocks->frames, nullptr);
    EXPECT_EQ(ship.sink.texts(), std::vector<std::string>{"Missing Block10"});
    EXPECT_TRUE(ship.sink.messages[0].ownedByMainWindow);

    // Header fields then write nowhere; the frames work as usual.
    const auto before = ship.file->serialise();
    EXPECT_FALSE(setTotalTime(blocks->header, 5));
    EXPECT_FALSE(setTrigger(blocks->header, "go"));
    EXPECT_FALSE(readAnimationHeader(blocks->header));
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_TRUE(setFrameTime(*blocks->frames, 0, 12));
}

TEST(OpenAnimation, NoSectionOrAnEmptyOneDoesNothing)
{
    const auto image = testsupport::BlockBuilder{}
                           .block(0, 24, 1)
                           .block(1, 312, 2)
                           .block(2, 4, 1)
                           .block(2, 4, 1)
                           .end()
                           .build();
    LoadedShip ship(image);
    const auto before = ship.file->serialise();
    EXPECT_FALSE(openAnimation(*ship.file, 0));
    EXPECT_FALSE(openAnimation(*ship.file, 1));
    EXPECT_FALSE(openAnimation(*ship.file, 2));
    EXPECT_FALSE(openAnimation(*ship.file, -1));
    EXPECT_EQ(ship.file->serialise(), before);
    EXPECT_TRUE(ship.sink.messages.empty());
}

TEST(OpenAnimation, AnEmptyFramesBlockGetsOneZeroFrame)
{
    LoadedShip ship(animated({{500, {1, 2, 3}, {4, 5, 6}}}));
    auto blocks = openAnimation(*ship.file, 0);
    ASSERT_TRUE(deleteFrame(*blocks->frames, 0));
    EXPECT_EQ(blocks->frames->count(), 0u);

    blocks = openAnimation(*ship.file, 0);
    EXPECT_EQ(blocks->frames->count(), 1u);
    EXPECT_EQ(blocks->frames->records(), std::vector<std::uint8_t>(28, 0));
}

TEST(AnimationFrames, AnglesShowInDegreesAndStoreInRadians)
{
    LoadedShip ship(animated({{0, {1.0f, 0.0000001f, 0}, {0, 0, 0}}}));
    ShipBlock& frames = *openAnimation(*ship.file, 0)->frames;
    const auto frame = readFrame(frames, 0);
    EXPECT_EQ(angleText(frame->rotation.x), "57.295780");
    EXPECT_EQ(angleText(frame->rotation.y), "0.000006");

    // Showing a frame writes back the parse of its text.
    ASSERT_TRUE(setFrameRotation(frames, 0, Axis::Y, *parseReal(angleText(frame->rotation.y))));
    EXPECT_NEAR(readFrame(frames, 0)->rotation.y, 0.00000010472, 1e-11);
    EXPECT_EQ(readFrame(frames, 0)->rotation.x, 1.0f) << "other axes untouched";
}

TEST(AnimationFrames, NewAndDeleteKeepTheOrder)
{
    LoadedShip ship(animated({{10, {}, {}}, {20, {}, {}}, {30, {}, {}}}));
    ShipBlock& frames = *openAnimation(*ship.file, 0)->frames;
    ASSERT_TRUE(appendFrame(*ship.file, frames));
    EXPECT_EQ(frameTimes(frames), (std::vector<std::int32_t>{10, 20, 30, 0}));
    EXPECT_EQ(frames.record(3).size(), 28u);

    ASSERT_TRUE(deleteFrame(frames, 1));
    EXPECT_EQ(frameTimes(frames), (std::vector<std::int32_t>{10, 30, 0}));
    EXPECT_FALSE(deleteFrame(frames, 3));
    EXPECT_FALSE(deleteFrame(frames, -1));
    EXPECT_EQ(frameLabel(2), "Frame 2");
}

TEST(AnimationFrames, AFullBlockTakesNoNewFrame)
{
    LoadedShip ship(animated({{1, {}, {}}}));
    ShipBlock& frames = *openAnimation(*ship.file, 0)->frames;
    ASSERT_TRUE(frames.resizeRecords(0xFFFF));
    EXPECT_FALSE(appendFrame(*ship.file, frames));
    EXPECT_EQ(frames.count(), 0xFFFFu);
    EXPECT_EQ(ship.sink.texts(),
              std::vector<std::string>{std::string(editing::messages::BlockFull.text)});
}

TEST(AnimationFrames, ShortRecordsAreNeverReadOrWrittenPastTheirEnd)
{
    // A header of 20 bytes, shorter than its fields, and frames of 20-byte records: the time,
    // the rotations and the x move fit.
    const auto image = testsupport::BlockBuilder{}
                           .block(0, 24, 1)
                           .block(1, 312, 1)
                           .block(2, 4, 1)
                           .block(10, 20, 1, testsupport::ByteVector(20, 0x11))
                           .block(11, 20, 2, testsupport::ByteVector(40, 0xAB))
                           .end()
                           .build();
    LoadedShip ship(image);
    ShipBlock* header = openAnimation(*ship.file, 0)->header;
    ASSERT_NE(header, nullptr);
    EXPECT_FALSE(readAnimationHeader(header));
    EXPECT_FALSE(setTotalTime(header, 1));
    EXPECT_FALSE(setTrigger(header, "longer than the record"));
    EXPECT_EQ(header->records(), testsupport::ByteVector(20, 0x11));

    ShipBlock& frames = *openAnimation(*ship.file, 0)->frames;
    EXPECT_FALSE(readFrame(frames, 0));
    EXPECT_FALSE(setFrameMove(frames, 0, Axis::Y, 1.0f));
    EXPECT_TRUE(setFrameMove(frames, 1, Axis::X, 1.0f));
    EXPECT_TRUE(setFrameRotation(frames, 0, Axis::Z, 90.0));
    EXPECT_FALSE(setFrameTime(frames, 2, 3));
    EXPECT_FALSE(setFrameTime(frames, -1, 3));
    EXPECT_TRUE(std::all_of(frames.records().begin() + 20, frames.records().begin() + 36,
                            [](std::uint8_t b) { return b == 0xAB; }));
    ASSERT_TRUE(appendFrame(*ship.file, frames));
    EXPECT_EQ(frames.records().size(), 60u);
}
