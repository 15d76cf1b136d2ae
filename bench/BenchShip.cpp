#include "bench/BenchShip.h"

#include <cmath>

namespace benchship {

using shipmaker::Component;
using shipmaker::Face;

std::string textureName(int i)
{
    return "Plate_" + std::to_string(i);
}

shipmaker::Ship benchShip(int facesPerRun)
{
    shipmaker::Ship ship;
    int faceNumber = 0;
    for (int part = 0; part < ComponentCount; ++part) {
        Component c;
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
                    Face f;
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

shipmaker::TcacheBuilder benchTextures(int count)
{
    shipmaker::TcacheBuilder b;
    for (int t = 0; t < count; ++t) {
        std::vector<std::uint16_t> pixels(32 * 32);
        for (std::size_t p = 0; p < pixels.size(); ++p)
            pixels[p] = static_cast<std::uint16_t>(
                (p * 2654435761u + static_cast<unsigned>(t) * 977u) | 1u);
        b.add16(textureName(t), 32, 32, pixels);
    }
    return b;
}

} // namespace benchship
