#pragma once

#include "editing/Session.h"
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
    /// The open ship with its history; null while no ship (with at least one block) is open,
    /// and then the commands do nothing.
    std::unique_ptr<editing::Session> session;
    bool fileLoaded() const { return session != nullptr; }
    /// The open ship to read; it changes only through a step of the session.
    const shipfile::ShipFile* file() const { return session ? &session->ship() : nullptr; }
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
    /// "flames": Larger and Smaller scale the engine flames' sizes too.
    bool scaleFlames = true;
    /// "Rotate": Nearest position also turns the attachment to the face.
    bool rotate = true;
    /// The orientation of the last fixed view, turned by free dragging.
    viewer::Matrix4 viewOrientation;
};

} // namespace app
