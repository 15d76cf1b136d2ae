#include "gamedata/TexturePixels.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace gamedata {

namespace {
struct Ramp
{
    std::array<int, 3> first; // r, g, b
    std::array<int, 3> last;
};

// Light to dark; the colours between the end points are interpolated linearly.
constexpr std::array<Ramp, 6> ColourRamps = {{
    {{125, 190, 120}, {4, 4, 4}},   // green
    {{238, 221, 193}, {15, 10, 2}}, // ochre
    {{234, 202, 201}, {10, 3, 3}},  // red
    {{175, 193, 206}, {5, 9, 12}},  // blue
    {{207, 209, 209}, {9, 10, 10}}, // cool grey
    {{210, 202, 194}, {12, 8, 4}},  // brown
}};
constexpr int ColourRampLength = 32;
constexpr int GreyRampStart = 192;
constexpr int GreyRampSteps = 63;

std::array<std::uint8_t, 768> buildPalette()
{
    std::array<std::uint8_t, 768> palette{};
    const auto put = [&palette](int index, int r, int g, int b) {
        const auto at = static_cast<std::size_t>(index) * 3;
        palette[at] = static_cast<std::uint8_t>(b);
        palette[at + 1] = static_cast<std::uint8_t>(g);
        palette[at + 2] = static_cast<std::uint8_t>(r);
    };
    for (std::size_t ramp = 0; ramp < ColourRamps.size(); ++ramp) {
        const Ramp& colours = ColourRamps[ramp];
        for (int step = 0; step < ColourRampLength; ++step) {
            std::array<int, 3> c{};
            for (std::size_t ch = 0; ch < 3; ++ch)
                c[ch] = static_cast<int>(
                    std::lround(colours.first[ch] + (colours.last[ch] - colours.first[ch]) * step /
                                                        static_cast<double>(ColourRampLength - 1)));
            put(static_cast<int>(ramp) * ColourRampLength + step, c[0], c[1], c[2]);
        }
    }
    for (int i = GreyRampStart; i < 256; ++i) {
        const int v = static_cast<int>(std::lround(255.0 * (255 - i) / GreyRampSteps));
        put(i, v, v, v);
    }
    return palette;
}

int distance(const Rgba& a, const Rgba& b)
{
    int sum = 0;
    for (std::size_t ch = 0; ch < 3; ++ch)
        sum += (a[ch] - b[ch]) * (a[ch] - b[ch]);
    return sum;
}

// A channel of 0 to 255 in `bits` bits, rounded to the nearest step.
unsigned int narrow(std::uint8_t value, int bits)
{
    const unsigned int top = (1u << bits) - 1;
    return (value * top + 127) / 255;
}
} // namespace

const std::array<std::uint8_t, 768>& defaultPalette()
{
    static const std::array<std::uint8_t, 768> palette = buildPalette();
    return palette;
}

Rgba rgbaFromIndex(std::uint8_t index)
{
    const std::array<std::uint8_t, 768>& p = defaultPalette();
    const std::size_t at = std::size_t{index} * 3;
    return {p[at + 2], p[at + 1], p[at], 255};
}

Rgba rgbaFromWord(std::uint16_t word)
{
    const auto r = static_cast<std::uint8_t>((word >> 11) * 255 / 31);
    const auto g = static_cast<std::uint8_t>(((word >> 5) & 63) * 255 / 63);
    const auto b = static_cast<std::uint8_t>((word & 31) * 255 / 31);
    const std::uint8_t a = (r == 0 && g == 0 && b == 0) ? 0 : 255;
    return {r, g, b, a};
}

std::uint16_t wordFromRgba(Rgba pixel)
{
    if (pixel[3] < 128)
        return 0;
    const auto word = static_cast<std::uint16_t>((narrow(pixel[0], 5) << 11) |
                                                 (narrow(pixel[1], 6) << 5) | narrow(pixel[2], 5));
    if (word != 0)
        return word;
    // The smallest step of each channel; the one whose colour lies nearest wins.
    std::uint16_t nearest = 0;
    int best = std::numeric_limits<int>::max();
    for (const std::uint16_t step :
         {std::uint16_t{0x0020}, std::uint16_t{0x0001}, std::uint16_t{0x0800}}) {
        if (const int d = distance(rgbaFromWord(step), pixel); d < best) {
            best = d;
            nearest = step;
        }
    }
    return nearest;
}

std::uint8_t indexFromRgba(Rgba pixel)
{
    int best = std::numeric_limits<int>::max();
    int nearest = 0;
    for (int i = 0; i < 256; ++i) {
        if (const int d = distance(rgbaFromIndex(static_cast<std::uint8_t>(i)), pixel); d < best) {
            best = d;
            nearest = i;
        }
    }
    return static_cast<std::uint8_t>(nearest);
}

} // namespace gamedata
