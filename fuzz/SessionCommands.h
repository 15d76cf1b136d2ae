#pragma once

#include <cstdint>

// The commands of the editing-session fuzz target, by the byte that chooses them. The numbers
// are fixed, so the checked-in corpus keeps its meaning: a new command takes the next free
// number and raises CommandCount; a byte that names no command runs nothing.
namespace fuzz {

enum class Command : std::uint8_t
{
    AddAttachment = 0,      // component, kind
    RemoveAttachment = 1,   // component, attachment
    CopyAttachment = 2,     // component, attachment
    MirrorAttachment = 3,   // component, attachment
    MoveAttachment = 4,     // component, attachment, delta x y z
    SnapAttachment = 5,     // component, attachment, options (1 rotate, 2 back)
    AttachmentProperty = 6, // component, attachment, value
    AttachmentPosition = 7, // component, attachment, x y z
    DeleteComponent = 8,    // component
    ChangeShipClass = 9,    //
    ComponentName = 10,      // component, text
    ComponentRole = 11,      // component
    HitPoints = 12,          // component, value
    Debris = 13,             // component, flag
    DebrisNumber = 14,       // component, value
    MoveComponent = 15,      // component, delta x y z
    Scale = 16,              // factor, how (1 smaller, 2 selected only, 4 no flames), component
    CreateBox = 17,          // component
    ClearBoxes = 18,         // component
    Merge = 19,              // length (u16), second ship image
    DummyTriangle = 20,      // component
    Block13 = 21,            // component
    Block14 = 22,            // component
    Animation = 23,          // component, step, frame, axis, value
    Read = 24,               // component, attachment: every value the panes and dialogs show
    Undo = 25,               //
    Redo = 26,               //
};
inline constexpr unsigned CommandCount = 27;

} // namespace fuzz
