// One hand-made ship per check: each holds exactly the fault its check names, and the checks
// find that fault, where it is, and nothing else. Sound ships give no findings.
#include "checks/Checks.h"

#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace testsupport;
namespace lay = shipfile::layout;
using checks::Finding;
using checks::Severity;

// A sound one-component ship: a textured cube in its box, a missile mount on its hull.
Ship soundShip()
{
    Ship ship;
    Component c;
    c.name = "Hull";
    c.textures = {"plate"};
    addCuboid(c, {0, 0, 0}, {20, 20, 20});
    c.boxes.push_back(boundingBox(c));
    c.attachments.push_back(Attachment{0, {0, 10, 0}});
    ship.components.push_back(c);
    return ship;
}

// Where block `index` of a plain image starts.
std::size_t blockOffset(const ByteVector& image, std::size_t index)
{
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index; ++i)
        offset += lay::BlockHeaderSize + std::size_t{shipfile::readU16(image, offset + 2).value()} *
                                             shipfile::readU16(image, offset + 4).value();
    return offset;
}

// Rewrites a 16-bit field of the header of block `index` (0 type, 2 record size, 4 count).
ByteVector patched(ByteVector image, std::size_t index, std::size_t field, std::uint16_t value)
{
    shipfile::writeU16(image, blockOffset(image, index) + field, value);
    return image;
}

// The index of the `nth` block of `type` in the image.
std::size_t blockOf(const ByteVector& image, std::uint16_t type, int nth = 0)
{
    for (std::size_t i = 0, offset = 0; offset < image.size(); ++i) {
        if (shipfile::readU16(image, offset) == type && nth-- == 0)
            return i;
        offset = blockOffset(image, i + 1);
    }
    ADD_FAILURE() << "no such block";
    return 0;
}

ByteVector sound(const std::function<void(Component&)>& change)
{
    Ship ship = soundShip();
    change(ship.components[0]);
    return buildShip(ship);
}

struct Case
{
    const char* check;
    Severity severity;
    ByteVector image;
    /// Where the first finding of the check is: component, block (-1 none), record (-1 none).
    int component;
    int block;
    int record;
    std::vector<std::string> cache = {"plate"};
};

std::vector<Finding> checked(const ByteVector& image, const std::vector<std::string>* cache)
{
    RecordingSink sink;
    const auto file = shipfile::ShipFile::fromBytes(image, "test.shp", sink);
    return checks::checkShip(*file, cache);
}

