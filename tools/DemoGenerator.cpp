// korvex-demo OUTDIR: writes a complete demo game installation made only of our own content,
// so the editor can be tried without the game: a Wine prefix whose registry names the game
// directory, the texture cache with procedurally drawn 8-bit and 16-bit textures, and a few
// ships (one of them RefPack-packed).

#include "shipmaker/DemoShips.h"
#include "shipmaker/DemoTextures.h"
#include "shipmaker/RefPackEncoder.h"
#include "shipmaker/SystemReg.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using shipmaker::ByteVector;

// `written` tells whether `path` was written; a file that was not is named on stderr.
bool reportWrite(const fs::path& path, bool written)
{
    if (!written)
        std::fprintf(stderr, "korvex-demo: cannot write %s\n", path.c_str());
    return written;
}

bool writeFile(const fs::path& path, const ByteVector& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return reportWrite(path, static_cast<bool>(out));
}

bool writeInstallation(const fs::path& root)
{
    const fs::path prefix = root / "prefix";
    const fs::path game = prefix / "drive_c" / "Games" / "Vantaris";
    const fs::path ships = game / "ships";
    std::error_code ec;
    fs::create_directories(ships, ec);
    fs::create_directories(prefix / "dosdevices", ec);
    if (ec) {
        std::fprintf(stderr, "korvex-demo: cannot create %s: %s\n", ships.c_str(),
                     ec.message().c_str());
        return false;
    }
    // Wine reaches drive C: through this link.
    const fs::path driveLink = prefix / "dosdevices" / "c:";
    fs::remove(driveLink, ec);
    fs::create_directory_symlink("../drive_c", driveLink, ec);
    if (ec) {
        std::fprintf(stderr, "korvex-demo: cannot link %s: %s\n", driveLink.c_str(),
                     ec.message().c_str());
        return false;
    }

    return reportWrite(prefix / "system.reg",
                       shipmaker::writeSystemReg(prefix, shipmaker::GameRegistryEntry{})) &&
           reportWrite(game / "tcachehw.dat",
                       shipmaker::demoTextures().write(game / "tcachehw.dat")) &&
           writeFile(ships / "fighter.shp", shipmaker::buildShip(shipmaker::demoFighter())) &&
           writeFile(ships / "capship.shp",
                     shipmaker::packRefPack(shipmaker::buildShip(shipmaker::demoCapitalShip()))) &&
           writeFile(ships / "cargo.shp", shipmaker::buildShip(shipmaker::demoCargoPod()));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvex-demo OUTDIR\n"
                             "Writes a demo game installation (Wine prefix, textures, ships) "
                             "to OUTDIR.\n");
        return 2;
    }
    const fs::path root = argv[1];
    if (!writeInstallation(root))
        return 1;
    std::printf("Demo installation written to %s\n"
                "  WINEPREFIX=%s\n"
                "  ships in %s\n",
                root.c_str(), (root / "prefix").c_str(),
                (root / "prefix" / "drive_c" / "Games" / "Vantaris" / "ships").c_str());
    return 0;
}
