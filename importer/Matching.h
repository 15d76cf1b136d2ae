#pragma once

#include "importer/Model.h"
#include "shipfile/Bytes.h"

#include <array>
#include <cstdint>
#include <string>

// What an import compares, and how: names with and without Blender's suffix, positions by
// their bits, texture coordinates and places within what tools round, rotations.
namespace importer::matching {

using Rotation = std::array<std::array<double, 3>, 3>; // rows

/// Blender's rename of a duplicate undone: "Hull.001" is "Hull" met again.
std::string baseName(const std::string& name);
/// A collision-box node ("Collision Box 0", "Hull Collision Box 0", suffix or not).
bool isBoxName(const std::string& name);
/// The Latin-1 bytes of a UTF-8 name (ship names are bytes); other characters become '?'.
std::string fromUtf8(const std::string& text);

/// A position by its bits, -0 and +0 alike, as == compares them.
using PositionKey = std::array<std::uint32_t, 3>;
PositionKey keyOf(const Vec3f& p);
/// A triangle's three corners in sorted order: alike for every rotation of the corners.
using TriangleKey = std::array<PositionKey, 3>;
TriangleKey keyOf(const std::array<Vec3f, 3>& corners);

/// Texture coordinates alike within 1e-6 (relative above 1): Blender turns v over and back.
bool uvClose(const Uv& a, const Uv& b);
/// Places alike within 1e-5 (relative above 1): Blender keeps a child's place as its parent's
/// inverse times its own, so a place that went through it unmoved may come back a few units
/// in the last place off.
bool samePlace(const Vec3f& a, const Vec3f& b);
bool sameRotation(const Rotation& a, const Rotation& b);

/// Model axes (y up) to ship axes (y down): the export's half turn undone.
shipfile::Vec3 toShipAxes(const Vec3f& p);
/// The unit normal of the winding a, b, c; zero for a triangle without area.
shipfile::Vec3 unitNormal(const shipfile::Vec3& a, const shipfile::Vec3& b,
                          const shipfile::Vec3& c);
/// The rotation part of a transform's 3 x 3, its columns made orthonormal.
Rotation rotationOf(const Matrix& m);
/// A unit quaternion x, y, z, w as a rotation.
Rotation rotationOf(const std::array<float, 4>& q);

} // namespace importer::matching
