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

/// The questions before the texture browser writes the texture cache (%1 the texture's name,
/// %2 the image file, %3 the cache), and what they add.
inline constexpr std::string_view ReplaceTexture =
    "Replace the texture \"%1\" with the picture in\n%2?\n\nThe texture cache %3 is written.";
inline constexpr std::string_view AddTexture =
    "Add the picture in\n%2\nas the new 16-bit texture \"%1\"?\n\nThe texture cache %3 is "
    "written.";
inline constexpr std::string_view NotInHistory =
    " Texture cache writes are not ship edits: Undo does not take them back. The first write "
    "keeps a copy of the old cache as tcachehw.dat.bak.";

} // namespace app::messages
