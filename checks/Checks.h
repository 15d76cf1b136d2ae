#pragma once

#include "checks/Finding.h"

#include <cstddef>
#include <string>
#include <vector>

namespace shipfile {
class ShipFile;
}

namespace checks {

/// Findings of one check on the records of one block are listed one a line up to this many;
/// one more line stands for the rest.
inline constexpr std::size_t RecordFindingsLimit = 50;

/// Every finding in `ship`, in file order: the file's framing first, then component by
/// component. With `cacheTextures` (the names the texture cache holds), a texture name the
/// cache lacks is a warning; without it, texture names are not looked up. Reads only.
std::vector<Finding> checkShip(const shipfile::ShipFile& ship,
                               const std::vector<std::string>* cacheTextures = nullptr);

} // namespace checks
