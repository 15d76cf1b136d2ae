#pragma once

#include <string>

namespace shipfile {
class ShipFile;
}

namespace app {

class MainDialog;

/// One user action on the open ship, from the moment the step is made to the end of its
/// scope: a step of the ship's session, which becomes one undo entry if it changed the ship.
/// Inside a step already open (a drag) it joins that one. Made while no ship is open, or
/// outliving the ship it began on, it records nothing.
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

    /// The ship to change; only while a ship is open.
    shipfile::ShipFile& ship();
    /// Takes the ship back to what it held when the step began (a cancelled dialog) and shows
    /// it; nothing is recorded.
    void cancel();

private:
    /// Whether this step opened the session's step and that ship is still the open one.
    bool owns() const;

    MainDialog& m_window;
    const void* m_session = nullptr;
};

} // namespace app