TEST(Checks, EachFaultIsFoundWhereItIsAndAlone)
{
    const ByteVector base = buildShip(soundShip());
    Ship twoParts = soundShip();
    twoParts.components.push_back(twoParts.components[0]);
    const ByteVector two = buildShip(twoParts);
    Ship reduced = soundShip();
    reduced.componentRecordSize = 200;
    Ship animated = soundShip();
    animated.components[0].animation = Animation{};
    animated.components[0].animation->frames = {{}, {500, {0, 1, 0}, {}}};
    const ByteVector frames = buildShip(animated);
    Ship switchedOn = soundShip();
    switchedOn.components[0].block13On = true;
    const ByteVector block13 = buildShip(switchedOn);
    const std::size_t faces = blockOf(base, lay::type::Faces);
    const std::size_t vertices = blockOf(base, lay::type::Vertices);
    const std::size_t attachments = blockOf(base, lay::type::Attachments);
    const std::size_t last = blockOf(base, lay::type::Marker16);
    const float nan = std::nanf("");

    const std::vector<Case> cases = {
        {"file-truncated", Severity::Error, patched(base, last, 4, 100), -1, static_cast<int>(last),
         -1},
        {"file-start", Severity::Error, patched(base, 0, 0, 5), -1, -1, -1},
        {"component-count", Severity::Error,
         patched(two, blockOf(two, lay::type::SectionStart, 1), 0, lay::type::Marker12), -1, 1, -1},
        {"missing-attachment-block", Severity::Error,
         sound([](Component& c) { c.withAttachmentBlock = false; }), 0, 2, -1},
        {"missing-geometry", Severity::Error, sound([](Component& c) { c.withFaceBlock = false; }),
         0, 2, -1},
        {"record-size", Severity::Error, buildShip(reduced), -1, 1, -1},
        {"face-vertex-range", Severity::Error, sound([](Component& c) { c.faces[3].b = 99; }), 0,
         static_cast<int>(faces), 3},
        {"face-texture-range", Severity::Error, sound([](Component& c) { c.faces[4].texture = 1; }),
         0, static_cast<int>(faces), 4},
        {"non-finite", Severity::Error, sound([&](Component& c) { c.vertices[2].y = nan; }), 0,
         static_cast<int>(vertices), 2},
        {"non-finite", Severity::Error, sound([&](Component& c) { c.faces[5].u[1] = nan; }), 0,
         static_cast<int>(faces), 5},
        {"non-finite", Severity::Error,
         sound([&](Component& c) { c.attachments[0].position.z = INFINITY; }), 0,
         static_cast<int>(attachments), 0},
        {"non-finite", Severity::Error,
         sound([&](Component& c) { c.boxes[0].halfExtents.x = nan; }), 0,
         static_cast<int>(blockOf(base, lay::type::Boxes)), 0},
        {"non-finite", Severity::Error, sound([&](Component& c) { c.origin.x = nan; }), 0, 1, 0},
        {"frames-without-header", Severity::Error,
         patched(frames, blockOf(frames, lay::type::AnimationHeader), 0, lay::type::Marker12), 0,
         static_cast<int>(blockOf(frames, lay::type::AnimationFrames)), -1},
        {"block14-unpaired", Severity::Error, sound([](Component& c) { c.block14Count = 3; }), 0,
         static_cast<int>(blockOf(base, lay::type::Marker16)) + 2, -1},
        {"block13-count", Severity::Error,
         patched(patched(block13, blockOf(block13, lay::type::Block13), 2, 8),
                 blockOf(block13, lay::type::Block13), 4, 1),
         0, static_cast<int>(blockOf(block13, lay::type::Block13)), -1},
        {"texture-missing",
         Severity::Warning,
         base,
         0,
         static_cast<int>(blockOf(base, lay::type::TextureNames)),
         0,
         {"PLATE2"}},
        {"degenerate-face", Severity::Warning,
         sound([](Component& c) { c.faces[6].c = c.faces[6].b; }), 0, static_cast<int>(faces), 6},
        {"normal-length", Severity::Warning, sound([](Component& c) {
             c.faces[7].normal = {0, 0, 0.5f};
         }),
         0, static_cast<int>(faces), 7},
        {"attachment-kind", Severity::Warning,
         sound([](Component& c) { c.attachments[0].kind = 7; }), 0, static_cast<int>(attachments),
         0},
        {"attachment-model", Severity::Warning, sound([](Component& c) {
             c.attachments.push_back(Attachment{4, {}, 6});
         }),
         0, static_cast<int>(attachments), 1},
        {"attachment-far", Severity::Warning, sound([](Component& c) {
             c.attachments[0].position = {0, 40, 0};
         }),
         0, static_cast<int>(attachments), 0},
        {"attachment-matrix", Severity::Warning, sound([](Component& c) {
             c.attachments[0].keepTemplateMatrix = false;
             c.attachments[0].matrix[0] = -1; // a mirror
         }),
         0, static_cast<int>(attachments), 0},
        {"box-not-enclosing", Severity::Warning,
         sound([](Component& c) { c.boxes[0].halfExtents.y = 9; }), 0,
         static_cast<int>(blockOf(base, lay::type::Boxes)), 0},
        {"vertex-unused", Severity::Warning, sound([](Component& c) { c.vertices.push_back({}); }),
         0, static_cast<int>(vertices), 8},
        {"component-name", Severity::Warning,
         sound([](Component& c) { c.name = std::string(51, 'x'); }), 0, 1, 0},
        {"component-name", Severity::Warning, sound([](Component& c) { c.name = "Hull\t2"; }), 0, 1,
         0},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        const std::vector<Finding> findings = checked(c.image, &c.cache);
        ASSERT_FALSE(findings.empty());
        std::set<std::string_view> names;
        for (const Finding& f : findings)
            names.insert(f.check);
        EXPECT_EQ(names, std::set<std::string_view>{c.check});
        const Finding& f = findings.front();
        EXPECT_EQ(f.severity, c.severity);
        EXPECT_FALSE(f.message.empty());
        EXPECT_EQ(f.component.value_or(-1), c.component);
        if (f.component && f.check != "component-name") {
            EXPECT_EQ(f.componentName, "Hull");
        }
        EXPECT_EQ(f.block ? static_cast<int>(*f.block) : -1, c.block);
        EXPECT_EQ(f.record ? static_cast<int>(*f.record) : -1, c.record);
    }
}

TEST(Checks, SoundShipsGiveNoFindings)
{
    std::vector<std::string> cache = demoTextureNames();
    cache.push_back("plate");
    for (const Ship& ship : {soundShip(), demoFighter(), demoCapitalShip(), demoCargoPod()}) {
        const std::vector<Finding> findings = checked(buildShip(ship), &cache);
        for (const Finding& f : findings)
            ADD_FAILURE() << f.check << " in component " << f.component.value_or(-1) << ": "
                          << f.message;
    }
}

TEST(Checks, ManyFaultsOfOneKindFoldIntoOneLineAfterTheLimit)
{
    const ByteVector image = sound([](Component& c) {
        for (int i = 0; i < 70; ++i)
            c.faces.push_back(Face{0, 1, 99});
    });
    const std::vector<Finding> findings = checked(image, nullptr);
    ASSERT_EQ(findings.size(), checks::RecordFindingsLimit + 1);
    EXPECT_EQ(findings.back().items.size(), 70 - checks::RecordFindingsLimit);
    EXPECT_EQ(checks::countsText(checks::countFindings(findings)), "51 errors, 0 warnings");
    EXPECT_EQ(checks::countsText({1, 1}), "1 error, 1 warning");
}

} // namespace
