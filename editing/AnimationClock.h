#pragma once

#include "editing/Animation.h"
#include "shipfile/Bytes.h"
#include "shipfile/ComponentParts.h"

#include <optional>
#include <vector>

// Playback of a component's animation in the view: where its key frames put it at a moment.
// Nothing here is saved; the header and frames are only read.
//
// The game's own timing is not documented, so the view assumes: a frame's time is the moment,
// in milliseconds from the start of a pass, at which the component reaches the frame's pose;
// before the first frame's moment it moves there from its pose as modelled (no turn, no move).
// Between two frames rotation and move change linearly. A frame whose moment lies before the
// one of the frame above it is reached at that earlier frame's moment. A pass lasts the total
// time, or up to the last frame's moment when that is later; the last frame holds for what is
// left. The header's type decides what follows a pass: Stop plays nothing, Play holds the last
// frame, Loop starts the next pass, PingPong plays the pass backwards and then forwards again.
namespace editing {

/// Where an animated component stands: turned about its origin by `rotation` (radians about X,
/// then Y, then Z) and then moved by `move`, in the component's own frame.
struct Pose
{
    shipfile::Vec3 rotation;
    shipfile::Vec3 move;
    friend bool operator==(const Pose&, const Pose&) = default;
};

/// The pose `ms` milliseconds after playback began; nothing when the animation does not play
/// (no frames, type Stop, or a type value that names no type), so the component rests as
/// modelled. A negative moment counts as the start.
std::optional<Pose> poseAt(const AnimationHeader& header, const std::vector<AnimationFrame>& frames,
                           double ms);

/// A component's pose at `ms`, from the first type-10 and type-11 blocks of its section;
/// nothing without a whole header record or frames, or when it does not play.
std::optional<Pose> componentPose(const shipfile::ComponentParts& parts, double ms);

} // namespace editing
