#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace exporter {

struct ExportScene;

/// Writes the scene as Wavefront OBJ into `directory`: `objName` with one object per component
/// (origins applied, attachments as comments), `stem`.mtl and the textures as PNG files. The
/// names of the files written, or nothing when one could not be written.
std::optional<std::vector<std::string>> writeObj(const ExportScene& scene,
                                                 const std::filesystem::path& directory,
                                                 const std::string& objName,
                                                 const std::string& stem);

} // namespace exporter
