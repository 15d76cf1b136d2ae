#pragma once

#include "shipfile/Messages.h"

// The view's messages; the texture cache file's own are in gamedata/Messages.h.
namespace viewer::messages {

using shipfile::MessageIcon;
using shipfile::MessageText;
using shipfile::messages::CaptionWentWrong;
using shipfile::messages::ownCaption;

inline constexpr MessageText EmptyVerticesOrFaces =
    ownCaption("Empty vertices or face block!", "ERROR", MessageIcon::Stop);
inline constexpr MessageText TextureTooLarge =
    ownCaption("The graphics driver cannot hold this texture! Textures will be unavailable!",
               CaptionWentWrong, MessageIcon::Stop);

} // namespace viewer::messages
