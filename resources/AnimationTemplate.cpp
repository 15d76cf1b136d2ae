#include "resources/AnimationTemplate.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;
namespace id = animation;

constexpr const char* Explanation =
    "For simple animations, such as rotating the component around one of the axis, you can "
    "simply have a single Animation Frame. If you want more complex animations, you'll need to "
    "have multiple animation frames, which will be interpolated within \"Time\" values";

constexpr platform::ControlTemplate Controls[] = {
    {id::Ok, ControlKind::DefaultPushButton, "OK", 127, 213, 50, 14},
    {NoId, ControlKind::Static, "How this works:", 7, 7, 52, 8},
    {NoId, ControlKind::Static, Explanation, 17, 19, 274, 26},
    {NoId, ControlKind::GroupBox, "Animation Editing", 7, 51, 296, 146},
    {NoId, ControlKind::Static, "Total Time:", 19, 63, 37, 9},
    {id::TotalTime, ControlKind::Edit, "", 63, 62, 43, 12},
    {NoId, ControlKind::Static, "Type:", 120, 63, 19, 9},
    // Tall enough to show every type.
    {id::Type, ControlKind::ListBox, "", 141, 62, 48, 36},
    {NoId, ControlKind::Static, "Trigger:", 205, 63, 26, 9},
    {id::Trigger, ControlKind::Edit, "", 239, 62, 43, 12},
    {NoId, ControlKind::Static, "Frames:", 19, 95, 67, 10},
    {id::Frames, ControlKind::ListBox, "", 36, 105, 71, 42},
    {NoId, ControlKind::Static, "Frame Time:", 197, 81, 39, 10},
    {id::FrameTime, ControlKind::Edit, "", 239, 80, 43, 12},
    // Each angle and move sits under its label, wide enough for six decimals.
    {NoId, ControlKind::Static, "X angle:", 119, 103, 55, 9},
    {id::AngleX, ControlKind::Edit, "", 119, 113, 55, 12},
    {NoId, ControlKind::Static, "Y angle:", 180, 103, 55, 9},
    {id::AngleY, ControlKind::Edit, "", 180, 113, 55, 12},
    {NoId, ControlKind::Static, "Z angle:", 241, 103, 55, 9},
    {id::AngleZ, ControlKind::Edit, "", 241, 113, 55, 12},
    {NoId, ControlKind::Static, "Move X:", 119, 131, 55, 9},
    {id::MoveX, ControlKind::Edit, "", 119, 141, 55, 12},
    {NoId, ControlKind::Static, "Move Y:", 180, 131, 55, 9},
    {id::MoveY, ControlKind::Edit, "", 180, 141, 55, 12},
    {NoId, ControlKind::Static, "Move Z:", 241, 131, 55, 9},
    {id::MoveZ, ControlKind::Edit, "", 241, 141, 55, 12},
    {id::NewFrame, ControlKind::PushButton, "New Frame", 85, 175, 50, 14},
    {id::DeleteFrame, ControlKind::PushButton, "Delete Frame", 174, 175, 50, 14},
    // Under the frames list: plays the ship's animations in the main window's view.
    {id::Play, ControlKind::PushButton, "Play", 46, 151, 50, 14},
};

} // namespace

const platform::DialogTemplate AnimationTemplate = {"Component Animation Editing", 310, 234, 8,
                                                    Controls};

} // namespace resources
