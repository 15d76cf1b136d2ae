#pragma once

#include "shipfile/Messages.h"

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

} // namespace gamedata::messages
