#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/ShipFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The document side of the animation editor: a component's animation header (record 0 of its
// type-10 block) and its key frames (the 28-byte records of its type-11 block). Fields are read
// and written only where they lie wholly inside a record, whatever record size a file declares.
namespace editing {

/// The blocks the editor works on; neither is owned. `header` is null when the section has no
/// type-10 block.
struct AnimationBlocks
{
    shipfile::ShipBlock* header = nullptr;
    shipfile::ShipBlock* frames = nullptr;
};

/// Finds the component's frames block, creating it when the section has none (one all-zero
/// frame, linked after the section's last type-6 block, or after its last block without one),
/// and gives an empty one a zero frame; the created frame stays in the file. Then finds the
/// header block, showing "Missing Block10" when there is none. Nothing for a component without
/// a section or with an empty one.
std::optional<AnimationBlocks> openAnimation(shipfile::ShipFile& file, int component);

/// The animation types by stored value.
inline constexpr std::array<std::string_view, 4> AnimationTypeNames = {"Stop", "Play", "Loop",
                                                                       "PingPong"};

struct AnimationHeader
{
    std::int32_t totalTime = 0;
    std::int16_t type = 0; // any value; only 0..3 name a type
    std::string trigger;   // up to the first NUL, at most 16 characters
};

/// Nothing without a header record of at least 22 bytes; the setters then write nothing.
std::optional<AnimationHeader> readAnimationHeader(const shipfile::ShipBlock* header);
bool setTotalTime(shipfile::ShipBlock* header, std::int32_t totalTime);
bool setAnimationType(shipfile::ShipBlock* header, std::int16_t type);
/// Stores the first 16 bytes of `trigger`, padded with NULs; 16 or more leave no NUL.
bool setTrigger(shipfile::ShipBlock* header, std::string_view trigger);

struct AnimationFrame
{
    std::int32_t time = 0;
    shipfile::Vec3 rotation; // radians
    shipfile::Vec3 move;
};

enum class Axis
{
    X,
    Y,
    Z,
};

/// Frame `frame`, or nothing when the block has no such 28-byte record.
std::optional<AnimationFrame> readFrame(const shipfile::ShipBlock& frames, int frame);
bool setFrameTime(shipfile::ShipBlock& frames, int frame, std::int32_t time);
/// Stores an angle typed in degrees as single-precision radians.
bool setFrameRotation(shipfile::ShipBlock& frames, int frame, Axis axis, double degrees);
bool setFrameMove(shipfile::ShipBlock& frames, int frame, Axis axis, float move);

/// A stored angle in degrees, computed in double precision.
double degreesFromRadians(float radians);
/// A typed angle in radians, as stored.
float radiansFromDegrees(double degrees);
/// The text an angle field shows: degrees with six decimals (1 radian gives "57.295780").
std::string angleText(float radians);

/// Appends an all-zero frame. A block already holding 65535 frames takes no more (after a
/// message).
bool appendFrame(shipfile::ShipFile& file, shipfile::ShipBlock& frames);
/// Removes frame `frame`, keeping the order of the others; the only frame may go too.
bool deleteFrame(shipfile::ShipBlock& frames, int frame);

/// The frames list's entry for record `frame`: "Frame 0", "Frame 1", ...
std::string frameLabel(int frame);

} // namespace editing
