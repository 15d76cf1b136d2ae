#pragma once

#include "shipfile/ShipFile.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace editing {

/// The undo and redo steps of the open ship. A step is a user action with a label ("Delete
/// component") and the ship's plain file image from the other side of it: the image before the
/// action while the step can be undone, after it while it can be redone. Undoing or redoing
/// loads that image into the ship, so the ship gets back exactly the bytes it had.
///
/// The history holds at most `maxSteps` steps and `maxBytes` bytes of images; past either
/// limit the oldest undo steps go first, then the redo steps farthest ahead. A single image
/// larger than `maxBytes` is not kept at all.
class History
{
public:
    using Image = std::vector<std::uint8_t>;

    static constexpr std::size_t DefaultMaxSteps = 200;
    static constexpr std::size_t DefaultMaxBytes = std::size_t{256} << 20;

    explicit History(std::size_t maxSteps = DefaultMaxSteps,
                     std::size_t maxBytes = DefaultMaxBytes);

    /// Records the action `label` that turned the image `before` into `file` as it is now.
    /// Nothing is recorded, and false returned, when `file` still holds `before`. A recorded
    /// step drops every redo step.
    bool record(std::string label, Image before, const shipfile::ShipFile& file);
    /// Takes back the last step: `file` gets the image from before it. False when there is
    /// nothing to undo.
    bool undo(shipfile::ShipFile& file);
    /// Does the last undone step again. False when there is nothing to redo.
    bool redo(shipfile::ShipFile& file);
    /// Forgets every step (a new ship was opened).
    void clear();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    /// The label of the step undo or redo would take; empty when there is none.
    std::string undoLabel() const;
    std::string redoLabel() const;
    std::size_t undoCount() const { return m_undo.size(); }
    /// The bytes of all images held.
    std::size_t bytes() const { return m_bytes; }

private:
    struct Step
    {
        std::string label;
        Image image;
    };

    /// Moves the newest step of `from` onto `to`, leaving `file` on the step's image and the
    /// step holding the image `file` had.
    bool step(std::deque<Step>& from, std::deque<Step>& to, shipfile::ShipFile& file);
    void push(std::deque<Step>& onto, Step step);
    /// Drops steps until both limits hold.
    void trim();

    std::size_t m_maxSteps;
    std::size_t m_maxBytes;
    std::size_t m_bytes = 0;
    // Newest at the back: the back of m_undo is undone next, the back of m_redo redone next.
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
};

} // namespace editing
