#pragma once

#include <string_view>

// The main window's messages around its file commands.
namespace app::messages {

/// The question before a ship with changes is closed.
inline constexpr std::string_view SaveChanges = "Save changes to %s?";
/// The question before a ship with errors is saved; warnings never ask.
inline constexpr std::string_view SaveWithErrors =
    "The ship has %d errors the game may not survive. Save anyway?";
inline constexpr std::string_view SaveWithOneError =
    "The ship has 1 error the game may not survive. Save anyway?";

} // namespace app::messages
