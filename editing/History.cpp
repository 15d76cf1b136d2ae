#include "editing/History.h"

#include <utility>

namespace editing {

History::History(std::size_t maxSteps, std::size_t maxBytes)
    : m_maxSteps(maxSteps), m_maxBytes(maxBytes)
{
}

bool History::record(std::string label, Image before, const shipfile::ShipFile& file)
{
    if (file.matchesImage(before))
        return false;
    for (const Step& dropped : m_redo)
        m_bytes -= dropped.image.size();
    m_redo.clear();
    push(m_undo, Step{std::move(label), std::move(before)});
    return true;
}

bool History::undo(shipfile::ShipFile& file)
{
    return step(m_undo, m_redo, file);
}

bool History::redo(shipfile::ShipFile& file)
{
    return step(m_redo, m_undo, file);
}

void History::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
}

std::string History::undoLabel() const
{
    return m_undo.empty() ? std::string() : m_undo.back().label;
}

std::string History::redoLabel() const
{
    return m_redo.empty() ? std::string() : m_redo.back().label;
}

bool History::step(std::deque<Step>& from, std::deque<Step>& to, shipfile::ShipFile& file)
{
    if (from.empty())
        return false;
    Step taken = std::move(from.back());
    from.pop_back();
    m_bytes -= taken.image.size();

    Image current = file.serialise();
    // Images of our own always load whole; should one not, the ship goes back to what it
    // held and the step stays where it was.
    if (!file.restore(taken.image)) {
        file.restore(current);
        push(from, std::move(taken));
        return false;
    }
    taken.image = std::move(current);
    push(to, std::move(taken));
    return true;
}

void History::push(std::deque<Step>& onto, Step step)
{
    m_bytes += step.image.size();
    onto.push_back(std::move(step));
    trim();
}

void History::trim()
{
    while (!m_undo.empty() || !m_redo.empty()) {
        if (m_undo.size() + m_redo.size() <= m_maxSteps && m_bytes <= m_maxBytes)
            return;
        std::deque<Step>& oldest = m_undo.empty() ? m_redo : m_undo;
        Step& dropped = oldest.front();
        m_bytes -= dropped.image.size();
        oldest.pop_front();
    }
}

} // namespace editing
