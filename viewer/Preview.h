#pragma once

#include <cstdint>
#include <optional>

namespace shipfile {
class ShipFile;
}

// What the view's preview shows of the attachments, without OpenGL: the colours engine flames
// and blinking lights glow in, and when a light is lit.
namespace viewer::preview {

struct Rgb
{
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
};

/// An engine flame's colour by its style index, in the order the attachment dialog lists them
/// ("Red (0)", "Red (1)", "Green", "Yellow", "Blue", "Purple", "Light Blue", "White"). An index
/// outside the list glows in the flame marker's red.
Rgb flameColour(std::int32_t styleIndex);
/// A blinking light's colour by its style index ("Blue", "Green", "Yellow", "Red",
/// "Light Blue", "White"). An index outside the list glows in the light marker's magenta.
Rgb lightColour(std::int32_t styleIndex);

/// A light's rhythm: lit for `onMs`, then dark for `offMs`, starting lit at moment 0. A light
/// with no dark time is always lit; one with a dark time but no lit time never lights.
struct Blink
{
    std::int32_t onMs = 0;
    std::int32_t offMs = 0;
};
bool isLit(Blink blink, double ms);
/// The first moment after `ms` at which the light turns on or off; nothing when it never does.
std::optional<double> nextChange(Blink blink, double ms);

/// The first moment after `ms` at which any blinking light of the ship turns on or off; nothing
/// when none ever does, and the preview then needs no redraw to blink.
std::optional<double> nextBlinkChange(const shipfile::ShipFile& file, double ms);

} // namespace viewer::preview
