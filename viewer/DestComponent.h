#pragma once

namespace shipfile {
class ShipFile;
}

namespace viewer {

/// Whether component n's name ends in "dest", ignoring case: such components are left out of
/// the picture while the view's `ignoreDest` is set.
bool isDestComponent(const shipfile::ShipFile& file, int n);

} // namespace viewer
