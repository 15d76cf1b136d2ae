#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace editing {

/// The undo and redo steps of the open ship. A step is a user action with a label ("Delete
/// component") and what it changed in the ship's plain file image: the bytes between the
/// first and the last that differ, from both sides. Where the action kept the image's length
/// only the differing runs are kept, as the exclusive-or of both sides, so moving one
/// attachment of a large ship costs a few dozen bytes. Undoing or redoing turns the image the
/// caller holds into the one on the other side of the step, byte for byte.
///
/// The history holds at most `maxSteps` steps and `maxBytes` bytes of changes; past either
/// limit the oldest undo steps go first, then the redo steps farthest ahead. A single step
/// larger than `maxBytes` is not kept at all.
class History
{
public:
    using Image = std::vector<std::uint8_t>;

    static constexpr std::size_t DefaultMaxSteps = 200;
    static constexpr std::size_t DefaultMaxBytes = std::size_t{256} << 20;

    explicit History(std::size_t maxSteps = DefaultMaxSteps,
                     std::size_t maxBytes = DefaultMaxBytes);

    /// Records the action `label` that turned `before` into `after`. Nothing is recorded, and
    /// false returned, when they are the same. A recorded step drops every redo step.
    bool record(std::string label, const Image& before, const Image& after);
    /// Takes back the last step: `image`, the image after it, becomes the image before it.
    /// False when there is nothing to undo.
    bool undo(Image& image);
    /// Does the last undone step again on `image`. False when there is nothing to redo.
    bool redo(Image& image);
    /// Forgets every step (a new ship was opened).
    void clear();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    /// The label of the step undo or redo would take; empty when there is none.
    std::string undoLabel() const;
    std::string redoLabel() const;
    std::size_t undoCount() const { return m_undo.size(); }
    /// The bytes the steps hold.
    std::size_t bytes() const { return m_bytes; }

    /// Names the image at the current position: each recorded step gives a new name, undo and
    /// redo give back the names of the images they return to.
    std::uint64_t position() const { return m_position; }
    /// Whether undo and redo can still reach the image named `position`.
    bool reaches(std::uint64_t position) const;

private:
    /// Where `before` and `after` differ: the middle between their common start and end.
    struct Change
    {
        std::size_t offset = 0;
        std::size_t beforeLength = 0;
        std::size_t afterLength = 0;
        /// Same lengths: (start, length) of each differing run within the middle, and
        /// `bytes` their exclusive-or. Otherwise `bytes` is the before middle, then the after.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;
        std::vector<std::uint8_t> bytes;
    };

    struct Step
    {
        std::string label;
        Change change;
        std::uint64_t beforePosition = 0;
        std::uint64_t afterPosition = 0;
        std::size_t size() const;
    };

    static Change changeBetween(const Image& before, const Image& after);
    /// Turns the image on one side of `change` into the other; `forward` goes from before to
    /// after.
    static void apply(const Change& change, Image& image, bool forward);
    void push(std::deque<Step>& onto, Step step);
    /// Drops steps until both limits hold.
    void trim();

    std::size_t m_maxSteps;
    std::size_t m_maxBytes;
    std::size_t m_bytes = 0;
    std::uint64_t m_position = 0;
    std::uint64_t m_lastPosition = 0;
    // Newest at the back: the back of m_undo is undone next, the back of m_redo redone next.
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
};

} // namespace editing
