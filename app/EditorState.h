#pragma once

#include "editing/History.h"
#include "shipfile/ShipFile.h"
#include "viewer/Matrix4.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace app {

/// Everything the main window's commands share for the whole run: the open document, where
/// files and textures live, the selection of the two lists and the options of the editing
/// commands. Owned by MainDialog; handed by reference to whatever needs it.
struct EditorState
{
    /// The open ship; null when none is open.
    std::unique_ptr<shipfile::ShipFile> file;
    /// Set while a ship with at least one block is open; commands do nothing while it is clear.
    bool fileLoaded = false;
    /// Where Save writes: the path the open ship came from.
    std::filesystem::path currentFileName;
    /// The game's ships folder, where the Open and Merge file dialogs start.
    std::filesystem::path shipsDirectory;
    /// The game's texture cache file.
    std::filesystem::path texturePath;

    int selectedComponent = -1;
    int selectedAttachment = -1;
    /// "type-1 only": scaling changes the selected component's vertices and attachments only.
    bool typeOneOnly = false;
    /// "Rotate": Nearest position also turns the attachment to the face.
    bool rotate = true;
    /// The orientation of the last fixed view, turned by free dragging.
    viewer::Matrix4 viewOrientation;

    /// The document as last loaded or saved, serialised: it differs from the document's
    /// serialised bytes exactly when there are unsaved changes.
    std::vector<std::uint8_t> savedImage;
    /// The undo and redo steps of the open ship; every Open starts it afresh.
    editing::History history;
};

} // namespace app
