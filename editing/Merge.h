#pragma once

#include "shipfile/ShipFile.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace editing {

/// Adds every component of `second` to `into`: its component records go after the open ship's,
/// and its blocks after its component table go to the end of the open ship's chain; its header
/// is dropped. Returns the names of the added components, in order, for the component list.
/// Refuses, changing nothing, a second file that does not start with a type-0 block followed by
/// a type-1 block ("Bad SHP file!"), component tables that are not both in the 312-byte form,
/// a merged table too large for the file, and a second file that did not load completely (it
/// ends in the middle of a block). An empty `second` (its loader has spoken) merges
/// nothing silently.
std::optional<std::vector<std::string>> mergeShipFile(shipfile::ShipFile& into,
                                                      std::unique_ptr<shipfile::ShipFile> second);

} // namespace editing
