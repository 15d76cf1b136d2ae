#pragma once

#include <filesystem>
#include <optional>

namespace app {

class MainDialog;

/// "Export...": asks where to in the export dialog (glTF binary, glTF with its files, OBJ) and
/// writes the open ship there as it stands, unsaved edits included, textured from the
/// editor's texture cache. Dest components are left out while "Ignore dest" is ticked, as in
/// the view. Nothing happens without a ship or when the dialog is cancelled. Returns the file
/// written, or nothing when no file was written.
std::optional<std::filesystem::path> exportOpenShip(MainDialog& window);

} // namespace app
