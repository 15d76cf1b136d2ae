#include "gamedata/WineRegistry.h"
#include "tests/support/ShipMaker.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* GameKey = "Software\\Microsoft\\DirectPlay\\Applications\\Vantaris";

// The registry the demo and the tests write reads back as written, escapes included.
TEST(SystemRegWriter, WhatItWritesTheReaderReadsBack)
{
    struct Case
    {
        bool hasKey;
        const char* directory; // empty: no value
    };
    const Case cases[] = {
        {true, "C:\\Games\\Vantaris"},
        {true, "D:\\Spiele\\\"Vantaris\"\\"},
        {true, ""},
        {false, "C:\\Games"},
    };
    const fs::path prefix = fs::temp_directory_path() / "korvex-system-reg-writer";
    fs::create_directories(prefix);
    for (const Case& c : cases) {
        testsupport::GameRegistryEntry entry;
        entry.hasKey = c.hasKey;
        entry.currentDirectory = c.directory;
        ASSERT_TRUE(testsupport::writeSystemReg(prefix, entry));
        const gamedata::RegistryLookup lookup =
            gamedata::WineRegistry(prefix).lookup(GameKey, "CurrentDirectory");
        const std::string text = testsupport::systemRegText(entry);
        EXPECT_EQ(lookup.keyFound, c.hasKey) << text;
        EXPECT_EQ(lookup.value.value_or(""), c.hasKey ? c.directory : "") << text;
    }
    fs::remove_all(prefix);
}

} // namespace
