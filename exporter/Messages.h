#pragma once

#include "shipfile/MessageText.h"

#include <string_view>

// The export's messages: boxes owned by the main window (korvex-shp prints them on stderr).
namespace exporter::messages {

using shipfile::MessageIcon;
using shipfile::MessageText;
using shipfile::messages::owned;

inline constexpr MessageText ExportFailed = owned("Error exporting to \"%s\"", MessageIcon::Stop);
inline constexpr MessageText ExportTexturesUnavailable =
    owned("The texture cache \"%s\" could not be read: the ship was exported without textures.",
          MessageIcon::Warning);
inline constexpr MessageText ExportTexturesMissing =
    owned("These textures could not be read from the texture cache and were exported "
          "untextured: %s",
          MessageIcon::Warning);
inline constexpr MessageText ExportNoGeometry =
    owned("Component \"%s\" has no face or vertex block: it was exported without triangles.",
          MessageIcon::Warning);

/// The node name of an attachment of a kind the catalogue does not know.
inline constexpr std::string_view ExportUnknownKind = "Unknown Kind %d";

} // namespace exporter::messages
