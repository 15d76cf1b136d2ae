#pragma once

namespace shipfile {
class ShipFile;
}

namespace viewer {

struct Highlight;

/// What one draw shows: the open ship (none: nothing is drawn) and the selection of the list
/// panes, -1 for none.
struct Scene
{
    const shipfile::ShipFile* file = nullptr;
    int selectedComponent = -1;
    int selectedAttachment = -1;
    /// Faces and vertices marked over the ship (the finding the user went to), or none.
    const Highlight* highlight = nullptr;
};

} // namespace viewer
