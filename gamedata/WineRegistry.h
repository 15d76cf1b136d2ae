#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace gamedata {

/// What a lookup of one value found: whether its key exists, and the value's text when it
/// exists and holds a string.
struct RegistryLookup
{
    bool keyFound = false;
    std::optional<std::string> value;
};

/// The local-machine hive of a Wine prefix, as Wine keeps it in `<prefix>/system.reg`, and the
/// prefix's drive mapping. Read only; no Qt, no Wine needed.
class WineRegistry
{
public:
    /// Reads `<prefix>/system.reg`. A missing or unreadable file holds no keys.
    explicit WineRegistry(std::filesystem::path prefix);
    /// The hive as `systemReg`, the text of a system.reg file, with the drives of `prefix`.
    WineRegistry(std::filesystem::path prefix, std::string systemReg);

    /// `$WINEPREFIX`, or `~/.wine` when it is unset or empty, as Wine itself chooses.
    static std::filesystem::path defaultPrefix();

    /// Looks up value `name` of `key` (a path below the hive with single backslashes, such as
    /// `Software\Vendor\Product`). Key and value names compare ignoring case. String values
    /// ("...", str(2) and str(7)) are decoded up to their first NUL; values of other types do
    /// not hold a directory and count as missing.
    RegistryLookup lookup(std::string_view key, std::string_view name) const;

    /// The Unix path of a Windows path such as `C:\Games\Vantaris`: the drive through the
    /// prefix's `dosdevices/<drive>:` link, or `drive_c` for C: when the link is missing; each
    /// further name matched ignoring case where the exact name does not exist, as Wine does.
    /// A path that already starts with '/' is taken as a Unix path.
    std::filesystem::path toUnixPath(std::string_view windowsPath) const;

    const std::filesystem::path& prefix() const { return m_prefix; }

private:
    std::filesystem::path m_prefix;
    std::string m_text;
};

} // namespace gamedata
