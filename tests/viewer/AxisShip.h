#pragma once

#include "tests/support/ShipMaker.h"
#include "tests/viewer/AxisTable.h"
#include "tests/viewer/Colours.h"

#include <functional>
#include <string>

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

/// Checks an axis-ship picture of zoom 1 against `e`; empty when it matches, else what is wrong.
/// `pixel` reads from the lower-left corner.
inline std::string axisMismatches(const AxisExpectation& e,
                                  const std::function<QColor(int, int)>& pixel)
{
    constexpr int AnchorX = 194, AnchorY = 155;
    constexpr int Out = 97; // 50 ship units
    std::string wrong;
    const auto check = [&](const std::string& where, int r, int g, int b, const char* axis) {
        QColor seen;
        if (where == "left")
            seen = pixel(AnchorX - Out, AnchorY);
        else if (where == "right")
            seen = pixel(AnchorX + Out, AnchorY);
        else if (where == "up")
            seen = pixel(AnchorX, AnchorY + Out);
        else if (where == "down")
            seen = pixel(AnchorX, AnchorY - Out);
        else
            seen = pixel(AnchorX, AnchorY);
        const bool ok = where == "away" ? isWhite(seen) : sameColour(seen, r, g, b);
        if (!ok)
            wrong += std::string(axis) + " does not point " + where + " (saw " +
                     seen.name().toStdString() + "); ";
    };
    check(e.x, 255, 0, 0, "+x");
    check(e.y, 0, 255, 0, "+y");
    check(e.z, 0, 0, 255, "+z");
    return wrong;
}

} // namespace viewertest
