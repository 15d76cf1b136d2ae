#include "editing/AnimationClock.h"

#include "tests/support/LoadedShip.h"

#include <gtest/gtest.h>

using namespace editing;

namespace {

constexpr std::int16_t Stop = 0, Play = 1, Loop = 2, PingPong = 3;

AnimationFrame frame(std::int32_t time, float turnX, float moveZ = 0)
{
    return {time, {turnX, 0, 0}, {0, 0, moveZ}};
}

// Turns to 1 at 1000 ms and to 3 (moving 6 along z) at 3000 ms; the pass lasts 4000 ms.
const std::vector<AnimationFrame> Keys = {frame(0, 0), frame(1000, 1), frame(3000, 3, 6)};

struct Row
{
    const char* what;
    std::int16_t type;
    std::int32_t totalTime;
    std::vector<AnimationFrame> frames;
    double ms;
    std::optional<float> turnX; // nothing: the component rests as modelled
    float moveZ = 0;
};

TEST(AnimationClock, InterpolatesFramesAndEndsAsTheTypeSays)
{
    const std::vector<Row> rows = {
        {"between the first frames", Loop, 4000, Keys, 500, 0.5f},
        {"rotation and move together", Loop, 4000, Keys, 2000, 2.0f, 3.0f},
        {"the last frame holds to the total time", Loop, 4000, Keys, 3500, 3.0f, 6.0f},
        {"a loop starts again", Loop, 4000, Keys, 4500, 0.5f},
        {"play holds the last frame", Play, 4000, Keys, 100000, 3.0f, 6.0f},
        {"ping-pong plays the pass backwards", PingPong, 4000, Keys, 6000, 2.0f, 3.0f},
        {"and then forwards again", PingPong, 4000, Keys, 8500, 0.5f},
        {"a total time shorter than the frames", Loop, 1000, Keys, 3500, 0.5f},
        {"stop plays nothing", Stop, 4000, Keys, 500, std::nullopt},
        {"a type that names none", 7, 4000, Keys, 500, std::nullopt},
        {"no frames", Loop, 4000, {}, 500, std::nullopt},
        {"one frame starts from the modelled pose", Loop, 0, {frame(2000, 2)}, 500, 0.5f},
        {"a frame whose moment is earlier jumps at the one above",
         Play, 0, {frame(2000, 2), frame(1000, 5)}, 1999, 1.999f},
        {"and holds from there", Play, 0, {frame(2000, 2), frame(1000, 5)}, 2000, 5.0f},
        {"all at moment zero: the last frame, still", Loop, 0, {frame(0, 1), frame(0, 4)}, 700,
         4.0f},
        {"a moment before the start", Loop, 4000, Keys, -300, 0.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto pose = poseAt({row.totalTime, row.type, ""}, row.frames, row.ms);
        ASSERT_EQ(pose.has_value(), row.turnX.has_value());
        if (!pose)
            continue;
        EXPECT_NEAR(pose->rotation.x, *row.turnX, 1e-4);
        EXPECT_NEAR(pose->move.z, row.moveZ, 1e-4);
        EXPECT_EQ(pose->rotation.y, 0.0f);
    }
}

TEST(AnimationClock, ReadsEachComponentsOwnBlocks)
{
    testsupport::Ship ship;
    testsupport::Component turret;
    turret.animation = testsupport::Animation{4000, Loop, "always", {{1000, {0, 2, 0}, {}}}};
    testsupport::Component hull;
    hull.animation = testsupport::Animation{4000, Stop, "", {{1000, {0, 2, 0}, {}}}};
    testsupport::Component plain;
    ship.components = {turret, hull, plain};
    const LoadedShip loaded(ship);

    const auto pose = componentPose(shipfile::componentParts(*loaded.file, 0), 250);
    ASSERT_TRUE(pose);
    EXPECT_NEAR(pose->rotation.y, 0.5f, 1e-6);
    EXPECT_FALSE(componentPose(shipfile::componentParts(*loaded.file, 1), 250));
    EXPECT_FALSE(componentPose(shipfile::componentParts(*loaded.file, 2), 250));
    EXPECT_FALSE(componentPose(shipfile::componentParts(*loaded.file, 3), 250));
}

} // namespace
