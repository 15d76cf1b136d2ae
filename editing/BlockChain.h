#pragma once

#include "shipfile/ShipFile.h"

#include <cstdint>

// Walks over the block chain shared by the editing commands: component sections.
namespace editing {

/// A component's section: its type-2 block and the blocks after it, up to `end` (the next
/// section's type-2 block, or null at the end of the chain). `start` is null when the ship has
/// no such component.
struct Section
{
    shipfile::ShipBlock* start = nullptr;
    const shipfile::ShipBlock* end = nullptr;
};

Section sectionOf(shipfile::ShipFile& file, int component);

/// The first block of `type` from `from` (itself included) up to, not including, `end`.
shipfile::ShipBlock* findBefore(shipfile::ShipBlock* from, const shipfile::ShipBlock* end,
                                std::uint32_t type);

} // namespace editing
