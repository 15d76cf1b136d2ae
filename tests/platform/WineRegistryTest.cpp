#include "platform/WineRegistry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using platform::WineRegistry;

constexpr const char* GameKey = "Software\\Microsoft\\DirectPlay\\Applications\\Vantaris";

// A Wine prefix in a fresh temporary directory, removed afterwards.
class Prefix
{
public:
    Prefix()
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() /
                 (std::string("korvex-registry-") + test->test_suite_name() + "-" + test->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    ~Prefix() { fs::remove_all(m_root); }

    const fs::path& root() const { return m_root; }

    void writeRegistry(const std::string& text) const
    {
        std::ofstream(m_root / "system.reg", std::ios::binary) << text;
    }

    WineRegistry registry(const std::string& text) const
    {
        writeRegistry(text);
        return WineRegistry(m_root);
    }

private:
    fs::path m_root;
};

const std::string Header = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                           "#arch=win32\n\n";

TEST(WineRegistryLookup, ReadsTheGameDirectoryWithItsBackslashesUnescaped)
{
    Prefix prefix;
    const auto registry = prefix.registry(
        Header + "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications] 1700000000\n"
                 "\"CurrentDirectory\"=\"C:\\\\Wrong\"\n\n"
                 "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications\\\\Vantaris] 1700000000\n"
                 "#time=1da1f2b3c4d5e60\n"
                 "\"File\"=\"vantaris.exe\"\n"
                 "\"CurrentDirectory\"=\"C:\\\\Games\\\\Vantaris\"\n\n"
                 "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications\\\\Vantaris2] 1700000000\n"
                 "\"CurrentDirectory\"=\"C:\\\\Other\"\n");
    const auto lookup = registry.lookup(GameKey, "CurrentDirectory");
    EXPECT_TRUE(lookup.keyFound);
    ASSERT_TRUE(lookup.value);
    EXPECT_EQ(*lookup.value, "C:\\Games\\Vantaris");
}

TEST(WineRegistryLookup, KeyAndValueNamesIgnoreCaseAndLinesMayEndInCrLf)
{
    Prefix prefix;
    const auto registry = prefix.registry(
        Header + "[SOFTWARE\\\\microsoft\\\\DirectPlay\\\\Applications\\\\VANTARIS] 1\r\n"
                 "\"currentdirectory\"=\"D:\\\\Vantaris\"\r\n");
    const auto lookup = registry.lookup(GameKey, "CurrentDirectory");
    ASSERT_TRUE(lookup.value);
    EXPECT_EQ(*lookup.value, "D:\\Vantaris");
}

TEST(WineRegistryLookup, MissingKeyMissingValueAndMissingFile)
{
    Prefix prefix;
    auto registry =
        prefix.registry(Header + "[Software\\\\Other] 1\n\"CurrentDirectory\"=\"C:\\\\x\"\n");
    auto lookup = registry.lookup(GameKey, "CurrentDirectory");
    EXPECT_FALSE(lookup.keyFound);
    EXPECT_FALSE(lookup.value);

    registry = prefix.registry(Header + "[Software\\\\Microsoft\\\\DirectPlay\\\\Applications\\\\"
                                        "Vantaris] 1\n\"Path\"=\"C:\\\\Games\"\n");
    lookup = registry.lookup(GameKey, "CurrentDirectory");
    EXPECT_TRUE(lookup.keyFound);
    EXPECT_FALSE(lookup.value);

    fs::remove(prefix.root() / "system.reg");
    lookup = WineRegistry(prefix.root()).lookup(GameKey, "CurrentDirectory");
    EXPECT_FALSE(lookup.keyFound);
    EXPECT_FALSE(lookup.value);
}

TEST(WineRegistryLookup, DecodesEscapesOfQuotesControlsAndWideCharacters)
{
    Prefix prefix;
    const auto registry = prefix.registry(Header + "[Software\\\\Test] 1\n"
                                                   "\"Quoted\"=\"say \\\"hi\\\" \\\\ back\"\n"
                                                   "\"Wide\"=\"Spiel\\x00e4\\x20acX\"\n"
                                                   "\"Tab\"=\"a\\tb\"\n"
                                                   "\"Cut\"=\"before\\0after\"\n"
                                                   "\"Name with \\\"quote\\\"\"=\"found\"\n"
                                                   "\"Pair\"=\"\\xd83d\\xde80\"\n"
                                                   "\"Lone\"=\"\\xd83dA\\xde80B\"\n");
    EXPECT_EQ(registry.lookup("Software\\Test", "Quoted").value, "say \"hi\" \\ back");
    // \x takes at most four hex digits: 00e4 is a-umlaut, 20ac the euro sign, then 'X'.
    EXPECT_EQ(registry.lookup("Software\\Test", "Wide").value, "Spiel\xC3\xA4\xE2\x82\xACX");
    EXPECT_EQ(registry.lookup("Software\\Test", "Tab").value, "a\tb");
    EXPECT_EQ(registry.lookup("Software\\Test", "Cut").value, "before");
    EXPECT_EQ(registry.lookup("Software\\Test", "Name with \"quote\"").value, "found");
    // Surrogate pairs join; a surrogate without its partner becomes U+FFFD, never bad UTF-8.
    EXPECT_EQ(registry.lookup("Software\\Test", "Pair").value, "\xF0\x9F\x9A\x80");
    EXPECT_EQ(registry.lookup("Software\\Test", "Lone").value, "\xEF\xBF\xBD"
                                                               "A"
                                                               "\xEF\xBF\xBD"
                                                               "B");
}

TEST(WineRegistryLookup, StringTypesCountAndOtherTypesDoNot)
{
    Prefix prefix;
    const auto registry = prefix.registry(Header + "[Software\\\\Test] 1\n"
                                                   "\"Expand\"=str(2):\"%ProgramFiles%\\\\Game\"\n"
                                                   "\"Multi\"=str(7):\"first\\0second\\0\"\n"
                                                   "\"Number\"=dword:00000001\n"
                                                   "\"Binary\"=hex:43,3a,5c,00\n"
                                                   "\"Broken\"=\"no closing quote\n");
    EXPECT_EQ(registry.lookup("Software\\Test", "Expand").value, "%ProgramFiles%\\Game");
    EXPECT_EQ(registry.lookup("Software\\Test", "Multi").value, "first");
    for (const char* name : {"Number", "Binary", "Broken"}) {
        const auto lookup = registry.lookup("Software\\Test", name);
        EXPECT_TRUE(lookup.keyFound) << name;
        EXPECT_FALSE(lookup.value) << name;
    }
}

TEST(WineRegistryPaths, DriveCGoesThroughDosdevicesOrDriveC)
{
    Prefix prefix;
    fs::create_directories(prefix.root() / "drive_c" / "Games" / "Vantaris");
    const WineRegistry registry(prefix.root());
    const fs::path expected = fs::canonical(prefix.root() / "drive_c" / "Games" / "Vantaris");

    // No dosdevices link yet: drive_c stands for C:.
    EXPECT_EQ(registry.toUnixPath("C:\\Games\\Vantaris"), expected);

    fs::create_directories(prefix.root() / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix.root() / "dosdevices" / "c:");
    EXPECT_EQ(registry.toUnixPath("c:\\Games\\Vantaris\\"), expected);
    // Windows names ignore case; Unix ones do not.
    EXPECT_EQ(registry.toUnixPath("C:\\GAMES\\vantaris"), expected);
}

TEST(WineRegistryPaths, OtherDrivesFollowTheirLinks)
{
    Prefix prefix;
    const fs::path elsewhere = prefix.root() / "mnt" / "games";
    fs::create_directories(elsewhere / "Vantaris");
    fs::create_directories(prefix.root() / "dosdevices");
    fs::create_directory_symlink(elsewhere, prefix.root() / "dosdevices" / "d:");
    const WineRegistry registry(prefix.root());

    EXPECT_EQ(registry.toUnixPath("D:\\Vantaris"), fs::canonical(elsewhere / "Vantaris"));
    // A drive without a link stays under dosdevices, where nothing will be found.
    EXPECT_EQ(registry.toUnixPath("E:\\Vantaris"),
              fs::weakly_canonical(prefix.root() / "dosdevices" / "e:" / "Vantaris"));
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
