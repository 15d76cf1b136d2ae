#pragma once

#include "editing/History.h"

#include <string>

namespace shipfile {
class ShipFile;
}

namespace app {

class MainDialog;

/// One user action on the open ship, from the moment the step is made to the end of its
/// scope: the ship's image is taken at the start and, at the end, the action becomes one undo
/// step if it changed the ship. Made while no ship is open, or outliving the ship it began on,
/// it records nothing.
class EditStep
{
public:
    /// What the step does to animation playback in the view: any edit stops it, but the
    /// animation editor is where it is watched while frames change.
    enum class Playback
    {
        Stops,
        GoesOn,
    };

    EditStep(MainDialog& window, std::string label, Playback playback = Playback::Stops);
    ~EditStep();
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

    /// Takes the ship back to what it held when the step began (a cancelled dialog) and shows
    /// it; nothing is recorded.
    void cancel();

private:
    /// The ship the step began on, when it is still the open one.
    shipfile::ShipFile* openFile() const;

    MainDialog& m_window;
    std::string m_label;
    const shipfile::ShipFile* m_file = nullptr;
    editing::History::Image m_before;
};

} // namespace app
