#pragma once

// The string table: texts of menus, file dialogs and resources that are not message boxes.
namespace resources::strings {

inline constexpr const char* AboutMenuEntry = "&About Korvex...";
inline constexpr const char* ExportMenuEntry = "&Export...";
inline constexpr const char* GlbFilter = "glTF binary (*.glb)";
inline constexpr const char* GltfFilter = "glTF with its files beside it (*.gltf)";
inline constexpr const char* ObjFilter = "Wavefront OBJ (*.obj)";
inline constexpr const char* ShpFilesFilter = "Vantaris SHP (*.shp)";
inline constexpr const char* AllFilesFilter = "All Files (*)";
inline constexpr const char* IconResource = ":/korvex.png";

} // namespace resources::strings
