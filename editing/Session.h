#pragma once

#include "editing/History.h"
#include "shipfile/ShipFile.h"

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

namespace editing {

/// The open ship with its history and its saved state. The ship is read through `ship()`;
/// it changes only inside a named step, so no change can miss its undo entry:
///
///   session.apply("Delete component", [&](ShipFile& s) { return deleteComponent(s, n); });
///
/// or, for what spans several events (a dialog, a drag), `begin` a step, change `editable()`
/// and then `commit` it (OK) or `rollback` it (Cancel, Escape). A step that changed nothing
/// leaves no entry. "Modified" follows the history's position; the bytes are compared only when
/// the history can no longer reach the saved image.
class Session
{
public:
    explicit Session(std::unique_ptr<shipfile::ShipFile> ship, History history = History());
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const shipfile::ShipFile& ship() const { return *m_ship; }

    /// Runs `change` on the ship as the step `name` and returns what it returned.
    template <typename Change> decltype(auto) apply(std::string name, Change&& change)
    {
        const bool outer = begin(std::move(name));
        struct Finish
        {
            Session& session;
            bool outer;
            ~Finish()
            {
                if (outer)
                    session.commit();
            }
        } finish{*this, outer};
        return std::forward<Change>(change)(*m_ship);
    }

    /// Opens the step `name`. While a step is open, a further begin joins it and returns false.
    bool begin(std::string name);
    bool stepOpen() const { return m_stepOpen; }
    /// The ship to change while a step is open; null otherwise.
    shipfile::ShipFile* editable() { return m_stepOpen ? m_ship.get() : nullptr; }
    /// Closes the open step, recording it when it changed the ship. True when recorded.
    bool commit();
    /// Closes the open step and gives the ship back the bytes it had when the step began. True
    /// when there was something to take back.
    bool rollback();

    /// Takes back or does again one step (an open step is committed first). False when there
    /// was none.
    bool undo();
    bool redo();
    const History& history() const { return m_history; }

    /// Whether the ship differs from what was last opened or saved.
    bool modified() const;
    /// The ship as it is now was just saved.
    void markSaved();

    /// The bytes the session holds beside the ship: the history's changes and the two images
    /// (the ship's current one, which the steps are measured against, and the saved one).
    std::size_t bytesHeld() const;

private:
    /// Loads `m_image` into the ship after undo or redo.
    void showImage();

    std::unique_ptr<shipfile::ShipFile> m_ship;
    History m_history;
    /// The ship's plain image at the history's position, outside an open step.
    History::Image m_image;
    History::Image m_savedImage;
    std::uint64_t m_savedPosition = 0;
    bool m_stepOpen = false;
    std::string m_stepName;
};

} // namespace editing
