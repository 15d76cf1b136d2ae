#pragma once

#include "shipfile/MessageSink.h"

#include <filesystem>
#include <string_view>

namespace gamedata {

/// Where the game keeps its installation directory in the local-machine hive.
inline constexpr std::string_view GameRegistryKey =
    "Software\\Microsoft\\DirectPlay\\Applications\\Vantaris";
inline constexpr std::string_view GameDirectoryValue = "CurrentDirectory";

/// The texture cache's file name in the game directory.
inline constexpr std::string_view TcacheFileName = "tcachehw.dat";

/// The files of the game installation the editor uses.
struct GameInstallation
{
    std::filesystem::path texturePath;
    std::filesystem::path shipsDirectory;
    /// False when the registry did not name the directory: textures are then unavailable.
    bool found = false;
};

/// The installation whose game directory is `directory`.
GameInstallation gameInDirectory(const std::filesystem::path& directory);

/// Reads the game directory from the registry of the Wine prefix `winePrefix`. A missing key or
/// value shows one box: the missing-key or missing-value message, then `advice` (how to show
/// the game: the editor's and the command line's differ). Without a directory the paths are the
/// bare file names at the root.
GameInstallation findGameInstallation(const std::filesystem::path& winePrefix,
                                      shipfile::MessageSink& sink, std::string_view advice);

/// The game found from a folder the user chose, without messages: the game directory itself
/// (it holds the texture cache), a Wine prefix (it holds system.reg) or a Proton prefix (its
/// pfx folder does), read as at start-up. Not found when the folder is none of these or its
/// registry does not name the game directory.
GameInstallation findGameInFolder(const std::filesystem::path& folder);

} // namespace gamedata
