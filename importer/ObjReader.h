#pragma once

#include "importer/Model.h"

#include <optional>
#include <string>
#include <string_view>

namespace importer {

/// Reads a Wavefront OBJ model from its text: one mesh and root node per object ("o"; "g"
/// when the file has no "o"), its faces cut into triangles as fans, each face's material the
/// name its "usemtl" line gives (the .mtl file is not needed). Gives nothing and says why in
/// `refusal` when a face names a position or texture coordinate the file does not hold.
std::optional<Model> readObj(std::string_view text, std::string& refusal);

} // namespace importer
