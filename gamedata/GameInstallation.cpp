#include "gamedata/GameInstallation.h"

#include "gamedata/Messages.h"
#include "gamedata/WineRegistry.h"

namespace gamedata {

namespace fs = std::filesystem;

namespace {

GameInstallation fromRegistry(const WineRegistry& registry, const RegistryLookup& lookup)
{
    GameInstallation game =
        gameInDirectory(lookup.value ? registry.toUnixPath(*lookup.value) : fs::path("/"));
    game.found = lookup.value.has_value();
    return game;
}

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

GameInstallation gameInDirectory(const fs::path& directory)
{
    return GameInstallation{directory / TcacheFileName, directory / "ships", true};
}

GameInstallation findGameInstallation(const fs::path& winePrefix, shipfile::MessageSink& sink,
                                      std::string_view advice)
{
    const WineRegistry registry(winePrefix);
    const RegistryLookup lookup = registry.lookup(GameRegistryKey, GameDirectoryValue);
    // One box: what is missing, and how to point Korvex at the game instead.
    if (!lookup.value) {
        shipfile::Message box =
            (lookup.keyFound ? messages::RegistryValueMissing : messages::RegistryKeyMissing).box();
        box.text += "\n\n" + std::string(advice);
        sink.show(box);
    }
    return fromRegistry(registry, lookup);
}

GameInstallation findGameInFolder(const fs::path& folder)
{
    if (isFile(folder / TcacheFileName))
        return gameInDirectory(folder);
    for (const fs::path& prefix : {folder, folder / "pfx"}) {
        if (!isFile(prefix / "system.reg"))
            continue;
        const WineRegistry registry(prefix);
        return fromRegistry(registry, registry.lookup(GameRegistryKey, GameDirectoryValue));
    }
    return GameInstallation{};
}

} // namespace gamedata
