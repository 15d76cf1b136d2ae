#pragma once

#include "shipfile/MessageText.h"

#include <string_view>

// The editing commands' messages: boxes owned by the main window or a dialog. Texts that end in
// a newline keep it: it is part of what the user sees.
namespace editing::messages {

using shipfile::MessageText;
using shipfile::messages::owned;

inline constexpr MessageText ErrorFindingBlock13 = owned("Error finding block13");
inline constexpr MessageText ErrorInitializingBlock13 = owned("Error initializing block13");
inline constexpr MessageText AttachmentAllocFailed =
    owned("Error allocating memory for attachment block!\n");
inline constexpr MessageText NoVertices = owned("Error searching for vertices\n");
inline constexpr MessageText NoPolygons = owned("Error searching for polygons\n");
inline constexpr MessageText ReducedComponentBlock =
    owned("This ship uses a reduced version of Block1, no changes will be made to avoid "
          "possible problems!");
inline constexpr MessageText DeleteFailed =
    owned("Error deleting ship component (possible badly built SHP file)");
inline constexpr MessageText BadShpFile = owned("Bad SHP file!");
inline constexpr MessageText MissingAnimationHeader = owned("Missing Block10");
inline constexpr MessageText MergeReducedComponentBlock =
    owned("One of these ships uses a reduced version of Block1, so they can't be merged. No "
          "changes will be made!");
inline constexpr MessageText MergeIncomplete =
    owned("The second ship could not be read completely, so it can't be merged. No changes "
          "will be made!");
inline constexpr MessageText BlockFull =
    owned("This block is full: a block of a SHP file holds at most 65535 records. No changes "
          "will be made!");

// Display texts built from numbers.
inline constexpr std::string_view FrameLabel = "Frame %d";
inline constexpr std::string_view UnknownAttachmentKind = "Unknown: Type %d";

} // namespace editing::messages
