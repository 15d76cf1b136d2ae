#pragma once

#include <span>

// Dialog layouts as data: what a resource script says about a dialog and its controls.
namespace platform {

enum class ControlKind
{
    PushButton,
    DefaultPushButton,
    CheckBox,
    ListBox,
    ComboBox, // drop-down with an editable text field
    Slider,   // horizontal track bar without ticks
    Edit,
    GroupBox,
    Static,
    Icon, // a picture; the text names its Qt resource
};

/// Style bits of a control beyond its kind.
namespace style {
inline constexpr unsigned None = 0;
inline constexpr unsigned Disabled = 1u << 0;
inline constexpr unsigned ReadOnly = 1u << 1;
inline constexpr unsigned Flat = 1u << 2;
} // namespace style

/// Id of controls that nothing looks up (group boxes and labels).
inline constexpr int NoId = -1;

/// One control: position and size in dialog units.
struct ControlTemplate
{
    int id = NoId;
    ControlKind kind = ControlKind::Static;
    const char* text = "";
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned flags = style::None;
};

/// A whole dialog: caption, client size in dialog units, font, and its controls in template
/// order (which is also the tab order).
struct DialogTemplate
{
    const char* caption = "";
    int width = 0;
    int height = 0;
    int fontPointSize = 8;
    std::span<const ControlTemplate> controls;
};

} // namespace platform
