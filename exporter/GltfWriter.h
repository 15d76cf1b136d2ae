#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace exporter {

struct ExportScene;
struct Picture;

/// Writes the scene as glTF 2.0 into `directory`: `stem`.glb with everything inside, or
/// `stem`.gltf with `stem`.bin and the textures as PNG files beside it. The names of the files
/// written, or nothing when one could not be written.
std::optional<std::vector<std::string>> writeGltf(const ExportScene& scene,
                                                  const std::filesystem::path& directory,
                                                  const std::string& stem, bool binary);

/// The file a texture is written to beside a .gltf or .obj named `stem`.
std::string pictureFileName(const std::string& stem, const Picture& picture);
/// Writes every picture of the scene as its PNG file in `directory`, adding the names to
/// `written`; false when one could not be written.
bool writePictures(const ExportScene& scene, const std::filesystem::path& directory,
                   const std::string& stem, std::vector<std::string>& written);

} // namespace exporter
