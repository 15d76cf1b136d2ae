#include "gamedata/WineRegistry.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using gamedata::WineRegistry;

TEST(WineRegistryLookup, FindsValuesByKeyAndNameAndDecodesThem)
{
    testsupport::TempDir prefix;
    std::ofstream(prefix / "system.reg", std::ios::binary)
        << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
           "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications] 1700000000\n"
           "\"CurrentDirectory\"=\"C:\\\\Wrong\"\n\n"
           "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications\\\\Vantaris] 1700000000\n"
           "#time=1da1f2b3c4d5e60\n"
           "\"File\"=\"vantaris.exe\"\n"
           "\"CurrentDirectory\"=\"C:\\\\Games\\\\Vantaris\"\n\n"
           "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications\\\\Vantaris2] 1700000000\n"
           "\"CurrentDirectory\"=\"C:\\\\Other\"\n"
           "[SOFTWARE\\\\Crlf] 1\r\n\"currentdirectory\"=\"D:\\\\Vantaris\"\r\n"
           "[Software\\\\Test] 1\n"
           "\"Quoted\"=\"say \\\"hi\\\" \\\\ back\"\n"
           "\"Wide\"=\"Spiel\\x00e4\\x20acX\"\n"
           "\"Tab\"=\"a\\tb\"\n"
           "\"Cut\"=\"before\\0after\"\n"
           "\"Name with \\\"quote\\\"\"=\"found\"\n"
           "\"Pair\"=\"\\xd83d\\xde80\"\n"
           "\"Lone\"=\"\\xd83dA\\xde80B\"\n"
           "\"Expand\"=str(2):\"%ProgramFiles%\\\\Game\"\n"
           "\"Multi\"=str(7):\"first\\0second\\0\"\n"
           "\"Number\"=dword:00000001\n"
           "\"Binary\"=hex:43,3a,5c,00\n"
           "\"Broken\"=\"no closing quote\n";
    const WineRegistry registry(prefix.path());
    struct Case
    {
        const char* key;
        const char* name;
        bool keyFound;
        std::optional<std::string> value;
    };
    const char* game = "Software\\Microsoft\\DirectPlay\\Applications\\Vantaris";
    const Case cases[] = {
        {game, "CurrentDirectory", true, "C:\\Games\\Vantaris"},
        {game, "Path", true, std::nullopt},
        {"Software\\Other", "CurrentDirectory", false, std::nullopt},
        // Names ignore case; lines may end in CR LF.
        {"software\\crlf", "CurrentDirectory", true, "D:\\Vantaris"},
        {"Software\\Test", "Quoted", true, "say \"hi\" \\ back"},
        // \x takes at most four hex digits: 00e4 is a-umlaut, 20ac the euro sign, then 'X'.
        {"Software\\Test", "Wide", true, "Spiel\xC3\xA4\xE2\x82\xACX"},
        {"Software\\Test", "Tab", true, "a\tb"},
        {"Software\\Test", "Cut", true, "before"},
        {"Software\\Test", "Name with \"quote\"", true, "found"},
        // Surrogate pairs join; a surrogate without its partner becomes U+FFFD.
        {"Software\\Test", "Pair", true, "\xF0\x9F\x9A\x80"},
        {"Software\\Test", "Lone", true,
         "\xEF\xBF\xBD"
         "A"
         "\xEF\xBF\xBD"
         "B"},
        {"Software\\Test", "Expand", true, "%ProgramFiles%\\Game"},
        {"Software\\Test", "Multi", true, "first"},
        {"Software\\Test", "Number", true, std::nullopt},
        {"Software\\Test", "Binary", true, std::nullopt},
        {"Software\\Test", "Broken", true, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto lookup = registry.lookup(c.key, c.name);
        EXPECT_EQ(lookup.keyFound, c.keyFound) << c.name;
        EXPECT_EQ(lookup.value, c.value) << c.name;
    }
    fs::remove(prefix / "system.reg");
    EXPECT_FALSE(WineRegistry(prefix.path()).lookup(game, "CurrentDirectory").keyFound);
}

TEST(WineRegistryPaths, DriveCGoesThroughDosdevicesOrDriveC)
{
    testsupport::TempDir prefix;
    fs::create_directories(prefix.path() / "drive_c" / "Games" / "Vantaris");
    const WineRegistry registry(prefix.path());
    const fs::path expected = fs::canonical(prefix.path() / "drive_c" / "Games" / "Vantaris");

    // No dosdevices link yet: drive_c stands for C:.
    EXPECT_EQ(registry.toUnixPath("C:\\Games\\Vantaris"), expected);

    fs::create_directories(prefix.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:");
    EXPECT_EQ(registry.toUnixPath("c:\\Games\\Vantaris\\"), expected);
    // Windows names ignore case; Unix ones do not.
    EXPECT_EQ(registry.toUnixPath("C:\\GAMES\\vantaris"), expected);
}

TEST(WineRegistryPaths, OtherDrivesFollowTheirLinks)
{
    testsupport::TempDir prefix;
    const fs::path elsewhere = prefix.path() / "mnt" / "games";
    fs::create_directories(elsewhere / "Vantaris");
    fs::create_directories(prefix.path() / "dosdevices");
    fs::create_directory_symlink(elsewhere, prefix.path() / "dosdevices" / "d:");
    const WineRegistry registry(prefix.path());

    EXPECT_EQ(registry.toUnixPath("D:\\Vantaris"), fs::canonical(elsewhere / "Vantaris"));
    // A drive without a link stays under dosdevices, where nothing will be found.
    EXPECT_EQ(registry.toUnixPath("E:\\Vantaris"),
              fs::weakly_canonical(prefix.path() / "dosdevices" / "e:" / "Vantaris"));
    // A Unix path is taken as it is.
    EXPECT_EQ(registry.toUnixPath("/opt/vantaris"), fs::path("/opt/vantaris"));
}

TEST(WineRegistryPrefix, WineprefixOrTheHomeDirectory)
{
    const char* savedPrefix = std::getenv("WINEPREFIX");
    const std::string saved = savedPrefix ? savedPrefix : "";

    setenv("WINEPREFIX", "/somewhere/prefix", 1);
    EXPECT_EQ(WineRegistry::defaultPrefix(), fs::path("/somewhere/prefix"));
    setenv("WINEPREFIX", "", 1);
    const char* home = std::getenv("HOME");
    EXPECT_EQ(WineRegistry::defaultPrefix(), fs::path(home ? home : "") / ".wine");

    if (savedPrefix)
        setenv("WINEPREFIX", saved.c_str(), 1);
    else
        unsetenv("WINEPREFIX");
}

} // namespace
