#pragma once

#include <filesystem>
#include <string>

// The game's entry in a Wine prefix's registry (system.reg), for the demo installation and the
// tests that need a game installation.
namespace shipmaker {

struct GameRegistryEntry
{
    bool hasKey = true; // false: a registry without the game's key
    /// The game's directory as Windows sees it; empty: the key holds no such value.
    std::string currentDirectory = "C:\\Games\\Vantaris";
};

/// system.reg as Wine writes it: keys relative to HKEY_LOCAL_MACHINE, backslashes and quotes
/// in names and values escaped with a backslash.
std::string systemRegText(const GameRegistryEntry& entry);

/// Writes `prefix`/system.reg; false when it cannot be written.
bool writeSystemReg(const std::filesystem::path& prefix, const GameRegistryEntry& entry);

} // namespace shipmaker
