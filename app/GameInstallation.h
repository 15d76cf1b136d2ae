#pragma once

#include "shipfile/MessageSink.h"

#include <filesystem>
#include <string_view>

namespace app {

/// Where the game keeps its installation directory in the local-machine hive.
inline constexpr std::string_view GameRegistryKey =
    "Software\\Microsoft\\DirectPlay\\Applications\\Vantaris";
inline constexpr std::string_view GameDirectoryValue = "CurrentDirectory";

/// The files of the game installation the editor uses.
struct GameInstallation
{
    std::filesystem::path texturePath;
    std::filesystem::path shipsDirectory;
    /// False when the registry did not name the directory: textures are then unavailable.
    bool found = false;
};

/// Reads the game directory from the registry of the Wine prefix `winePrefix`. A missing key
/// shows both the missing-key and the missing-value message (the value cannot be read without
/// its key); a missing value shows the second only. Without a directory the paths are the bare
/// file names at the root.
GameInstallation findGameInstallation(const std::filesystem::path& winePrefix,
                                      shipfile::MessageSink& sink);

} // namespace app
