#pragma once

#include "shipmaker/ShipBuilder.h"

#include <cstdint>
#include <string>

// The large plain ship the file and history benchmarks share: 33 components of 500 boxes each
// (4000 vertices and 6000 faces, about 600 KB per component), about 20 MB in all.
inline shipmaker::ByteVector bigShip()
{
    shipmaker::Ship ship;
    for (int c = 0; c < 33; ++c) {
        shipmaker::Component part;
        part.name = "Part " + std::to_string(c);
        part.origin = {static_cast<float>(c), 0, 0};
        part.textures = {"plate", "glow"};
        for (int i = 0; i < 500; ++i)
            shipmaker::addCuboid(part, {static_cast<float>(i % 20), static_cast<float>(i / 20), 0},
                                 {0.5f, 0.5f, 0.5f + static_cast<float>(c)},
                                 static_cast<std::uint32_t>(i % 2));
        part.attachments.push_back(shipmaker::Attachment{1, {0, 1, 2}, 3, -1});
        part.boxes.push_back(shipmaker::Box{});
        ship.components.push_back(std::move(part));
    }
    return shipmaker::buildShip(ship);
}
