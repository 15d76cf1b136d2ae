#pragma once

#include <string_view>

// The main window's messages around its file commands.
namespace app::messages {

/// The question before a ship with changes is closed.
inline constexpr std::string_view SaveChanges = "Save changes to %s?";

} // namespace app::messages
