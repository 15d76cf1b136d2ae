#pragma once

#include "shipfile/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// Reading and writing the game's files whole, as ship saves and texture cache writes need them.
namespace shipfile {

/// Reads a regular file or a pipe whole. Directories, devices and anything larger than
/// `maxSize` are refused: reading them would fail, never end, or exhaust memory.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path,
                                                       std::size_t maxSize);

/// Writes `data` over the file `path` names, through a temporary file beside it renamed over
/// it, so that a failure leaves the old file as it was. A symbolic link is followed, so the
/// file the game loads changes and the link stays; a file several hard links share is
/// rewritten in place. A file without any write permission was protected by its owner and is
/// not replaced, not even by root, who may write anything. A missing file is created.
bool writeFileSafely(const std::filesystem::path& path, Bytes data);

} // namespace shipfile
