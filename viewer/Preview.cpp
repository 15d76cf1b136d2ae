#include "viewer/Preview.h"

#include "shipfile/Bytes.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace viewer::preview {

namespace {

namespace lay = shipfile::layout;

// Bright enough that each colour reads against the grey background and the hull.
constexpr std::array<Rgb, 8> FlameColours = {{
    {1.0f, 0.12f, 0.05f}, // Red (0)
    {1.0f, 0.38f, 0.08f}, // Red (1)
    {0.1f, 1.0f, 0.2f},   // Green
    {1.0f, 0.92f, 0.1f},  // Yellow
    {0.1f, 0.3f, 1.0f},   // Blue
    {0.72f, 0.2f, 1.0f},  // Purple
    {0.4f, 0.85f, 1.0f},  // Light Blue
    {1.0f, 1.0f, 1.0f},   // White
}};

constexpr std::array<Rgb, 6> LightColours = {{
    {0.1f, 0.3f, 1.0f},  // Blue
    {0.1f, 1.0f, 0.2f},  // Green
    {1.0f, 0.92f, 0.1f}, // Yellow
    {1.0f, 0.1f, 0.1f},  // Red
    {0.4f, 0.85f, 1.0f}, // Light Blue
    {1.0f, 1.0f, 1.0f},  // White
}};

template <std::size_t N> Rgb pick(const std::array<Rgb, N>& colours, std::int32_t index, Rgb other)
{
    return index >= 0 && static_cast<std::size_t>(index) < N
               ? colours[static_cast<std::size_t>(index)]
               : other;
}

// Only a light with both times positive blinks.
bool blinks(Blink blink)
{
    return blink.onMs > 0 && blink.offMs > 0;
}

double phase(Blink blink, double ms)
{
    const double period = static_cast<double>(blink.onMs) + blink.offMs;
    return std::fmod(std::max(ms, 0.0), period);
}

} // namespace

Rgb flameColour(std::int32_t styleIndex)
{
    return pick(FlameColours, styleIndex, {1.0f, 0.0f, 0.0f});
}

Rgb lightColour(std::int32_t styleIndex)
{
    return pick(LightColours, styleIndex, {1.0f, 0.0f, 1.0f});
}

bool isLit(Blink blink, double ms)
{
    if (blink.offMs <= 0)
        return true;
    if (blink.onMs <= 0)
        return false;
    return phase(blink, ms) < blink.onMs;
}

std::optional<double> nextChange(Blink blink, double ms)
{
    if (!blinks(blink))
        return std::nullopt;
    const double p = phase(blink, ms);
    const double start = std::max(ms, 0.0) - p;
    return p < blink.onMs ? start + blink.onMs : start + blink.onMs + blink.offMs;
}

std::optional<double> nextBlinkChange(const shipfile::ShipFile& file, double ms)
{
    std::optional<double> soonest;
    for (const shipfile::ComponentParts& parts : shipfile::allComponentParts(file)) {
        const shipfile::ShipBlock* block = parts.attachments;
        for (std::size_t j = 0; block && j < block->count(); ++j) {
            const shipfile::Bytes record = block->record(j);
            const auto kind = shipfile::readI32(record, lay::attachment::Kind);
            const auto on = shipfile::readI32(record, lay::attachment::LightOnMs);
            const auto off = shipfile::readI32(record, lay::attachment::LightOffMs);
            if (kind != static_cast<std::int32_t>(lay::AttachmentKind::BlinkingLight) || !on ||
                !off)
                continue;
            const auto change = nextChange({*on, *off}, ms);
            if (change && (!soonest || *change < *soonest))
                soonest = change;
        }
    }
    return soonest;
}

} // namespace viewer::preview
