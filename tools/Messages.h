#pragma once

#include "shipfile/MessageText.h"

#include <string_view>

// korvex-shp's texts: its usage and its own lines on stderr, which start with "korvex-shp: ".
namespace tools::messages {

using shipfile::messages::formatNumber;
using shipfile::messages::formatText;

inline constexpr std::string_view Name = "korvex-shp";
inline constexpr std::string_view UsageHeading = "usage: korvex-shp COMMAND ARGUMENTS...";
inline constexpr std::string_view UsagePrefix = "usage: ";
inline constexpr std::string_view UsageInfo = "korvex-shp info FILE [--json]";
inline constexpr std::string_view UsageInfoExit =
    "exit status 3: the file ends in the middle of a block; the blocks before the cut are "
    "listed";
inline constexpr std::string_view UsageInfoNames =
    "--json writes a name that is not well-formed UTF-8 as {\"hex\": \"...\"}, two hex digits "
    "per byte of the name";
inline constexpr std::string_view UsageUnpack = "korvex-shp unpack IN OUT";
inline constexpr std::string_view UsageOptions = "korvex-shp --help | --version";
inline constexpr std::string_view UnknownCommand = "unknown command \"%s\"";
inline constexpr std::string_view UnknownOption = "unknown option \"%s\"";
inline constexpr std::string_view NotWritten =
    "\"%s\" was not written, because the input file could not be read completely";
inline constexpr std::string_view OutputFailed = "error writing the output";
inline constexpr std::string_view UsageRender =
    "korvex-shp render FILE -o OUT.png [--view Bottom|Left|Front|FreeView|Top|Right|Back] "
    "[--zoom N] [--select COMPONENT] [--attachment N] [--wireframe] [--mark] [--no-boxes] "
    "[--keep-dest] [--textures TCACHE] [--size N] [--fit] [--sheet] [--preview] [--time MS]";
inline constexpr std::string_view UnknownView =
    "unknown view \"%s\": the views are Bottom, Left, Front, FreeView, Top, Right and Back";
inline constexpr std::string_view BadZoom =
    "the zoom must be a whole number from 1 to 500, not \"%s\"";
inline constexpr std::string_view BadTime =
    "the time must be a whole number of milliseconds from 0 up, not \"%s\"";
inline constexpr std::string_view BadSize =
    "the size must be a whole number of pixels from 16 to 4096, not \"%s\"";
inline constexpr std::string_view BadAttachment =
    "the attachment must be a record number from 0 up, not \"%s\"";
inline constexpr std::string_view NoComponent = "the ship has no component \"%s\"";
inline constexpr std::string_view NoAttachment = "the component has no attachment \"%s\"";
inline constexpr std::string_view AttachmentWithoutComponent =
    "--attachment needs --select: an attachment belongs to a component";
inline constexpr std::string_view BadPictureFormat =
    "cannot write a picture named \"%s\": give it the ending of a picture format, such as "
    ".png, .jpg or .bmp";
inline constexpr std::string_view TexturesFrom = "textures from \"%s\"";
inline constexpr std::string_view NoTextures = "no textures: the game's directory is not known";
inline constexpr std::string_view NoOpenGl =
    "no OpenGL context: render needs an EGL driver that draws OpenGL (Mesa's libegl-mesa0 and "
    "libgl1-mesa-dri)";
inline constexpr std::string_view UsageExport =
    "korvex-shp export FILE -o OUT.glb|OUT.gltf|OUT.obj [--textures TCACHE] [--boxes] "
    "[--keep-dest]";
inline constexpr std::string_view BadExportFormat =
    "the output must end in .glb, .gltf or .obj, not \"%s\"";
inline constexpr std::string_view Exported = "wrote \"%s\": %d components, %d triangles";
inline constexpr std::string_view FacesSkipped =
    "%d faces point past their vertex block or hold no number and were left out";
inline constexpr std::string_view UsageImport =
    "korvex-shp import SHIP MODEL.glb|MODEL.gltf|MODEL.obj -o OUT.shp [--add] "
    "[--like COMPONENT] [--textures TCACHE]";
inline constexpr std::string_view UsageImportExit =
    "exit status 0: OUT.shp was written; 1: the ship or the model was refused and nothing was "
    "written";
inline constexpr std::string_view Imported = "wrote \"%s\"";
inline constexpr std::string_view ImportChecks = "checks of the ship written: %s";
inline constexpr std::string_view TextureNotInCache =
    "the texture \"%s\" is not in the texture cache: the game shows its faces untextured";
inline constexpr std::string_view UsageCheck = "korvex-shp check FILE [--textures TCACHE] [--json]";
inline constexpr std::string_view UsageCheckLines =
    "one line per finding: severity, check, component, block and record where they apply, and "
    "a sentence; nothing for a sound ship. --textures also names textures the cache lacks";
inline constexpr std::string_view UsageCheckJson =
    "--json writes {\"file\", \"errors\", \"warnings\", \"findings\": [{\"severity\", "
    "\"check\", \"component\", \"componentName\", \"block\", \"record\", \"message\"}]}";
inline constexpr std::string_view UsageCheckExit =
    "exit status 0: nothing found; 1: warnings only; 2: an error (or a bad command line); 4: the "
    "ship or the texture cache cannot be read";
inline constexpr std::string_view CacheUnreadable = "cannot read the texture cache \"%s\"";
inline constexpr std::string_view PictureNotWritten = "error writing the picture \"%s\"";
inline constexpr std::string_view UsageTcacheList = "korvex-shp tcache list TCACHE [--json]";
inline constexpr std::string_view UsageTcacheExtract =
    "korvex-shp tcache extract TCACHE NAME... -o DIR | korvex-shp tcache extract TCACHE --all -o "
    "DIR";
inline constexpr std::string_view UsageTcacheReplace =
    "korvex-shp tcache replace TCACHE NAME IMAGE";
inline constexpr std::string_view UsageTcacheAdd =
    "korvex-shp tcache add TCACHE NAME IMAGE [--format 8|16]";
inline constexpr std::string_view UsageTcacheNotes =
    "IMAGE is a PNG file; a new entry's uninterpreted directory bytes are copied from the first "
    "entry of its format (their meaning to the game is unknown); the first write keeps "
    "TCACHE.bak";
inline constexpr std::string_view BadTextureFormat = "the format must be 8 or 16, not \"%s\"";
inline constexpr std::string_view TcacheHeading = "\"%s\": %d entries";
inline constexpr std::string_view TcacheClaims = "the header claims %d entries";
inline constexpr std::string_view TcacheEntryLine = "%s  %s";
inline constexpr std::string_view Damaged = "damaged";
inline constexpr std::string_view UnknownFormat = "unknown format %d";
inline constexpr std::string_view NoSuchTexture = "the cache holds no texture named \"%s\"";
inline constexpr std::string_view NotExtracted = "entry %d is damaged and was not extracted";
inline constexpr std::string_view Extracted = "wrote \"%s\"";
inline constexpr std::string_view Replaced = "replaced \"%s\" (entry %d)";
inline constexpr std::string_view Added = "added \"%s\" as entry %d";

} // namespace tools::messages
