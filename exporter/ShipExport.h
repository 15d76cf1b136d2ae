#pragma once

#include "exporter/ExportScene.h"

#include <cstddef>
#include <filesystem>
#include <optional>

namespace shipfile {
class MessageSink;
class ShipFile;
} // namespace shipfile

// Taking a ship out to general 3D tools: glTF 2.0 (binary or with its files beside it) and
// Wavefront OBJ, textured as the view shows the ship.
namespace exporter {

enum class ExportFormat
{
    Glb,
    Gltf,
    Obj,
};

/// The format a destination's extension names (.glb, .gltf, .obj, in any case), or nothing.
std::optional<ExportFormat> exportFormatOf(const std::filesystem::path& path);

struct ExportSummary
{
    std::size_t components = 0;
    std::size_t triangles = 0;
    std::size_t skippedFaces = 0;
};

/// Writes the ship to `path` in the format its extension names, with the files that format
/// keeps beside it (named after `path`). Files are written aside and moved into place only
/// when all of them were written. Warnings (textures that could not be read, components
/// without geometry) go to `sink` as one message each; a failure is one error message there
/// and gives nothing.
std::optional<ExportSummary> exportShip(const shipfile::ShipFile& file,
                                        const std::filesystem::path& path,
                                        const ExportOptions& options, shipfile::MessageSink& sink);

} // namespace exporter
