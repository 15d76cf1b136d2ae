#pragma once

#include "shipfile/MessageText.h"

#include <string_view>

// The file model's messages, and the captions the file model and the viewer share. Texts that
// end in a newline keep it: it is part of what the user sees.
namespace shipfile::messages {

inline constexpr std::string_view CaptionWentWrong = "Something went wrong...";
inline constexpr std::string_view CaptionCompressed = "Compressed SHP file?";
inline constexpr std::string_view CaptionUhOh = "Uh oh...";
inline constexpr std::string_view CaptionWarning = "Warning!";

inline constexpr MessageText ErrorOpening =
    ownCaption("Error opening %s!", CaptionWentWrong, MessageIcon::Stop);
inline constexpr MessageText NotAnShp =
    ownCaption("The file you attempted to load doesn't appear to be a compressed or "
               "uncompressed SHP file!",
               CaptionWentWrong, MessageIcon::Stop);
inline constexpr MessageText CompressedNotice =
    ownCaption("The file you attempted to load is compressed. I'll uncompress it, check if it's "
               "a SHP file and load it if possible",
               CaptionCompressed, MessageIcon::None);
inline constexpr MessageText MissingAttachmentBlock =
    ownCaption("This SHP file seems to be missing one or more Type9 blocks. Ships should always "
               "have one Type9 block per object, even if it's empty (number == 0)",
               CaptionUhOh, MessageIcon::Stop);
inline constexpr MessageText MissingBoxes = ownCaption(
    "This SHP file seems to be missing it's box structure.", CaptionUhOh, MessageIcon::Stop);
inline constexpr MessageText ErrorSaving =
    ownCaption("Error saving file \"%s\"", CaptionWarning, MessageIcon::Stop);
inline constexpr MessageText Truncated =
    ownCaption("The file \"%s\" ends in the middle of a block. The blocks before that point were "
               "loaded; the rest of the file is missing.",
               CaptionWentWrong, MessageIcon::Warning);
/// Why a device or socket is neither read nor written as a ship; the system has no words for it.
inline constexpr std::string_view NotARegularFile = "not a regular file";
/// A file that loaded without error but holds nothing, as the editor and korvex-shp report it.
inline constexpr MessageText NoBlocks = owned("\"%s\" holds no blocks", MessageIcon::Warning);

// Display texts built from numbers.
inline constexpr std::string_view ValueFormat = "[Value = %d]";

} // namespace shipfile::messages
