#pragma once

#include "shipfile/ShipFile.h"

#include <optional>

// The three special-block switches of a component: a dummy triangle at the end of its face
// block, its type-13 block ("Block13") and a pair of type-14 blocks ("Block14"). Every block is
// looked for in the component's own section.
namespace editing {

/// Removes the last face when it is a dummy triangle (vertex indices 0, 0, 0), else appends
/// one (all zero but the previous face's texture index and 23 at byte 4). An empty or missing
/// face block is left alone. True when the face block changed.
bool toggleDummyTriangle(shipfile::ShipFile& file, int component);

/// Empties a switched-on type-13 block, or fills an empty one with the values 2 and 5. Without
/// a type-13 block in the section, shows "Error initializing block13" and changes nothing.
bool toggleBlock13(shipfile::ShipFile& file, int component);

/// Adds type-14 blocks up to an adjacent pair, or removes a pair (and a third right after it).
/// Returns the new state of the "Block14" box, or nothing when the command did not run (no
/// such component, or its type-2 block ends the chain).
std::optional<bool> toggleBlock14(shipfile::ShipFile& file, int component);

/// Whether the component's last face is a dummy triangle; false without faces.
bool dummyTrianglePresent(const shipfile::ShipFile& file, int component);
/// Whether the component's type-13 block is switched on; nothing, after "Error finding
/// block13", when the section has none.
std::optional<bool> block13On(const shipfile::ShipFile& file, int component);
/// Whether the component has its pair of type-14 blocks.
bool block14Present(const shipfile::ShipFile& file, int component);

} // namespace editing
