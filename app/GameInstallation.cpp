#include "app/GameInstallation.h"

#include "app/Messages.h"
#include "platform/WineRegistry.h"

namespace app {

namespace fs = std::filesystem;

GameInstallation findGameInstallation(const fs::path& winePrefix, shipfile::MessageSink& sink)
{
    const platform::WineRegistry registry(winePrefix);
    const platform::RegistryLookup lookup = registry.lookup(GameRegistryKey, GameDirectoryValue);
    if (!lookup.keyFound)
        sink.show(messages::RegistryKeyMissing.box());
    if (!lookup.value)
        sink.show(messages::RegistryValueMissing.box());

    const fs::path directory = lookup.value ? registry.toUnixPath(*lookup.value) : fs::path("/");
    return GameInstallation{directory / "tcachehw.dat", directory / "ships",
                            lookup.value.has_value()};
}

} // namespace app
