#pragma once

namespace app {

class MainDialog;

/// "Import...": asks for a model (.glb, .gltf, .obj), shows in the import dialog what it will
/// do to the open ship, and applies it as one undo step. A model that cannot be read is
/// refused with a message; nothing happens without a ship or when a dialog is cancelled.
void importIntoOpenShip(MainDialog& window);

} // namespace app
