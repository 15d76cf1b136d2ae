#pragma once

#include "shipfile/MessageText.h"

#include <string_view>

// The import's messages: boxes owned by the main window (korvex-shp prints them on stderr), and
// the details a refusal names: what in the model is wrong, and where.
namespace importer::messages {

using shipfile::MessageIcon;
using shipfile::MessageText;
using shipfile::messages::owned;

/// The first "%s" is the model's file name, the second the detail.
inline constexpr MessageText ImportRefused =
    owned("\"%s\" was not imported: %s. Nothing was changed.", MessageIcon::Stop);

inline constexpr std::string_view CannotRead = "the file cannot be read";
inline constexpr std::string_view UnknownFormat =
    "only glTF (.glb, .gltf) and OBJ (.obj) models can be imported";
inline constexpr std::string_view GltfBroken = "it is no glTF file the reader understands (%s)";
inline constexpr std::string_view NeedsExtension =
    "it needs the glTF extension %s, which Korvex does not read; export it without";
inline constexpr std::string_view MissingReference = "%s names %s, which the file does not hold";
inline constexpr std::string_view AccessorPastBuffer =
    "accessor %d of %s reaches past the end of its buffer";
inline constexpr std::string_view AccessorWrongType =
    "accessor %d of %s does not hold the kind of numbers it is used for";
inline constexpr std::string_view AccessorSparse =
    "accessor %d of %s is sparse, which Korvex does not read";
inline constexpr std::string_view IndexPastVertices =
    "%s names vertex %d, past the vertices it has";
inline constexpr std::string_view NotANumber = "%s holds a number that is not finite (%s)";
inline constexpr std::string_view NodeLoop = "node %d is its own ancestor";
inline constexpr std::string_view NodeTwice = "node %d hangs under two parents";
inline constexpr std::string_view TooManyRecords =
    "mesh \"%s\" would make %s records, more than the 65,535 a block holds";
inline constexpr std::string_view NameTooLong =
    "the texture name \"%s\" is longer than the texture-name records of its component hold";
inline constexpr std::string_view NoLikeComponent = "the ship has no component \"%s\" to copy";
inline constexpr std::string_view NoComponents = "the ship has no component table";

} // namespace importer::messages
