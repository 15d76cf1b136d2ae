#pragma once

#include "tests/support/ShipBuilder.h"

#include <cmath>
#include <cstdint>
#include <string>

// The 20,000-face ship the drawing and picking benchmarks share.
namespace benchship {

inline constexpr int TextureCount = 50;
inline constexpr int ComponentCount = 4;
inline constexpr int GridSide = 50; // 50 x 50 quads, 5,000 faces per component

inline std::string textureName(int i)
{
    return "Plate_" + std::to_string(i);
}

// A rippled sheet of quads over +-90 ship units, split into components side by side. Faces
// name their textures in runs of `facesPerRun`: 400 is each texture's faces together, as
// exporters write them; 40 changes texture ten times as often.
inline testsupport::Ship benchShip(int facesPerRun)
{
    testsupport::Ship ship;
    int faceNumber = 0;
    for (int part = 0; part < ComponentCount; ++part) {
        testsupport::Component c;
        c.name = "part" + std::to_string(part);
        for (int t = 0; t < TextureCount; ++t)
            c.textures.push_back(textureName(t));
        const float x0 = -90.0f + 180.0f * static_cast<float>(part) / ComponentCount;
        const float width = 180.0f / ComponentCount;
        for (int j = 0; j <= GridSide; ++j)
            for (int i = 0; i <= GridSide; ++i) {
                const float x = x0 + width * static_cast<float>(i) / GridSide;
                const float y = -90.0f + 180.0f * static_cast<float>(j) / GridSide;
                c.vertices.push_back({x, y, 3.0f * std::sin(x * 0.2f) * std::cos(y * 0.2f)});
            }
        const auto at = [](int i, int j) {
            return static_cast<std::uint32_t>(j * (GridSide + 1) + i);
        };
        for (int j = 0; j < GridSide; ++j)
            for (int i = 0; i < GridSide; ++i)
                for (int half = 0; half < 2; ++half) {
                    testsupport::Face f;
                    // Clockwise seen from +z: front-facing through the camera's mirror.
                    if (half == 0)
                        f.a = at(i, j), f.b = at(i + 1, j + 1), f.c = at(i + 1, j);
                    else
                        f.a = at(i, j), f.b = at(i, j + 1), f.c = at(i + 1, j + 1);
                    f.texture =
                        static_cast<std::uint32_t>((faceNumber++ / facesPerRun) % TextureCount);
                    c.faces.push_back(f);
                }
        ship.components.push_back(c);
    }
    return ship;
}

} // namespace benchship
