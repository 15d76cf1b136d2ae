#pragma once

#include "shipmaker/ShipBuilder.h"
#include "shipmaker/TcacheBuilder.h"

#include <string>

// The 20,000-face textured ship that the draw, pick and export benchmarks measure.
namespace benchship {

inline constexpr int TextureCount = 50;
inline constexpr int ComponentCount = 4;
inline constexpr int GridSide = 50; // 50 x 50 quads, 5,000 faces per component

std::string textureName(int i);

/// A rippled sheet of quads over +-90 ship units, split into components side by side. Faces
/// name their textures in runs of `facesPerRun`: 400 is each texture's faces together, as
/// exporters write them; 40 changes texture ten times as often.
shipmaker::Ship benchShip(int facesPerRun);

/// `count` 32 x 32 16-bit textures named textureName(0...).
shipmaker::TcacheBuilder benchTextures(int count);

} // namespace benchship
