#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/Layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace shipfile {

class ShipBlock;
class ShipFile;

/// The 168 bytes a new attachment of `kind` starts with.
Bytes attachmentTemplate(layout::AttachmentKind kind);

/// Display names of the gun models: entry 0 empty, 1..15 guns (by gunIndex), 16..33 gun
/// objects (by 16 + styleIndex).
inline constexpr int GunModelCount = 34;
inline constexpr int FirstGunObjectModel = 16;
std::string_view gunModelName(int index); // empty outside the table
/// The model name of a gun object (by `styleIndex`) or a gun (by `gunIndex`); empty for other
/// kinds and for indices outside the table.
std::string_view attachmentModelName(std::int32_t kind, std::int32_t styleIndex,
                                     std::int32_t gunIndex);

/// "Missile Mount Point", "Gun Object", "Engine Flame", "Gun" or "Blinking Light" for the
/// kinds 0..4; empty for a kind the game does not know.
std::string_view attachmentKindName(std::int32_t kind);

/// "Fighter", "Capship", "Fighter + Cloak", or "[Value = %d]".
std::string shipClassText(std::int8_t shipClass);
/// Role of a component: the four names for 0..3 (compared unsigned), else "[Value = %d]" with
/// the value's lowest byte as a signed number.
std::string roleText(std::int32_t role);
inline constexpr std::array<std::string_view, 4> RoleNames = {"Fighter-type", "Capship-type",
                                                              "Fighter cockpit", "Fighter turret"};

/// The ship class byte, or nothing when the file has no header record that long.
std::optional<std::int8_t> shipClass(const ShipFile& file);
bool setShipClass(ShipFile& file, std::int8_t value);

// Component n is record n of the type-1 block; its other blocks are found by componentParts
// (ComponentParts.h).
int componentCount(const ShipFile& file);
Bytes componentRecord(const ShipFile& file, int n);
MutableBytes componentRecord(ShipFile& file, int n);
std::string componentName(const ShipFile& file, int n);
/// Whether component n's name ends in "dest", ignoring case: the wreck the game swaps in when
/// the component is destroyed, which the view and the exports leave out unless asked.
bool isDestComponent(const ShipFile& file, int n);

} // namespace shipfile
