#include "app/GameInstallation.h"

#include "platform/WineRegistry.h"
#include "shipfile/Messages.h"

namespace app {

namespace fs = std::filesystem;
namespace messages = shipfile::messages;

GameInstallation findGameInstallation(const fs::path& winePrefix, shipfile::MessageSink& sink)
{
    const platform::WineRegistry registry(winePrefix);
    const platform::RegistryLookup lookup = registry.lookup(GameRegistryKey, GameDirectoryValue);
    if (!lookup.keyFound)
        sink.show(messages::owned(std::string(messages::RegistryKeyMissing)));
    if (!lookup.value)
        sink.show(messages::owned(std::string(messages::RegistryValueMissing)));

    const fs::path directory = lookup.value ? registry.toUnixPath(*lookup.value) : fs::path("/");
    return GameInstallation{directory / "tcachehw.dat", directory / "ships",
                            lookup.value.has_value()};
}

} // namespace app
