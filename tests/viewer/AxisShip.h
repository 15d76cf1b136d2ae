#pragma once

#include "tests/support/ShipMaker.h"

// A ship that shows where a view puts the ship's axes: coloured cubes 50 units out on +x (red),
// +y (green) and +z (blue), white ones on the negative axes. An axis pointing at the viewer
// shows its colour at the anchor; one pointing away shows white there.
namespace viewertest {

inline testsupport::Ship axisShip()
{
    testsupport::Component c;
    c.textures = {"red", "green", "blue", "white"};
    testsupport::addCuboid(c, {50, 0, 0}, {10, 10, 10}, 0);
    testsupport::addCuboid(c, {0, 50, 0}, {10, 10, 10}, 1);
    testsupport::addCuboid(c, {0, 0, 50}, {10, 10, 10}, 2);
    testsupport::addCuboid(c, {-50, 0, 0}, {10, 10, 10}, 3);
    testsupport::addCuboid(c, {0, -50, 0}, {10, 10, 10}, 3);
    testsupport::addCuboid(c, {0, 0, -50}, {10, 10, 10}, 3);
    testsupport::Ship ship;
    ship.components = {c};
    return ship;
}

inline testsupport::TcacheBuilder colourTextures()
{
    testsupport::TcacheBuilder b;
    b.solid16("red", 2, 2, 0xF800);
    b.solid16("green", 2, 2, 0x07E0);
    b.solid16("blue", 2, 2, 0x001F);
    b.solid16("white", 2, 2, 0xFFFF);
    return b;
}

} // namespace viewertest
