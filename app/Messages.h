#pragma once

#include "shipfile/MessageText.h"

#include <string_view>

// The main window's messages at start-up and around its file commands.
namespace app::messages {

using shipfile::MessageText;
using shipfile::messages::owned;

inline constexpr MessageText RegistryKeyMissing =
    owned("Error opening registry key! Textures will be unavailable!");
inline constexpr MessageText RegistryValueMissing =
    owned("Error opening registry entry for Vantaris installed directory! Textures will be "
          "unavailable!");
/// The question before a ship with changes is closed.
inline constexpr std::string_view SaveChanges = "Save changes to %s?";
/// The question before a ship with errors is saved; warnings never ask.
inline constexpr std::string_view SaveWithErrors =
    "The ship has %d errors the game may not survive. Save anyway?";
inline constexpr std::string_view SaveWithOneError =
    "The ship has 1 error the game may not survive. Save anyway?";

} // namespace app::messages
