#include "editing/Animation.h"
#include "editing/AttachmentLabel.h"
#include "editing/AttachmentProperties.h"
#include "editing/Attachments.h"
#include "editing/BlockSwitches.h"
#include "editing/Components.h"
#include "editing/Scaling.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ShipFile.h"
#include "tests/shipfile/ShipFixture.h"

#include <functional>
#include <gtest/gtest.h>

using namespace editing;
using shipfile::ShipFile;
using namespace fixture;

namespace {

std::unique_ptr<ShipFile> load(const std::vector<Block>& blocks)
{
    static shipfile::SilentSink sink;
    return ShipFile::fromBytes(image(blocks), "fixture.shp", sink);
}

shipfile::ShipBlock& frames(ShipFile& file)
{
    return *openAnimation(file, 0)->frames;
}

shipfile::ShipBlock* animationHeader(ShipFile& file)
{
    return openAnimation(file, 0)->header;
}

// A field the command writes: record `record` of the block at `block`, bytes at `offset`.
struct Patch
{
    Index block;
    std::size_t record;
    std::size_t offset;
    std::string_view bytes;
};

struct Edit
{
    const char* name;
    std::function<bool(ShipFile&)> apply;
    std::vector<Patch> patches;
    // Blocks the command adds, removes or resizes, applied before the patches.
    std::function<void(std::vector<Block>&)> reshape = {};
};

} // namespace

TEST(HandWrittenShip, EditingReadsEachField)
{
    auto file = load(ship());
    const auto component = componentProperties(*file, 0);
    ASSERT_TRUE(component);
    EXPECT_EQ(component->name, "Hull");
    EXPECT_EQ(component->role, 3);
    EXPECT_EQ(component->hitPoints, 500);
    EXPECT_EQ(component->hasDebris, true);
    EXPECT_EQ(component->debrisNumber, 7);

    const auto attachment = attachmentProperties(*file, 0, 0);
    ASSERT_TRUE(attachment);
    EXPECT_EQ(attachment->kind, 3);
    EXPECT_EQ(attachment->propertyIndex, 4);
    EXPECT_EQ(attachment->position, (shipfile::Vec3{5, 6, 7}));
    EXPECT_EQ(attachmentLabel(attachmentRecord(*file, 0, 0)),
              "Gun: " + std::string(shipfile::gunModelName(4)));

    const auto header = readAnimationHeader(animationHeader(*file));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->totalTime, 1000);
    EXPECT_EQ(header->type, 1);
    EXPECT_EQ(header->trigger, "fire");
    const auto frame = readFrame(frames(*file), 1);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->time, 500);
    EXPECT_EQ(frame->rotation, (shipfile::Vec3{0, 1.57079637f, 0}));
    EXPECT_EQ(frame->move, (shipfile::Vec3{0, 0, 10}));

    EXPECT_EQ(block13On(*file, 0), true);
    EXPECT_TRUE(block14Present(*file, 0));
    EXPECT_FALSE(dummyTrianglePresent(*file, 0));

    // What the switches and a trigger that fills its field read back as.
    ASSERT_TRUE(toggleBlock13(*file, 0));
    EXPECT_EQ(block13On(*file, 0), false);
    ASSERT_TRUE(toggleDummyTriangle(*file, 0));
    EXPECT_TRUE(dummyTrianglePresent(*file, 0));
    ASSERT_TRUE(setTrigger(animationHeader(*file), "abcdefghijklmnopq"));
    EXPECT_EQ(readAnimationHeader(animationHeader(*file))->trigger, "abcdefghijklmnop");
}

