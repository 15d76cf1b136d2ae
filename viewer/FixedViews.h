#pragma once

#include "viewer/Matrix4.h"

#include <array>
#include <optional>
#include <string_view>

namespace viewer {

/// The entries of the view chooser, in its order.
enum class ViewChoice
{
    Bottom,
    Left,
    Front,
    FreeView,
    Top,
    Right,
    Back,
};

inline constexpr std::array<std::string_view, 7> ViewChoiceTexts = {
    "Bottom", "Left", "Front", "FreeView", "Top", "Right", "Back"};

/// The entry whose text is `text`, ignoring case; nothing for any other text.
std::optional<ViewChoice> viewChoiceFromText(std::string_view text);

/// Rebuilds `orientation` from the identity for a fixed view. FreeView leaves it as it is, so
/// free turning starts from the last view.
void applyFixedView(ViewChoice choice, Matrix4& orientation);

} // namespace viewer
