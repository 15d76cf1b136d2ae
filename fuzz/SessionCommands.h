#pragma once

#include <cstdint>

// The commands of the editing-session fuzz target, by the byte that chooses them (modulo
// Count). The seed corpus is written with the same numbers.
namespace fuzz {

enum class Command : std::uint8_t
{
    AddAttachment,      // component, kind
    RemoveAttachment,   // component, attachment
    CopyAttachment,     // component, attachment
    MirrorAttachment,   // component, attachment
    MoveAttachment,     // component, attachment, delta x y z
    SnapAttachment,     // component, attachment, options (1 rotate, 2 back)
    AttachmentProperty, // component, attachment, value
    AttachmentPosition, // component, attachment, x y z
    DeleteComponent,    // component
    ChangeShipClass,    //
    ComponentName,      // component, text
    ComponentRole,      // component
    HitPoints,          // component, value
    Debris,             // component, flag
    DebrisNumber,       // component, value
    MoveComponent,      // component, delta x y z
    Scale,              // factor, how (1 smaller, 2 selected component only), component
    CreateBox,          // component
    ClearBoxes,         // component
    Merge,              // length (u16), second ship image
    DummyTriangle,      // component
    Block13,            // component
    Block14,            // component
    Animation,          // component, step, frame, axis, value
    Read,               // component, attachment: every value the panes and dialogs show
    Undo,               //
    Redo,               //
    Count,
};

} // namespace fuzz
