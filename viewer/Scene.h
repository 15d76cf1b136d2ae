#pragma once

#include <optional>

namespace shipfile {
class ShipFile;
}

namespace viewer {

struct Highlight;

/// What one draw shows: the open ship (none: nothing is drawn), the selection of the list
/// panes, -1 for none, what is marked over it, and the moment it shows.
struct Scene
{
    // The moments are left out of the braces most callers use: a plain picture, at rest.
    Scene(const shipfile::ShipFile* shown = nullptr, int component = -1, int attachment = -1,
          const Highlight* marked = nullptr)
        : file(shown), selectedComponent(component), selectedAttachment(attachment),
          highlight(marked)
    {
    }

    const shipfile::ShipFile* file = nullptr;
    int selectedComponent = -1;
    int selectedAttachment = -1;
    /// Faces and vertices marked over the ship (the finding the user went to), or none.
    const Highlight* highlight = nullptr;
    /// Milliseconds since animation playback began; nothing while none runs, and every
    /// component then rests as modelled.
    std::optional<double> playbackMs;
    /// Milliseconds on the clock the preview's lights blink by.
    double blinkMs = 0;
};

} // namespace viewer
