#pragma once

#include "shipfile/ShipFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Commands on whole components and on the ship header, and the component properties that the
// properties dialog edits in place.
namespace editing {

/// Removes the component's record and its whole section (its type-2 block up to the next one).
/// Refuses a reduced components block (records other than 312 bytes) and a file without the
/// component's section, each with its message; then nothing changes.
bool deleteComponent(shipfile::ShipFile& file, int component);

/// Steps the ship class 0 -> 1 -> 2 -> 0 (any value above 2 becomes 0, negative values count
/// up, 127 wraps to -128). Returns the new value, or nothing without a header record.
std::optional<std::int8_t> changeShipClass(shipfile::ShipFile& file);

/// The fields of a component record that the properties dialog shows. A field is absent when
/// the record is too short to hold it (a reduced components block); the dialog leaves those
/// alone, and the setters below write nothing for them.
struct ComponentProperties
{
    std::string name;
    std::optional<std::int32_t> role;
    std::optional<std::int32_t> hitPoints;
    std::optional<bool> hasDebris;
    std::optional<std::int32_t> debrisNumber;
};

/// Nothing when the ship has no such component record.
std::optional<ComponentProperties> componentProperties(const shipfile::ShipFile& file,
                                                       int component);

/// Writes at most 50 characters of `name` and a NUL at the start of the record; the bytes
/// after the NUL keep what they held. A record shorter than 51 bytes takes what fits.
bool setComponentName(shipfile::ShipFile& file, int component, std::string_view name);
/// "Change": the next role 0 -> 1 -> 2 -> 3 -> 0; above 3 gives 0, negative values count up.
std::optional<std::int32_t> cycleComponentRole(shipfile::ShipFile& file, int component);
bool setComponentHitPoints(shipfile::ShipFile& file, int component, std::int32_t hitPoints);
/// Stores the debris flag as the game expects it: 48 with debris, 0 without.
bool setComponentHasDebris(shipfile::ShipFile& file, int component, bool hasDebris);
bool setComponentDebrisNumber(shipfile::ShipFile& file, int component, std::int32_t number);

/// Adds `delta` to the component's origin (a mouse drag), whatever the block's record size.
/// False when there is no such record or it is too short to hold an origin.
bool moveComponentOrigin(shipfile::ShipFile& file, int component, shipfile::Vec3 delta);

} // namespace editing
