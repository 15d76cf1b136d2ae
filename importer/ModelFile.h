#pragma once

#include "importer/Model.h"

#include <filesystem>
#include <optional>
#include <string>

namespace shipfile {
class MessageSink;
struct Message;
} // namespace shipfile

namespace importer {

/// Reads the model at `path` in the format its extension names (.glb, .gltf, .obj, any case);
/// a .gltf reads its buffers from beside it. Nothing, after one refusal message in `sink`,
/// when the file cannot be read or is damaged.
std::optional<Model> readModelFile(const std::filesystem::path& path, shipfile::MessageSink& sink);

/// The refusal message for `path` with `detail` saying what and where.
shipfile::Message refusalMessage(const std::filesystem::path& path, const std::string& detail);

} // namespace importer
