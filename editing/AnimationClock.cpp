#include "editing/AnimationClock.h"

#include "shipfile/Layout.h"

#include <algorithm>
#include <cmath>

namespace editing {

namespace {

enum class EndType : std::int16_t
{
    Stop = 0,
    Play = 1,
    Loop = 2,
    PingPong = 3,
};

struct Key
{
    double ms = 0;
    Pose pose;
};

float mix(float a, float b, double f)
{
    return static_cast<float>(a + (b - a) * f);
}

shipfile::Vec3 mix(shipfile::Vec3 a, shipfile::Vec3 b, double f)
{
    return {mix(a.x, b.x, f), mix(a.y, b.y, f), mix(a.z, b.z, f)};
}

// Where in one pass of `length` milliseconds the moment `ms` of playback falls.
double momentInPass(EndType type, double length, double ms)
{
    if (length <= 0)
        return 0;
    switch (type) {
    case EndType::Loop:
        return std::fmod(ms, length);
    case EndType::PingPong: {
        const double u = std::fmod(ms, 2 * length);
        return u > length ? 2 * length - u : u;
    }
    default:
        return std::min(ms, length);
    }
}

} // namespace

std::optional<Pose> poseAt(const AnimationHeader& header, const std::vector<AnimationFrame>& frames,
                           double ms)
{
    const auto type = static_cast<EndType>(header.type);
    if (frames.empty() ||
        (type != EndType::Play && type != EndType::Loop && type != EndType::PingPong))
        return std::nullopt;

    std::vector<Key> keys;
    keys.reserve(frames.size() + 1);
    double last = 0;
    for (const AnimationFrame& frame : frames) {
        last = std::max(last, static_cast<double>(frame.time));
        keys.push_back({last, {frame.rotation, frame.move}});
    }
    if (keys.front().ms > 0)
        keys.insert(keys.begin(), Key{});

    const double length = std::max(static_cast<double>(header.totalTime), last);
    const double t = momentInPass(type, length, std::max(ms, 0.0));
    // The first key after t; the pose lies between it and the one before (the first key is at
    // 0, so there always is one before). Several keys at one moment: the last of them holds.
    const auto next = std::upper_bound(keys.begin(), keys.end(), t,
                                       [](double moment, const Key& k) { return moment < k.ms; });
    const Key& from = *std::prev(next);
    if (next == keys.end())
        return from.pose;
    const double f = (t - from.ms) / (next->ms - from.ms);
    return Pose{mix(from.pose.rotation, next->pose.rotation, f),
                mix(from.pose.move, next->pose.move, f)};
}

std::optional<Pose> componentPose(const shipfile::ComponentParts& parts, double ms)
{
    namespace type = shipfile::layout::type;
    if (!parts.section)
        return std::nullopt;
    const shipfile::ShipBlock* header = nullptr;
    const shipfile::ShipBlock* framesBlock = nullptr;
    for (const shipfile::ShipBlock* b = parts.section->next(); b && b != parts.sectionEnd;
         b = b->next()) {
        if (b->type == type::AnimationHeader && !header)
            header = b;
        else if (b->type == type::AnimationFrames && !framesBlock)
            framesBlock = b;
    }
    const std::optional<AnimationHeader> h = readAnimationHeader(header);
    if (!h || !framesBlock)
        return std::nullopt;
    std::vector<AnimationFrame> frames;
    for (std::size_t k = 0; k < framesBlock->count(); ++k) {
        const auto frame = readFrame(*framesBlock, static_cast<int>(k));
        if (!frame)
            break;
        frames.push_back(*frame);
    }
    return poseAt(*h, frames, ms);
}

} // namespace editing
