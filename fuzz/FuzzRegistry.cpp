// Any byte string as system.reg text and the key and value looked up in it, and as text that
// Wine escapes into a registry of its own. Lookups must never crash, a value's text must come
// back exactly as Wine would have written it, and whatever path a value holds must map to a
// Unix path without harm.
#include "fuzz/FuzzCheck.h"
#include "gamedata/WineRegistry.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A prefix with the drive C: link and the game's folder, made once for the whole run.
const fs::path& scratchPrefix()
{
    static const fs::path prefix = [] {
        const fs::path root = fs::temp_directory_path() / "korvex-fuzz-registry";
        std::error_code ec;
        fs::create_directories(root / "drive_c" / "Games" / "Vantaris", ec);
        fs::create_directories(root / "dosdevices", ec);
        fs::create_directory_symlink("../drive_c", root / "dosdevices" / "c:", ec);
        return root;
    }();
    return prefix;
}

// Wine's escaping of a UTF-16 string: backslash and the terminator escaped, control
// characters in octal, everything past ASCII as a four-digit \x escape.
std::string escaped(const std::u16string& text, char terminator)
{
    std::string out;
    for (const char16_t unit : text) {
        char buffer[8];
        if (unit == u'\\' || unit == static_cast<char16_t>(terminator)) {
            out += '\\';
            out += static_cast<char>(unit);
        } else if (unit < 0x20) {
            std::snprintf(buffer, sizeof buffer, "\\%03o", static_cast<unsigned>(unit));
            out += buffer;
        } else if (unit < 0x7F) {
            out += static_cast<char>(unit);
        } else {
            std::snprintf(buffer, sizeof buffer, "\\x%04x", static_cast<unsigned>(unit));
            out += buffer;
        }
    }
    return out;
}

// The UTF-8 a reader must give for `text`: surrogate pairs joined, a lone surrogate as U+FFFD.
std::string utf8(const std::u16string& text)
{
    std::string out;
    const auto put = [&out](char32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            return;
        }
        const int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static constexpr unsigned char Lead[] = {0, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(Lead[extra] | (c >> (6 * extra)));
        for (int i = extra - 1; i >= 0; --i)
            out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t u = text[i];
        const bool high = u >= 0xD800 && u <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((u - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else {
            put(u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
        }
    }
    return out;
}

std::u16string units(std::string_view bytes)
{
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    return out;
}

// The fuzzer's text as raw system.reg contents: its first line is the key, its second the
// value name, the rest the file.
void lookUpInRawText(std::string_view input)
{
    const auto keyEnd = input.find('\n');
    const std::string_view key = input.substr(0, keyEnd);
    const std::string_view rest =
        keyEnd == std::string_view::npos ? std::string_view{} : input.substr(keyEnd + 1);
    const auto nameEnd = rest.find('\n');
    const std::string_view name = rest.substr(0, nameEnd);
    const std::string_view text =
        nameEnd == std::string_view::npos ? std::string_view{} : rest.substr(nameEnd + 1);

    const gamedata::WineRegistry registry(scratchPrefix(), std::string(text));
    for (const auto& [k, n] :
         {std::pair{key, name}, std::pair{std::string_view{"Software\\Microsoft\\DirectPlay\\"
                                                           "Applications\\Vantaris"},
                                          std::string_view{"CurrentDirectory"}}}) {
        const gamedata::RegistryLookup lookup = registry.lookup(k, n);
        fuzz::check(!lookup.value || lookup.keyFound, "a value is found only in its key");
        if (lookup.value) {
            fuzz::check(lookup.value->find('\0') == std::string::npos,
                        "a value's text ends at its first NUL");
            (void)registry.toUnixPath(*lookup.value);
        }
    }
}

// The fuzzer's bytes as UTF-16 key, value name and value, written as Wine writes them: each
// must read back as it was (the value up to its first NUL).
void roundTrip(std::string_view input)
{
    const std::size_t third = input.size() / 3 & ~std::size_t{1};
    std::u16string key = units(input.substr(0, third));
    const std::u16string name = units(input.substr(third, third));
    const std::u16string value = units(input.substr(2 * third));
    if (key.empty())
        key = u"Key"; // an empty key name matches the hive's root, not this one
    const std::string text = "WINE REGISTRY Version 2\n\n[" + escaped(key, ']') +
                             "] 1700000000\n#time=1da1f2b3c4d5e60\n\"" + escaped(name, '"') +
                             "\"=\"" + escaped(value, '"') + "\"\n";
    const gamedata::WineRegistry registry(scratchPrefix(), text);
    const gamedata::RegistryLookup lookup = registry.lookup(utf8(key), utf8(name));
    fuzz::check(lookup.keyFound, "a key Wine wrote is found");
    std::string expected = utf8(value);
    expected.resize(std::min(expected.size(), expected.find('\0')));
    fuzz::check(lookup.value == expected, "a value Wine wrote reads back as it was");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    lookUpInRawText(input);
    roundTrip(input);
    return 0;
}
