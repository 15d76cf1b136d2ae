#include "editing/History.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace editing {

namespace {

// Differing runs closer than this are kept as one: a run costs eight bytes of its own.
constexpr std::size_t RunGap = 8;

} // namespace

History::History(std::size_t maxSteps, std::size_t maxBytes)
    : m_maxSteps(maxSteps), m_maxBytes(maxBytes)
{
}

std::size_t History::Step::size() const
{
    return sizeof(Step) + label.size() + change.bytes.size() +
           change.runs.size() * sizeof(change.runs.front());
}

History::Change History::changeBetween(const Image& before, const Image& after)
{
    Change change;
    const std::size_t shorter = std::min(before.size(), after.size());
    const auto firstDifference =
        std::mismatch(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(shorter),
                      after.begin());
    change.offset = static_cast<std::size_t>(firstDifference.first - before.begin());
    std::size_t commonEnd = 0;
    while (commonEnd < shorter - change.offset &&
           before[before.size() - 1 - commonEnd] == after[after.size() - 1 - commonEnd])
        ++commonEnd;
    change.beforeLength = before.size() - change.offset - commonEnd;
    change.afterLength = after.size() - change.offset - commonEnd;

    const auto middle = [&change](const Image& image) {
        return image.begin() + static_cast<std::ptrdiff_t>(change.offset);
    };
    if (change.beforeLength != change.afterLength) {
        change.bytes.assign(middle(before), middle(before) + static_cast<std::ptrdiff_t>(
                                                                 change.beforeLength));
        change.bytes.insert(change.bytes.end(), middle(after),
                            middle(after) + static_cast<std::ptrdiff_t>(change.afterLength));
        return change;
    }
    const std::uint8_t* b = before.data() + change.offset;
    const std::uint8_t* a = after.data() + change.offset;
    for (std::size_t i = 0; i < change.beforeLength;) {
        if (b[i] == a[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        for (std::size_t same = 0; end < change.beforeLength && same < RunGap; ++end)
            same = b[end] == a[end] ? same + 1 : 0;
        // Trailing equal bytes stay out of the run.
        while (b[end - 1] == a[end - 1])
            --end;
        change.runs.emplace_back(static_cast<std::uint32_t>(i),
                                 static_cast<std::uint32_t>(end - i));
        for (std::size_t k = i; k < end; ++k)
            change.bytes.push_back(static_cast<std::uint8_t>(b[k] ^ a[k]));
        i = end;
    }
    return change;
}

void History::apply(const Change& change, Image& image, bool forward)
{
    const auto at = image.begin() + static_cast<std::ptrdiff_t>(change.offset);
    if (change.beforeLength != change.afterLength) {
        const auto before = change.bytes.begin();
        const auto after = before + static_cast<std::ptrdiff_t>(change.beforeLength);
        const auto [from, to] = forward ? std::pair(after, change.bytes.end())
                                        : std::pair(before, after);
        const std::size_t replaced = forward ? change.beforeLength : change.afterLength;
        image.erase(at, at + static_cast<std::ptrdiff_t>(replaced));
        image.insert(image.begin() + static_cast<std::ptrdiff_t>(change.offset), from, to);
        return;
    }
    // Exclusive-or goes either way.
    std::size_t taken = 0;
    for (const auto& [start, length] : change.runs) {
        std::uint8_t* target = image.data() + change.offset + start;
        for (std::size_t k = 0; k < length; ++k)
            target[k] ^= change.bytes[taken + k];
        taken += length;
    }
}

bool History::record(std::string label, const Image& before, const Image& after)
{
    if (before == after)
        return false;
    for (const Step& dropped : m_redo)
        m_bytes -= dropped.size();
    m_redo.clear();
    Step step{std::move(label), changeBetween(before, after), m_position, ++m_lastPosition};
    m_position = step.afterPosition;
    push(m_undo, std::move(step));
    return true;
}

bool History::undo(Image& image)
{
    if (m_undo.empty())
        return false;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    m_bytes -= step.size();
    apply(step.change, image, false);
    m_position = step.beforePosition;
    push(m_redo, std::move(step));
    return true;
}

bool History::redo(Image& image)
{
    if (m_redo.empty())
        return false;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    m_bytes -= step.size();
    apply(step.change, image, true);
    m_position = step.afterPosition;
    push(m_undo, std::move(step));
    return true;
}

void History::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
    m_position = ++m_lastPosition;
}

std::string History::undoLabel() const
{
    return m_undo.empty() ? std::string() : m_undo.back().label;
}

std::string History::redoLabel() const
{
    return m_redo.empty() ? std::string() : m_redo.back().label;
}

bool History::reaches(std::uint64_t position) const
{
    const auto before = [position](const Step& s) { return s.beforePosition == position; };
    const auto after = [position](const Step& s) { return s.afterPosition == position; };
    return position == m_position || std::any_of(m_undo.begin(), m_undo.end(), before) ||
           std::any_of(m_redo.begin(), m_redo.end(), after);
}

void History::push(std::deque<Step>& onto, Step step)
{
    m_bytes += step.size();
    onto.push_back(std::move(step));
    trim();
}

void History::trim()
{
    while (!m_undo.empty() || !m_redo.empty()) {
        if (m_undo.size() + m_redo.size() <= m_maxSteps && m_bytes <= m_maxBytes)
            return;
        std::deque<Step>& oldest = m_undo.empty() ? m_redo : m_undo;
        m_bytes -= oldest.front().size();
        oldest.pop_front();
    }
}

} // namespace editing