TEST(HandWrittenShip, EachCommandWritesItsFieldsAndNothingElse)
{
    const std::string_view one = "0000803f";
    std::string fiftyN;
    for (int i = 0; i < 50; ++i)
        fiftyN += "6e";
    fiftyN += "00";
    const std::vector<Edit> edits = {
        {"short name keeps the old bytes after its nul",
         [](ShipFile& f) { return setComponentName(f, 0, "Hu"); },
         {{Components, 0, 0, "487500"}}},
        {"long name stops at fifty characters",
         [](ShipFile& f) { return setComponentName(f, 0, std::string(60, 'n')); },
         {{Components, 0, 0, fiftyN}}},
        {"role",
         [](ShipFile& f) { return cycleComponentRole(f, 0).has_value(); },
         {{Components, 0, 64, "00000000"}}},
        {"origin",
         [](ShipFile& f) {
             return moveComponentOrigin(f, 0, {1, 1, 1});
         },
         {{Components, 0, 68, "00000040 000080bf 00008040"}}},
        {"debris number",
         [](ShipFile& f) { return setComponentDebrisNumber(f, 0, 9); },
         {{Components, 0, 212, "09000000"}}},
        {"debris",
         [](ShipFile& f) { return setComponentHasDebris(f, 0, false); },
         {{Components, 0, 240, "00000000"}}},
        {"debris off and on again is stored as 48",
         [](ShipFile& f) {
             return setComponentHasDebris(f, 0, false) && setComponentHasDebris(f, 0, true);
         },
         {}},
        {"hit points",
         [](ShipFile& f) { return setComponentHitPoints(f, 0, 1234); },
         {{Components, 0, 260, "d2040000"}}},
        {"ship class",
         [](ShipFile& f) { return changeShipClass(f).has_value(); },
         {{Header, 0, 20, "00"}}},
        {"total time",
         [](ShipFile& f) { return setTotalTime(animationHeader(f), 2000); },
         {{Animation, 0, 0, "d0070000"}}},
        {"animation type",
         [](ShipFile& f) { return setAnimationType(animationHeader(f), 2); },
         {{Animation, 0, 4, "0200"}}},
        {"trigger",
         [](ShipFile& f) { return setTrigger(animationHeader(f), "go"); },
         {{Animation, 0, 6, "676f 0000 0000 0000 0000 0000 0000 0000"}}},
        {"trigger cut to sixteen bytes",
         [](ShipFile& f) { return setTrigger(animationHeader(f), "abcdefghijklmnopqrst"); },
         {{Animation, 0, 6, "61626364 65666768 696a6b6c 6d6e6f70"}}},
        {"frame time",
         [](ShipFile& f) { return setFrameTime(frames(f), 1, 750); },
         {{Frames, 1, 0, "ee020000"}}},
        {"frame rotation",
         [](ShipFile& f) { return setFrameRotation(frames(f), 1, Axis::Z, 90); },
         {{Frames, 1, 12, "db0fc93f"}}},
        {"frame move",
         [](ShipFile& f) { return setFrameMove(frames(f), 1, Axis::X, 2.5f); },
         {{Frames, 1, 16, "00002040"}}},
        {"attachment move",
         [](ShipFile& f) {
             return moveAttachment(f, 0, 0, {1, 2, 3});
         },
         {{Attachments, 0, 4, "0000c040 00000041 00002041"}}},
        {"attachment position",
         [](ShipFile& f) {
             return setAttachmentPosition(f, 0, 0, {1, 2, 3});
         },
         {{Attachments, 0, 4, "0000803f 00000040 00004040"}}},
        {"gun index",
         [](ShipFile& f) { return setAttachmentProperty(f, 0, 0, 7); },
         {{Attachments, 0, 100, "07000000"}}},
        {"scale",
         [](ShipFile& f) { return scaleShip(f, 2, ScaleDirection::Larger, false, 0); },
         {{Components, 0, 68, "00000040 000080c0 0000c040"},
          {Attachments, 0, 4, "00002041 00004041 00006041"},
          {Vertices, 1, 0, "0000a041"},
          {Vertices, 2, 4, "00002042"},
          {Vertices, 3, 0, "0000a041 00002042"}}},
        {"scale smaller",
         [](ShipFile& f) { return scaleShip(f, 2, ScaleDirection::Smaller, false, 0); },
         {{Components, 0, 68, "0000003f 000080bf 0000c03f"},
          {Attachments, 0, 4, "00002040 00004040 00006040"},
          {Vertices, 1, 0, "0000a040"},
          {Vertices, 2, 4, "00002041"},
          {Vertices, 3, 0, "0000a040 00002041"}}},
        {"scale one section leaves the origin",
         [](ShipFile& f) { return scaleShip(f, 2, ScaleDirection::Larger, true, 0); },
         {{Attachments, 0, 4, "00002041 00004041 00006041"},
          {Vertices, 1, 0, "0000a041"},
          {Vertices, 2, 4, "00002042"},
          {Vertices, 3, 0, "0000a041 00002042"}}},
        {"remove attachment",
         [](ShipFile& f) { return removeAttachment(f, 0, 0).has_value(); },
         {},
         [](std::vector<Block>& b) {
             b[Attachments] = {"0900 a800 0000", {}};
         }},
        {"copy attachment",
         [](ShipFile& f) { return copyAttachment(f, 0, 0); },
         {},
         [](std::vector<Block>& b) {
             b[Attachments].header = "0900 a800 0200";
             b[Attachments].records.push_back(b[Attachments].records[0]);
         }},
        {"mirror attachment",
         [](ShipFile& f) { return copyAttachmentMirrored(f, 0, 0); },
         {{Attachments, 1, 4, "0000a0c0"}},
         [](std::vector<Block>& b) {
             b[Attachments].header = "0900 a800 0200";
             b[Attachments].records.push_back(b[Attachments].records[0]);
         }},
        {"delete frame",
         [](ShipFile& f) { return deleteFrame(frames(f), 1); },
         {},
         [](std::vector<Block>& b) {
             b[Frames] = {"0b00 1c00 0100", {{}}};
         }},
        {"block 13 off",
         [](ShipFile& f) { return toggleBlock13(f, 0); },
         {},
         [](std::vector<Block>& b) {
             b[Block13] = {"0d00 0400 0000", {}};
         }},
        {"block 13 off and on again",
         [](ShipFile& f) { return toggleBlock13(f, 0) && toggleBlock13(f, 0); },
         {}},
        {"block 14 off and on again",
         [](ShipFile& f) { return toggleBlock14(f, 0) == false && toggleBlock14(f, 0) == true; },
         {}},
        {"block 14 off",
         [](ShipFile& f) { return toggleBlock14(f, 0).has_value(); },
         {},
         [](std::vector<Block>& b) { b.erase(b.begin() + Block14a, b.begin() + Block14b + 1); }},
        {"dummy triangle",
         [](ShipFile& f) { return toggleDummyTriangle(f, 0); },
         {},
         [](std::vector<Block>& b) {
             b[Faces].header = "0300 5000 0200";
             b[Faces].records.push_back({{0, "01000000"}, {4, "17000000"}});
         }},
        {"dummy triangle on and off again",
         [](ShipFile& f) { return toggleDummyTriangle(f, 0) && toggleDummyTriangle(f, 0); },
         {}},
        {"box",
         [](ShipFile& f) { return createBox(f, 0); },
         {{Header, 0, 20, "01"},
          {Boxes, 0, 4, one},
          {Boxes, 0, 20, one},
          {Boxes, 0, 36, one},
          {Boxes, 0, 40, "0000a040 00002041 00000000"},
          {Boxes, 0, 52, "0000a040 00002041 00000000"},
          {Boxes, 0, 64, "ffffffff ffffffff"}},
         [](std::vector<Block>& b) {
             b[Boxes] = {"0700 4800 0100", {{}}};
             b.insert(b.begin() + Faces + 1, {"0800 0400 0100", {{}}});
         }},
        {"box, then cleared: the ship class stays",
         [](ShipFile& f) { return createBox(f, 0) && clearBoxes(f, 0); },
         {{Header, 0, 20, "01"}}},
        {"delete the only component",
         [](ShipFile& f) { return deleteComponent(f, 0); },
         {},
         [](std::vector<Block>& b) {
             b.erase(b.begin() + Section, b.end());
             b[Components] = {"0100 3801 0000", {}};
         }},
    };
    for (const Edit& edit : edits) {
        auto file = load(ship());
        ASSERT_TRUE(edit.apply(*file)) << edit.name;
        std::vector<Block> expected = ship();
        if (edit.reshape)
            edit.reshape(expected);
        for (const Patch& p : edit.patches)
            expected[p.block].records[p.record].push_back({p.offset, p.bytes});
        EXPECT_EQ(file->serialise(), image(expected)) << edit.name;
    }
}
