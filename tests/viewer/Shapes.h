#pragma once

#include "tests/support/ShipMaker.h"

namespace viewertest {

/// A flat rectangle in the plane z from (x0, y0) to (x1, y1), two faces with texture index
/// `texture`, wound clockwise seen from +z: the camera's mirror turns them counter-clockwise on
/// screen, so the front view shows them with culling on.
inline void addRectangle(testsupport::Component& c, float x0, float y0, float x1, float y1,
                         std::uint32_t texture = 0, float z = 0.0f)
{
    const auto base = static_cast<std::uint32_t>(c.vertices.size());
    c.vertices.insert(c.vertices.end(), {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}});
    testsupport::Face f1, f2;
    f1.a = base, f1.b = base + 2, f1.c = base + 1, f1.texture = texture;
    f2.a = base, f2.b = base + 3, f2.c = base + 2, f2.texture = texture;
    c.faces.insert(c.faces.end(), {f1, f2});
}

} // namespace viewertest
