#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace exporter {

struct ExportScene;

/// A material name as OBJ writes it: one word, blanks and '#' as '_'.
std::string objMaterialName(const std::string& name);
/// An object name as OBJ writes it: one line, control characters as '_'.
std::string objObjectName(const std::string& name);

/// Writes the scene as Wavefront OBJ into `directory`: `objName` with one object per component
/// (origins applied, attachments as comments), `stem`.mtl and the textures as PNG files. The
/// names of the files written, or nothing when one could not be written.
std::optional<std::vector<std::string>> writeObj(const ExportScene& scene,
                                                 const std::filesystem::path& directory,
                                                 const std::string& objName,
                                                 const std::string& stem);

} // namespace exporter
