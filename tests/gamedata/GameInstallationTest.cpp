#include "gamedata/GameInstallation.h"

#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using gamedata::findGameInFolder;

// A folder the user picks may be the game directory, a Wine prefix or a Proton prefix.
TEST(GameInFolder, FindsTheGameDirectoryWinePrefixAndProtonPrefix)
{
    testsupport::TempDir root;
    const fs::path game = root / "Games/Vantaris";
    fs::create_directories(game);
    root.write("Games/Vantaris/tcachehw.dat", {0});
    EXPECT_EQ(findGameInFolder(game).texturePath, game / "tcachehw.dat");
    EXPECT_EQ(findGameInFolder(game).shipsDirectory, game / "ships");
    EXPECT_TRUE(findGameInFolder(game).found);

    testsupport::GameRegistryEntry entry;
    entry.currentDirectory = "C:\\Games\\Vantaris";
    const fs::path wine = root / "wine";
    const fs::path proton = root / "compatdata/4242";
    for (const fs::path& prefix : {wine, proton / "pfx"}) {
        fs::create_directories(prefix / "drive_c/Games/Vantaris");
        ASSERT_TRUE(testsupport::writeSystemReg(prefix, entry));
    }
    EXPECT_EQ(findGameInFolder(wine).texturePath, wine / "drive_c/Games/Vantaris/tcachehw.dat");
    EXPECT_EQ(findGameInFolder(proton).texturePath,
              proton / "pfx/drive_c/Games/Vantaris/tcachehw.dat");
    EXPECT_TRUE(findGameInFolder(proton).found);

    // A prefix without the game's entry, and a folder of nothing, find no game.
    entry.hasKey = false;
    ASSERT_TRUE(testsupport::writeSystemReg(wine, entry));
    EXPECT_FALSE(findGameInFolder(wine).found);
    EXPECT_FALSE(findGameInFolder(root.path()).found);
    EXPECT_FALSE(findGameInFolder(root / "missing").found);
}

} // namespace
