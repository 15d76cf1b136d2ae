#pragma once

#include "shipfile/Messages.h"

// The view's and the texture cache's messages.
namespace viewer::messages {

using shipfile::MessageIcon;
using shipfile::MessageText;
using shipfile::messages::CaptionWentWrong;
using shipfile::messages::ownCaption;

inline constexpr MessageText EmptyVerticesOrFaces =
    ownCaption("Empty vertices or face block!", "ERROR", MessageIcon::Stop);
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
inline constexpr MessageText TextureTooLarge =
    ownCaption("The graphics driver cannot hold this texture! Textures will be unavailable!",
               CaptionWentWrong, MessageIcon::Stop);

} // namespace viewer::messages
