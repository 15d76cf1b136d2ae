#include "resources/MainWindowTemplate.h"

namespace resources {

namespace {

using platform::ControlKind;
using platform::NoId;
namespace id = mainwindow;
namespace style = platform::style;

constexpr platform::ControlTemplate Controls[] = {
    {id::Save, ControlKind::PushButton, "Save", 113, 263, 50, 14},
    {id::Exit, ControlKind::PushButton, "Exit", 175, 263, 65, 14},
    // No default button: Enter in a number field must not open a file.
    {id::OpenShp, ControlKind::PushButton, "Open SHP File", 33, 263, 69, 14},
    {id::ShipGroup, ControlKind::GroupBox, "Ship", 7, 7, 258, 201},
    {id::ZoomSlider, ControlKind::Slider, "", 7, 210, 224, 9},
    {id::ZoomRange, ControlKind::Edit, "", 230, 210, 34, 12},
    {id::ShipClass, ControlKind::Edit, "", 15, 234, 52, 13, style::Disabled},
    {id::ChangeShipClass, ControlKind::PushButton, "Change", 79, 234, 37, 13},
    {id::MouseMode, ControlKind::Edit, "", 135, 236, 77, 11, style::Disabled},
    {id::ComponentList, ControlKind::ListBox, "", 275, 27, 106, 39},
    {id::CreateBox, ControlKind::PushButton, "Create box", 281, 81, 42, 16},
    {id::ClearBoxes, ControlKind::PushButton, "Clear box(es)", 335, 81, 44, 16},
    {id::Animation, ControlKind::PushButton, "Animation...", 304, 105, 50, 14},
    {id::MergeShp, ControlKind::PushButton, "Merge SHP", 283, 129, 41, 14},
    {id::DeleteComponent, ControlKind::PushButton, "Delete", 337, 129, 41, 14},
    {id::DummyTriangle, ControlKind::CheckBox, "Dummy Triangle", 298, 155, 67, 10},
    {id::Block13, ControlKind::CheckBox, "Block13", 283, 170, 42, 10},
    {id::Block14, ControlKind::CheckBox, "Block14", 332, 170, 42, 10},
    {id::ScaleFactor, ControlKind::Edit, "", 428, 26, 27, 12},
    {id::Larger, ControlKind::PushButton, "Larger", 394, 41, 37, 15},
    {id::Smaller, ControlKind::PushButton, "Smaller", 439, 41, 37, 15},
    {id::TypeOneOnly, ControlKind::CheckBox, "type-1 only", 390, 58, 47, 9},
    {id::Flames, ControlKind::CheckBox, "flames", 441, 58, 37, 8},
    {id::AttachmentList, ControlKind::ListBox, "", 391, 82, 87, 39},
    {id::AddAttachment, ControlKind::PushButton, "Add", 397, 132, 30, 10},
    {id::RemoveAttachment, ControlKind::PushButton, "Remove", 437, 132, 30, 10},
    {id::CopyAttachment, ControlKind::PushButton, "Copy", 395, 146, 23, 10},
    {id::CopyInvertX, ControlKind::PushButton, "Copy-Invert X", 425, 146, 50, 10},
    {id::NearestPosition, ControlKind::PushButton, "Nearest position", 407, 161, 54, 10},
    {id::Rotate, ControlKind::CheckBox, "Rotate", 401, 173, 37, 11},
    {id::Back, ControlKind::CheckBox, "Back", 446, 173, 32, 11},
    {id::ViewChoice, ControlKind::ComboBox, "", 303, 196, 74, 40},
    {id::TextureMap, ControlKind::CheckBox, "Texture Map", 278, 213, 65, 10},
    {id::HighQualityTextures, ControlKind::CheckBox, "High quality textures", 278, 224, 75, 10},
    {id::MarkSelected, ControlKind::CheckBox, "Mark selected type-1 block", 281, 243, 102, 10},
    {id::ShowBoxes, ControlKind::CheckBox, "Show boxes", 345, 212, 52, 11},
    {id::IgnoreDest, ControlKind::CheckBox, "Ignore \"DEST\" objs", 401, 212, 76, 13},
    {id::CenterOnObject, ControlKind::CheckBox, "Center ship on obj", 403, 234, 71, 11},
    {id::Preview, ControlKind::CheckBox, "Preview", 356, 224, 40, 10},

    {NoId, ControlKind::GroupBox, "Controls", 269, 7, 220, 276},
    {NoId, ControlKind::GroupBox, "File Operations", 7, 253, 258, 30},
    {NoId, ControlKind::GroupBox, "Components (Type-1 Blocks)", 274, 17, 110, 169},
    {NoId, ControlKind::GroupBox, "Attached objects (block9)", 387, 72, 95, 114},
    {NoId, ControlKind::GroupBox, "Views", 273, 187, 209, 90},
    // Below the frame line of "Views", and wide enough for two lines inside its box.
    {NoId, ControlKind::Static, "Note: you can't move objects in FreeView", 396, 199, 82, 13},
    {NoId, ControlKind::Static, "Textures -> red light Wireframe-> fill polys", 284, 253, 86, 17},
    {NoId, ControlKind::Static, "Temporarily changes the center of the ship, does not affect VT",
     405, 246, 71, 23},
    {NoId, ControlKind::GroupBox, "", 278, 236, 108, 36},
    {NoId, ControlKind::GroupBox, "", 397, 228, 82, 43},
    {NoId, ControlKind::Static, "Make ship", 391, 28, 34, 11},
    {NoId, ControlKind::Static, "times", 457, 28, 20, 9},
    {NoId, ControlKind::GroupBox, "Scaling", 387, 17, 95, 53},
    {NoId, ControlKind::GroupBox, "To Vantaris, this SHP will be a", 7, 221, 116, 32},
    {NoId, ControlKind::GroupBox, "Mouse Mode", 132, 225, 133, 27},
    {NoId, ControlKind::Static, "(shift to toggle)", 215, 236, 47, 8},
    {NoId, ControlKind::Static, "Double-click for properties...", 284, 66, 94, 10},
    {NoId, ControlKind::Static, "Double-click for properties...", 391, 122, 90, 10},
};

} // namespace

const platform::DialogTemplate MainWindowTemplate = {"Korvex", 502, 290, 8, Controls};

} // namespace resources
