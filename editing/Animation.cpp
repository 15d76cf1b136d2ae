#include "editing/Animation.h"

#include "editing/BlockChain.h"
#include "editing/Messages.h"
#include "editing/NumberText.h"
#include "shipfile/Layout.h"

#include <algorithm>
#include <vector>

namespace editing {

using shipfile::MutableBytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
namespace lay = shipfile::layout;

namespace {

constexpr double DegreesPerRadian = 57.29577951308232;
constexpr double RadiansPerDegree = 0.017453292519943295;

// The frames block goes after the section's last type-6 block, or after its last block.
ShipBlock* framesPlace(const Section& section)
{
    ShipBlock* lastTextures = nullptr;
    ShipBlock* last = section.start;
    for (ShipBlock* b = section.start->next(); b && b != section.end; b = b->next()) {
        if (b->type == lay::type::TextureNames)
            lastTextures = b;
        last = b;
    }
    return lastTextures ? lastTextures : last;
}

// Record 0 of the header block, when it holds every header field.
MutableBytes headerRecord(ShipBlock* header)
{
    if (!header)
        return {};
    const MutableBytes record = header->record(0);
    if (record.size() < lay::animationHeader::MinimumRecordSize)
        return {};
    return record;
}

MutableBytes frameRecord(ShipBlock& frames, int frame)
{
    return frame < 0 ? MutableBytes{} : frames.record(static_cast<std::size_t>(frame));
}

std::size_t axisOffset(std::size_t first, Axis axis)
{
    return first + 4 * static_cast<std::size_t>(axis);
}

} // namespace

std::optional<AnimationBlocks> openAnimation(ShipFile& file, int component)
{
    if (file.empty() || component < 0)
        return std::nullopt;
    const Section section = sectionOf(file, component);
    if (!section.start || !section.start->next() || section.start->next() == section.end)
        return std::nullopt;

    ShipBlock* first = section.start->next();
    AnimationBlocks blocks;
    blocks.frames = findBefore(first, section.end, lay::type::AnimationFrames);
    if (!blocks.frames) {
        blocks.frames = file.insertAfter(
            *framesPlace(section), std::make_unique<ShipBlock>(lay::type::AnimationFrames,
                                                               lay::animationFrame::RecordSize, 1));
    }
    if (blocks.frames->count() == 0) {
        blocks.frames->resizeRecords(1);
    }
    blocks.header = findBefore(first, section.end, lay::type::AnimationHeader);
    if (!blocks.header)
        file.sink().show(messages::MissingAnimationHeader.box());
    return blocks;
}

std::optional<AnimationHeader> readAnimationHeader(const ShipBlock* header)
{
    const MutableBytes record = headerRecord(const_cast<ShipBlock*>(header));
    if (record.empty())
        return std::nullopt;
    AnimationHeader out;
    out.totalTime = *shipfile::readI32(record, lay::animationHeader::TotalTime);
    out.type = *shipfile::readI16(record, lay::animationHeader::AnimationType);
    out.trigger = shipfile::readString(record, lay::animationHeader::Trigger,
                                       lay::animationHeader::TriggerSize);
    return out;
}

bool setTotalTime(ShipBlock* header, std::int32_t totalTime)
{
    return shipfile::writeI32(headerRecord(header), lay::animationHeader::TotalTime, totalTime);
}

bool setAnimationType(ShipBlock* header, std::int16_t type)
{
    return shipfile::writeI16(headerRecord(header), lay::animationHeader::AnimationType, type);
}

bool setTrigger(ShipBlock* header, std::string_view trigger)
{
    const MutableBytes record = headerRecord(header);
    if (record.empty())
        return false;
    const MutableBytes field =
        record.subspan(lay::animationHeader::Trigger, lay::animationHeader::TriggerSize);
    std::fill(field.begin(), field.end(), std::uint8_t{0});
    std::copy_n(trigger.begin(), std::min(trigger.size(), field.size()), field.begin());
    return true;
}

std::optional<AnimationFrame> readFrame(const ShipBlock& frames, int frame)
{
    const MutableBytes record = frameRecord(const_cast<ShipBlock&>(frames), frame);
    if (record.size() < lay::animationFrame::RecordSize)
        return std::nullopt;
    return AnimationFrame{*shipfile::readI32(record, lay::animationFrame::Time),
                          *shipfile::readVec3(record, lay::animationFrame::Rotation),
                          *shipfile::readVec3(record, lay::animationFrame::Move)};
}

bool setFrameTime(ShipBlock& frames, int frame, std::int32_t time)
{
    return shipfile::writeI32(frameRecord(frames, frame), lay::animationFrame::Time, time);
}

bool setFrameRotation(ShipBlock& frames, int frame, Axis axis, double degrees)
{
    return shipfile::writeF32(frameRecord(frames, frame),
                              axisOffset(lay::animationFrame::Rotation, axis),
                              radiansFromDegrees(degrees));
}

bool setFrameMove(ShipBlock& frames, int frame, Axis axis, float move)
{
    return shipfile::writeF32(frameRecord(frames, frame),
                              axisOffset(lay::animationFrame::Move, axis), move);
}

double degreesFromRadians(float radians)
{
    return double{radians} * DegreesPerRadian;
}

float radiansFromDegrees(double degrees)
{
    return static_cast<float>(degrees * RadiansPerDegree);
}

std::string angleText(float radians)
{
    return formatFixed(degreesFromRadians(radians));
}

bool appendFrame(ShipFile& file, ShipBlock& frames)
{
    if (!frames.appendRecord({})) {
        file.sink().show(messages::BlockFull.box());
        return false;
    }
    return true;
}

bool deleteFrame(ShipBlock& frames, int frame)
{
    return frame >= 0 && frames.removeRecord(static_cast<std::size_t>(frame));
}

std::string frameLabel(int frame)
{
    return shipfile::messages::formatNumber(messages::FrameLabel, frame);
}

} // namespace editing
