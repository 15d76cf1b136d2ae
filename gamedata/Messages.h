#pragma once

#include "shipfile/Messages.h"

#include <string_view>

// The messages of the game's files: the texture cache and the registry entry that finds them.
namespace gamedata::messages {

using shipfile::MessageIcon;
using shipfile::MessageText;
using shipfile::messages::CaptionWentWrong;
using shipfile::messages::ownCaption;
using shipfile::messages::owned;

inline constexpr MessageText TcacheOpenFailed =
    ownCaption("Error opening the TCACHE file! Textures will be unavailable!", CaptionWentWrong,
               MessageIcon::Stop);
inline constexpr MessageText TextureNotFound =
    ownCaption("Texture not found on TCACHE file!", CaptionWentWrong, MessageIcon::Stop);
inline constexpr MessageText TextureFormat =
    ownCaption("This version of Korvex can only handle 8 or 16 bit textures.", CaptionWentWrong,
               MessageIcon::Stop);
inline constexpr MessageText TextureDamaged =
    ownCaption("This texture's entry in the TCACHE file is damaged! Textures will be "
               "unavailable!",
               CaptionWentWrong, MessageIcon::Stop);
inline constexpr MessageText RegistryKeyMissing =
    owned("Error opening registry key! Textures will be unavailable!");
inline constexpr MessageText RegistryValueMissing =
    owned("Error opening registry entry for Vantaris installed directory! Textures will be "
          "unavailable!");
/// What follows either registry message: how to show Korvex the game.
inline constexpr std::string_view NoGameAdvice =
    "To use the game's textures, start Korvex with WINEPREFIX set to the game's Wine prefix, or "
    "choose the game with \"Game folder...\" in the File menu: a Wine or Proton prefix, or the "
    "folder that holds tcachehw.dat.";
/// The same advice on the command line, which has no File menu.
inline constexpr std::string_view NoGameAdviceCommandLine =
    "To use the game's textures, set WINEPREFIX to the game's Wine prefix, or give --textures "
    "with the path of tcachehw.dat.";

} // namespace gamedata::messages

// Writing the texture cache: why nothing was written, and what the user should know of a write.
// The command line prints these; the editor shows them in a box.
namespace gamedata::messages {

inline constexpr std::string_view CacheUnreadable = "cannot read the texture cache \"%s\"";
inline constexpr std::string_view CacheDamaged =
    "the texture cache is damaged (%s); Korvex does not write a damaged cache";
inline constexpr std::string_view CountPastEnd =
    "its header claims %d entries, which the file does not hold";
inline constexpr std::string_view HeaderCut = "the file is shorter than the 84-byte header";
inline constexpr std::string_view EntryDamaged =
    "entry %d points outside the file, has a size out of range or an unknown format";
inline constexpr std::string_view EntryOverlapsDirectory =
    "the pixels of entry %d lie inside the header or the directory";
inline constexpr std::string_view BadName =
    "\"%s\" cannot name a texture: a name is 1 to 20 ASCII letters, digits or signs";
inline constexpr std::string_view NameExists =
    "the cache already holds a texture named \"%s\"; replace it instead";
inline constexpr std::string_view NameMissing = "the cache holds no texture named \"%s\"";
inline constexpr std::string_view SharedPixels =
    "texture \"%s\" shares its pixel data with another entry; Korvex cannot replace it alone";
inline constexpr std::string_view CacheTooLarge =
    "the texture cache would grow past 4 GB, which its offsets cannot address";
inline constexpr std::string_view ImageUnreadable = "cannot read the image \"%s\"";
inline constexpr std::string_view ImageNotPng = "\"%s\" is not a PNG image Korvex can read";
inline constexpr std::string_view ImageTooLarge =
    "the image \"%s\" is larger than a texture may be (8192 pixels a side, 16 million in all)";
inline constexpr std::string_view BadPicture =
    "a texture's picture is 1 to 8192 pixels a side and 16 million in all";
inline constexpr std::string_view BackupFailed =
    "cannot keep a copy of the texture cache as \"%s\"; nothing was written";
inline constexpr std::string_view WriteFailed =
    "cannot write the texture cache \"%s\" (is it read-only?); it is unchanged";

inline constexpr std::string_view TransparencyLost =
    "%d transparent pixels became opaque: 8-bit textures cannot store transparency";
inline constexpr std::string_view BytesCopied =
    "the new entry's uninterpreted directory bytes were copied from entry %d, the first of its "
    "format; what the game reads from them is unknown";
inline constexpr std::string_view BytesZero =
    "no entry has the new entry's format, so its uninterpreted directory bytes are zero; what "
    "the game reads from them is unknown";
inline constexpr std::string_view BackupKept = "kept a copy of the old cache as \"%s\"";

} // namespace gamedata::messages
