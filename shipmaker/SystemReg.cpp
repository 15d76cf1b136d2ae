#include "shipmaker/SystemReg.h"

#include <fstream>
#include <string_view>

namespace shipmaker {

namespace {

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

std::string stringValue(std::string_view name, std::string_view value)
{
    return "\"" + escaped(name) + "\"=\"" + escaped(value) + "\"\n";
}

} // namespace

std::string systemRegText(const GameRegistryEntry& entry)
{
    std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                       "#arch=win32\n\n";
    if (!entry.hasKey)
        return text;
    text += "[" + escaped("Software\\Microsoft\\DirectPlay\\Applications\\Vantaris") +
            "] 1700000000\n#time=1da1f2b3c4d5e60\n";
    if (!entry.currentDirectory.empty())
        text += stringValue("CurrentDirectory", entry.currentDirectory);
    text += stringValue("File", "vantaris.exe");
    if (!entry.currentDirectory.empty())
        text += stringValue("Path", entry.currentDirectory);
    return text;
}

bool writeSystemReg(const std::filesystem::path& prefix, const GameRegistryEntry& entry)
{
    std::ofstream out(prefix / "system.reg", std::ios::binary | std::ios::trunc);
    out << systemRegText(entry);
    out.close();
    return static_cast<bool>(out);
}

} // namespace shipmaker
