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

// The status bar's lines: what the last command did, or why it did nothing.
namespace app::status {

inline constexpr std::string_view Opened = "Opened %s";
inline constexpr std::string_view Saved = "Saved %s, %s";
inline constexpr std::string_view SavedUnpacked =
    "Saved %s, %s: written unpacked, as the game also loads it";
inline constexpr std::string_view Exported = "Exported %s";
inline constexpr std::string_view Done = "%s";
inline constexpr std::string_view Undone = "Undo %s";
inline constexpr std::string_view Redone = "Redo %s";
inline constexpr std::string_view NeedsShip = "%s needs an open ship";
inline constexpr std::string_view NeedsComponent = "%s needs a selected component";
inline constexpr std::string_view NeedsAttachment = "%s needs a selected attached object";
inline constexpr std::string_view BoxExists =
    "Create box: the component already has a box (Clear box(es) first)";
inline constexpr std::string_view NoBoxBlock = "Create box: the component has no box block to fill";
inline constexpr std::string_view BoxMadeCapship = "Create box: the ship is now a Capship";
inline constexpr std::string_view BadFactor = "%s: the factor \"%s\" is not a positive number";
inline constexpr std::string_view NoKindChosen = "Add attachment: no kind was chosen";
inline constexpr std::string_view BadZoomRange =
    "Zoom range: \"%s\" is not a whole number from 1 up; the slider keeps its range";
inline constexpr std::string_view GameFound = "Textures from %s";
inline constexpr std::string_view NoGameInFolder =
    "No game in %s: choose a Wine or Proton prefix, or the folder that holds tcachehw.dat";
/// The file, then the counts of the open ship.
inline constexpr std::string_view ShipSummary = "%s: %d components, %d faces, %d attachments";

} // namespace app::status
