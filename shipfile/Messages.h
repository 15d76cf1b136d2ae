#pragma once

#include "shipfile/MessageSink.h"

#include <string>
#include <string_view>

// Every text and caption the program shows to the user, in one place. Texts that end in a
// newline keep it: it is part of what the user sees.
namespace shipfile::messages {

inline constexpr std::string_view AppName = "korvex";

// Captions of the boxes that carry their own.
inline constexpr std::string_view CaptionWentWrong = "Something went wrong...";
inline constexpr std::string_view CaptionCompressed = "Compressed SHP file?";
inline constexpr std::string_view CaptionUhOh = "Uh oh...";
inline constexpr std::string_view CaptionWarning = "Warning!";
inline constexpr std::string_view CaptionError = "ERROR";

// Ship file model.
inline constexpr std::string_view ErrorOpening = "Error opening %s!";
inline constexpr std::string_view NotAnShp =
    "The file you attempted to load doesn't appear to be a compressed or uncompressed SHP file!";
inline constexpr std::string_view CompressedNotice =
    "The file you attempted to load is compressed. I'll uncompress it, check if it's a SHP file "
    "and load it if possible";
inline constexpr std::string_view MissingType9 =
    "This SHP file seems to be missing one or more Type9 blocks. Ships should always have one "
    "Type9 block per object, even if it's empty (number == 0)";
inline constexpr std::string_view MissingBoxes =
    "This SHP file seems to be missing it's box structure.";
inline constexpr std::string_view NoBlocks = "\"%s\" holds no blocks";
inline constexpr std::string_view ErrorSaving = "Error saving file \"%s\"";
inline constexpr std::string_view Truncated =
    "The file \"%s\" ends in the middle of a block. The blocks before that point were loaded; "
    "the rest of the file is missing.";

// Viewer and textures.
inline constexpr std::string_view EmptyVerticesOrFaces = "Empty vertices or face block!";
inline constexpr std::string_view TcacheOpenFailed =
    "Error opening the TCACHE file! Textures will be unavailable!";
inline constexpr std::string_view TextureNotFound = "Texture not found on TCACHE file!";
inline constexpr std::string_view TextureFormat =
    "This version of Korvex can only handle 8 or 16 bit textures.";
inline constexpr std::string_view TextureDamaged =
    "This texture's entry in the TCACHE file is damaged! Textures will be unavailable!";
inline constexpr std::string_view TextureTooLarge =
    "The graphics driver cannot hold this texture! Textures will be unavailable!";

// Main window start-up and file commands.
inline constexpr std::string_view RegistryKeyMissing =
    "Error opening registry key! Textures will be unavailable!";
inline constexpr std::string_view RegistryValueMissing =
    "Error opening registry entry for Vantaris installed directory! Textures will be unavailable!";
inline constexpr std::string_view SaveChanges = "Save changes to %s?";

// Editing commands.
inline constexpr std::string_view ErrorFindingBlock13 = "Error finding block13";
inline constexpr std::string_view ErrorInitializingBlock13 = "Error initializing block13";
inline constexpr std::string_view AttachmentAllocFailed =
    "Error allocating memory for attachment block!\n";
inline constexpr std::string_view NoVertices = "Error searching for vertices\n";
inline constexpr std::string_view NoPolygons = "Error searching for polygons\n";
inline constexpr std::string_view ReducedBlock1 =
    "This ship uses a reduced version of Block1, no changes will be made to avoid possible "
    "problems!";
inline constexpr std::string_view DeleteFailed =
    "Error deleting ship component (possible badly built SHP file)";
inline constexpr std::string_view BadShpFile = "Bad SHP file!";
inline constexpr std::string_view MissingBlock10 = "Missing Block10";
inline constexpr std::string_view MergeReducedBlock1 =
    "One of these ships uses a reduced version of Block1, so they can't be merged. No changes "
    "will be made!";
inline constexpr std::string_view MergeIncomplete =
    "The second ship could not be read completely, so it can't be merged. No changes will be "
    "made!";
inline constexpr std::string_view BlockFull =
    "This block is full: a block of a SHP file holds at most 65535 records. No changes will be "
    "made!";

// Export to glTF and OBJ.
inline constexpr std::string_view ExportFailed = "Error exporting to \"%s\"";
inline constexpr std::string_view ExportTexturesUnavailable =
    "The texture cache \"%s\" could not be read: the ship was exported without textures.";
inline constexpr std::string_view ExportTexturesMissing =
    "These textures could not be read from the texture cache and were exported untextured: %s";
inline constexpr std::string_view ExportNoGeometry =
    "Component \"%s\" has no face or vertex block: it was exported without triangles.";
inline constexpr std::string_view ExportUnknownKind = "Unknown Kind %d";

// Display texts built from numbers.
inline constexpr std::string_view ValueFormat = "[Value = %d]";
inline constexpr std::string_view FrameLabel = "Frame %d";

// Command-line tool korvex-shp; its own lines on stderr start with "korvex-shp: ".
inline constexpr std::string_view ToolName = "korvex-shp";
inline constexpr std::string_view ToolUsageHeading = "usage: korvex-shp COMMAND ARGUMENTS...";
inline constexpr std::string_view ToolUsagePrefix = "usage: ";
inline constexpr std::string_view ToolUsageInfo = "korvex-shp info FILE [--json]";
inline constexpr std::string_view ToolUsageInfoExit =
    "exit status 3: the file ends in the middle of a block; the blocks before the cut are "
    "listed";
inline constexpr std::string_view ToolUsageUnpack = "korvex-shp unpack IN OUT";
inline constexpr std::string_view ToolUsageOptions = "korvex-shp --help | --version";
inline constexpr std::string_view ToolUnknownCommand = "unknown command \"%s\"";
inline constexpr std::string_view ToolUnknownOption = "unknown option \"%s\"";
inline constexpr std::string_view ToolNotWritten =
    "\"%s\" was not written, because the input file could not be read completely";
inline constexpr std::string_view ToolOutputFailed = "error writing the output";
inline constexpr std::string_view ToolUsageRender =
    "korvex-shp render FILE -o OUT.png [--view Bottom|Left|Front|FreeView|Top|Right|Back] "
    "[--zoom N] [--select COMPONENT] [--attachment N] [--wireframe] [--mark] [--no-boxes] "
    "[--keep-dest] [--textures TCACHE] [--size N] [--fit] [--sheet]";
inline constexpr std::string_view ToolUnknownView =
    "unknown view \"%s\": the views are Bottom, Left, Front, FreeView, Top, Right and Back";
inline constexpr std::string_view ToolBadZoom =
    "the zoom must be a whole number from 1 to 500, not \"%s\"";
inline constexpr std::string_view ToolBadSize =
    "the size must be a whole number of pixels from 16 to 4096, not \"%s\"";
inline constexpr std::string_view ToolBadAttachment =
    "the attachment must be a record number from 0 up, not \"%s\"";
inline constexpr std::string_view ToolNoComponent = "the ship has no component \"%s\"";
inline constexpr std::string_view ToolNoAttachment = "the component has no attachment \"%s\"";
inline constexpr std::string_view ToolAttachmentWithoutComponent =
    "--attachment needs --select: an attachment belongs to a component";
inline constexpr std::string_view ToolBadPictureFormat =
    "cannot write a picture named \"%s\": give it the ending of a picture format, such as "
    ".png, .jpg or .bmp";
inline constexpr std::string_view ToolTexturesFrom = "textures from \"%s\"";
inline constexpr std::string_view ToolNoTextures = "no textures: the game's directory is not known";
inline constexpr std::string_view ToolNoDisplay =
    "no OpenGL context: render needs an X display (run it under xvfb-run)";
inline constexpr std::string_view ToolUsageExport =
    "korvex-shp export FILE -o OUT.glb|OUT.gltf|OUT.obj [--textures TCACHE] [--boxes] "
    "[--keep-dest]";
inline constexpr std::string_view ToolBadExportFormat =
    "the output must end in .glb, .gltf or .obj, not \"%s\"";
inline constexpr std::string_view ToolExported = "wrote \"%s\": %d components, %d triangles";
inline constexpr std::string_view ToolFacesSkipped =
    "%d faces point past their vertex block or hold no number and were left out";
inline constexpr std::string_view ToolPictureNotWritten = "error writing the picture \"%s\"";

/// Replaces the first "%s" of `format` with `argument` (the whole argument, any length).
std::string formatText(std::string_view format, std::string_view argument);
/// Replaces the first "%d" of `format` with `value` in signed decimal.
std::string formatNumber(std::string_view format, long long value);

/// A box with no owner window and its own caption, as the file model and the viewer show.
Message ownCaption(std::string text, std::string_view caption, MessageIcon icon);
/// A box owned by the main window or a dialog; its caption is the application's name.
Message owned(std::string text, MessageIcon icon = MessageIcon::None);

} // namespace shipfile::messages
