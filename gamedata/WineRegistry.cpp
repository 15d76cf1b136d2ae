#include "gamedata/WineRegistry.h"

#include "shipfile/CaseInsensitive.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

namespace gamedata {

namespace fs = std::filesystem;
using shipfile::equalsIgnoringCase;
using shipfile::lowerCase;

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Wine writes registry text in ASCII: '\\' and '"' escaped, control characters as \n, \t and
// the like or in octal, and every character past 127 as a \x escape of its UTF-16 unit.
class EscapedText
{
public:
    // Decodes from `pos` up to the first unescaped `terminator`; nothing when the line ends
    // first. `pos` is left just past the terminator.
    static std::optional<std::string> read(std::string_view line, std::size_t& pos, char terminator)
    {
        EscapedText text;
        while (pos < line.size()) {
            const char c = line[pos++];
            if (c == terminator) {
                text.flushSurrogate();
                return text.m_out;
            }
            if (c != '\\' || pos >= line.size()) {
                text.flushSurrogate();
                text.m_out += c;
                continue;
            }
            text.readEscape(line, pos);
        }
        return std::nullopt;
    }

private:
    void readEscape(std::string_view line, std::size_t& pos)
    {
        const char c = line[pos++];
        switch (c) {
        case 'a':
            return unit(0x07);
        case 'b':
            return unit(0x08);
        case 'e':
            return unit(0x1B);
        case 'f':
            return unit(0x0C);
        case 'n':
            return unit(0x0A);
        case 'r':
            return unit(0x0D);
        case 't':
            return unit(0x09);
        case 'v':
            return unit(0x0B);
        case 'x': {
            char16_t value = 0;
            int digits = 0;
            for (; digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0; ++digits)
                value = static_cast<char16_t>(value * 16 + hexDigit(line[pos++]));
            return digits ? unit(value) : unit(u'x');
        }
        default:
            break;
        }
        if (c >= '0' && c <= '7') {
            char16_t value = static_cast<char16_t>(c - '0');
            for (int digits = 1;
                 digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits)
                value = static_cast<char16_t>(value * 8 + (line[pos++] - '0'));
            return unit(value);
        }
        unit(static_cast<unsigned char>(c));
    }

    void unit(char16_t u)
    {
        if (u >= 0xD800 && u <= 0xDBFF) {
            flushSurrogate();
            m_highSurrogate = u;
            return;
        }
        if (u >= 0xDC00 && u <= 0xDFFF && m_highSurrogate) {
            appendUtf8(m_out, 0x10000 + ((char32_t(m_highSurrogate) - 0xD800) << 10) +
                                  (char32_t(u) - 0xDC00));
            m_highSurrogate = 0;
            return;
        }
        flushSurrogate();
        // A low surrogate without its high one is no character: UTF-8 cannot hold it.
        appendUtf8(m_out, u >= 0xDC00 && u <= 0xDFFF ? char16_t{0xFFFD} : u);
    }

    void flushSurrogate()
    {
        if (m_highSurrogate)
            appendUtf8(m_out, 0xFFFD);
        m_highSurrogate = 0;
    }

    std::string m_out;
    char16_t m_highSurrogate = 0;
};

// The text of a string value: "..." (REG_SZ), str(2):"..." (REG_EXPAND_SZ, not expanded) or
// str(7):"..." (REG_MULTI_SZ: its first string). Nothing for other types.
std::optional<std::string> stringData(std::string_view data)
{
    std::size_t pos = 0;
    if (data.starts_with("str(")) {
        const auto close = data.find("):");
        if (close == std::string_view::npos)
            return std::nullopt;
        pos = close + 2;
    }
    if (pos >= data.size() || data[pos] != '"')
        return std::nullopt;
    ++pos;
    auto text = EscapedText::read(data, pos, '"');
    if (text)
        text->resize(std::min(text->size(), text->find('\0')));
    return text;
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        out.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// The entry of `directory` whose name equals `name` ignoring case, if any.
std::optional<fs::path> findIgnoringCase(const fs::path& directory, const std::string& name)
{
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
        if (equalsIgnoringCase(it->path().filename().string(), name))
            return it->path();
    return std::nullopt;
}

} // namespace

WineRegistry::WineRegistry(fs::path prefix) : m_prefix(std::move(prefix))
{
    std::ifstream in(m_prefix / "system.reg", std::ios::binary);
    if (in)
        m_text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

WineRegistry::WineRegistry(fs::path prefix, std::string systemReg)
    : m_prefix(std::move(prefix)), m_text(std::move(systemReg))
{
}

fs::path WineRegistry::defaultPrefix()
{
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".wine";
}

RegistryLookup WineRegistry::lookup(std::string_view key, std::string_view name) const
{
    RegistryLookup result;
    bool inKey = false;
    for (const std::string_view line : lines(m_text)) {
        std::size_t pos = 1;
        if (line.starts_with('[')) {
            const auto keyName = EscapedText::read(line, pos, ']');
            inKey = keyName && equalsIgnoringCase(*keyName, key);
            result.keyFound = result.keyFound || inKey;
            continue;
        }
        if (!inKey || !line.starts_with('"'))
            continue;
        const auto valueName = EscapedText::read(line, pos, '"');
        if (!valueName || !equalsIgnoringCase(*valueName, name) || pos >= line.size() ||
            line[pos] != '=')
            continue;
        result.value = stringData(line.substr(pos + 1));
        return result;
    }
    return result;
}

fs::path WineRegistry::toUnixPath(std::string_view windowsPath) const
{
    if (windowsPath.starts_with('/'))
        return fs::path(windowsPath);

    std::string path(windowsPath);
    for (char& c : path)
        if (c == '\\')
            c = '/';

    fs::path resolved;
    std::error_code ec;
    const bool hasDrive = path.size() >= 2 && path[1] == ':' && lowerCase(path[0]) >= 'a' &&
                          lowerCase(path[0]) <= 'z';
    if (hasDrive) {
        const char drive = lowerCase(path[0]);
        const fs::path link = m_prefix / "dosdevices" / (std::string{drive} + ':');
        if (fs::exists(link, ec) || drive != 'c')
            resolved = link;
        else
            resolved = m_prefix / "drive_c";
        path.erase(0, 2);
    }

    std::istringstream parts(path);
    std::string part;
    bool first = true;
    while (std::getline(parts, part, '/')) {
        if (part.empty()) {
            if (first && !hasDrive)
                resolved = "/";
            first = false;
            continue;
        }
        first = false;
        fs::path next = resolved / part;
        if (!fs::exists(next, ec))
            if (const auto match = findIgnoringCase(resolved.empty() ? "." : resolved, part))
                next = resolved / match->filename();
        resolved = next;
    }
    if (hasDrive) {
        const fs::path canonical = fs::weakly_canonical(resolved, ec);
        if (!ec)
            resolved = canonical;
    }
    return resolved;
}

} // namespace gamedata
