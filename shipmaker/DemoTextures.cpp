#include "shipmaker/DemoTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace shipmaker {

namespace {

// A repeatable value in [0, 1) for each lattice point.
float hashNoise(int x, int y, int seed)
{
    auto h = static_cast<std::uint32_t>(x) * 374761393u +
             static_cast<std::uint32_t>(y) * 668265263u +
             static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

// Smooth noise with features `cell` pixels apart, tiling every `period` pixels.
float smoothNoise(int x, int y, int cell, int period, int seed)
{
    const int cells = period / cell;
    const int cx = x / cell, cy = y / cell;
    const float fx = static_cast<float>(x % cell) / static_cast<float>(cell);
    const float fy = static_cast<float>(y % cell) / static_cast<float>(cell);
    const auto at = [&](int i, int j) { return hashNoise(i % cells, j % cells, seed); };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = at(cx, cy) + (at(cx + 1, cy) - at(cx, cy)) * sx;
    const float bottom = at(cx, cy + 1) + (at(cx + 1, cy + 1) - at(cx, cy + 1)) * sx;
    return top + (bottom - top) * sy;
}

struct Colour
{
    float r, g, b;
};

Colour mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour shade(Colour c, float f)
{
    return {c.r * f, c.g * f, c.b * f};
}

// 5-6-5 colour. The word 0 is the transparent colour of 16-bit textures, so a black pixel
// that should show is kept just above it.
std::uint16_t rgb565(Colour c, bool transparent = false)
{
    if (transparent)
        return 0;
    const auto channel = [](float v, int bits) {
        const int top = (1 << bits) - 1;
        return static_cast<std::uint16_t>(
            std::clamp(static_cast<int>(v / 255.0f * static_cast<float>(top) + 0.5f), 0, top));
    };
    const auto word =
        static_cast<std::uint16_t>(channel(c.r, 5) << 11 | channel(c.g, 6) << 5 | channel(c.b, 5));
    return word ? word : std::uint16_t{0x0821};
}

// The built-in palette of 8-bit textures is made of ramps of 32 shades, light to dark.
enum class Ramp : int
{
    Green = 0,
    Ochre = 32,
    Red = 64,
    Blue = 96,
    CoolGrey = 128,
    Brown = 160,
};

std::uint8_t paletteIndex(Ramp ramp, float shadeLevel)
{
    return static_cast<std::uint8_t>(static_cast<int>(ramp) +
                                     std::clamp(static_cast<int>(shadeLevel + 0.5f), 0, 31));
}

// The pixels of a size x size picture, row by row.
template <typename Pixel>
std::vector<Pixel> paint(int size, const std::function<Pixel(int x, int y)>& picture)
{
    std::vector<Pixel> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(picture(x, y));
    return pixels;
}

// Light blue-grey panels with seams, rivets and a red band.
std::uint16_t fighterHull(int x, int y)
{
    const Colour base{172, 182, 194};
    Colour c = shade(base, 0.92f + 0.12f * smoothNoise(x, y, 8, 64, 1));
    if (y >= 40 && y < 46)
        c = {176, 44, 40};
    if (x % 16 == 0 || y % 16 == 0)
        c = shade(c, 0.62f);
    else if (x % 16 == 3 && y % 4 == 2)
        c = shade(c, 0.75f);
    return rgb565(c);
}

// Grey and blue camouflage with a seam across the span.
std::uint8_t fighterWing(int x, int y)
{
    const float n = smoothNoise(x, y, 16, 64, 2);
    if (y % 32 == 0)
        return paletteIndex(Ramp::CoolGrey, 22);
    if (n < 0.38f)
        return paletteIndex(Ramp::Blue, 12 + 3 * hashNoise(x, y, 3));
    if (n < 0.65f)
        return paletteIndex(Ramp::CoolGrey, 8 + 2 * hashNoise(x, y, 4));
    return paletteIndex(Ramp::CoolGrey, 3 + 2 * hashNoise(x, y, 5));
}

// Dark brushed metal.
std::uint8_t gunMetal(int x, int y)
{
    const float streak = hashNoise(0, y, 6);
    return static_cast<std::uint8_t>(226 + static_cast<int>(6 * streak) +
                                     static_cast<int>(3 * hashNoise(x, y, 7)) -
                                     (x % 8 == 0 ? 8 : 0));
}

// Soot-darkened rings of an engine bell.
std::uint16_t fighterEngine(int x, int y)
{
    Colour c = mix({96, 98, 108}, {120, 70, 40}, static_cast<float>(y) / 31.0f);
    if (y % 8 == 0)
        c = shade(c, 1.35f);
    return rgb565(shade(c, 0.9f + 0.2f * hashNoise(x, y, 8)));
}

// A white-hot core fading through orange to red; black (transparent) outside the flame.
std::uint16_t engineGlow(int x, int y)
{
    const float dx = (static_cast<float>(x) - 15.5f) / 16.0f,
                dy = (static_cast<float>(y) - 15.5f) / 16.0f;
    const float r = std::sqrt(dx * dx + dy * dy);
    if (r > 1.0f)
        return rgb565({0, 0, 0}, true);
    if (r < 0.35f)
        return rgb565(mix({255, 255, 235}, {255, 214, 90}, r / 0.35f));
    return rgb565(mix({255, 200, 70}, {200, 40, 10}, (r - 0.35f) / 0.65f));
}

// Tinted glass with a highlight and the frame bars.
std::uint16_t fighterCanopy(int x, int y)
{
    Colour c = mix({20, 40, 86}, {96, 176, 226}, static_cast<float>(y) / 63.0f);
    if (std::abs((x + y) % 64 - 20) < 4)
        c = mix(c, {235, 245, 255}, 0.6f);
    if (y % 21 == 0 || x % 32 < 2)
        c = {70, 74, 82};
    return rgb565(c);
}

// Brown plating with seams and rows of lit windows.
std::uint8_t capitalHull(int x, int y)
{
    if (x % 32 == 0 || y % 32 == 0)
        return paletteIndex(Ramp::Brown, 24);
    if (y % 32 >= 14 && y % 32 < 17 && x % 8 >= 2 && x % 8 < 5)
        return hashNoise(x / 8, y / 32, 9) < 0.8f ? paletteIndex(Ramp::Ochre, 1)
                                                  : paletteIndex(Ramp::Brown, 26);
    return paletteIndex(Ramp::Brown, 9 + 5 * smoothNoise(x, y, 16, 128, 10) + hashNoise(x, y, 11));
}

// Dark deck plating edged with hazard stripes.
std::uint16_t capitalDeck(int x, int y)
{
    if (x < 6 || x >= 58) {
        const bool yellow = ((x + y) / 6) % 2 == 0;
        return rgb565(yellow ? Colour{222, 182, 34} : Colour{40, 40, 42});
    }
    if (x >= 31 && x < 33 && y % 16 < 9)
        return rgb565({230, 230, 230});
    return rgb565(shade({78, 80, 84}, 0.85f + 0.3f * smoothNoise(x, y, 8, 64, 12)));
}

// Grey tower with a grid of windows, most of them lit.
std::uint16_t capitalBridge(int x, int y)
{
    if (x % 10 >= 2 && x % 10 < 8 && y % 8 >= 2 && y % 8 < 6)
        return rgb565(hashNoise(x / 10, y / 8, 13) < 0.75f ? Colour{130, 222, 255}
                                                           : Colour{30, 44, 60});
    return rgb565(shade({150, 152, 158}, 0.9f + 0.15f * hashNoise(x, y, 14)));
}

// Steel-blue rings of the big engine bells.
std::uint16_t capitalEngine(int x, int y)
{
    Colour c{82, 92, 116};
    if (y % 8 < 2)
        c = {130, 144, 170};
    return rgb565(shade(c, 0.9f + 0.2f * hashNoise(x, y, 15)));
}

// Light mesh of a radar dish.
std::uint16_t radarDish(int x, int y)
{
    if (x % 8 == 0 || y % 8 == 0)
        return rgb565({120, 126, 134});
    return rgb565(shade({206, 210, 216}, 0.95f + 0.1f * hashNoise(x, y, 16)));
}

// Burnt metal: dark red and brown with holes.
std::uint8_t scorched(int x, int y)
{
    const float n = smoothNoise(x, y, 8, 64, 17);
    if (n > 0.78f)
        return 252;
    if (n > 0.5f)
        return paletteIndex(Ramp::Red, 20 + 8 * hashNoise(x, y, 18));
    return paletteIndex(Ramp::Brown, 16 + 10 * hashNoise(x, y, 19));
}

// A green container side: frame, cross braces and an ochre stencil band.
std::uint8_t cargoCrate(int x, int y)
{
    if (x < 4 || x >= 60 || y < 4 || y >= 60)
        return paletteIndex(Ramp::Green, 22);
    if (std::abs(x - y) < 3 || std::abs(x + y - 63) < 3)
        return paletteIndex(Ramp::Green, 16);
    if (y >= 28 && y < 36)
        return paletteIndex(Ramp::Ochre, ((x / 4) % 2) ? 4 : 26);
    return paletteIndex(Ramp::Green, 8 + 3 * smoothNoise(x, y, 8, 64, 20) + hashNoise(x, y, 21));
}

} // namespace

TcacheBuilder demoTextures()
{
    TcacheBuilder tcache;
    tcache.add16("fgt_hull", 64, 64, paint<std::uint16_t>(64, fighterHull));
    tcache.add8("fgt_wing", 64, 64, paint<std::uint8_t>(64, fighterWing));
    tcache.add8("gun_metal", 32, 32, paint<std::uint8_t>(32, gunMetal));
    tcache.add16("fgt_engine", 32, 32, paint<std::uint16_t>(32, fighterEngine));
    tcache.add16("engine_glow", 32, 32, paint<std::uint16_t>(32, engineGlow));
    tcache.add16("fgt_canopy", 64, 64, paint<std::uint16_t>(64, fighterCanopy));
    tcache.add8("cap_hull", 128, 128, paint<std::uint8_t>(128, capitalHull));
    tcache.add16("cap_deck", 64, 64, paint<std::uint16_t>(64, capitalDeck));
    tcache.add16("cap_bridge", 64, 64, paint<std::uint16_t>(64, capitalBridge));
    tcache.add16("cap_engine", 32, 32, paint<std::uint16_t>(32, capitalEngine));
    tcache.add16("radar_dish", 64, 64, paint<std::uint16_t>(64, radarDish));
    tcache.add8("cap_scorched", 64, 64, paint<std::uint8_t>(64, scorched));
    tcache.add8("cargo_crate", 64, 64, paint<std::uint8_t>(64, cargoCrate));
    return tcache;
}

} // namespace shipmaker
