#include "tools/Escaping.h"

#include <array>
#include <cstdint>

namespace tools {

namespace {

bool inRange(std::string_view bytes, std::size_t index, unsigned low, unsigned high)
{
    if (index >= bytes.size())
        return false;
    const auto byte = static_cast<unsigned char>(bytes[index]);
    return byte >= low && byte <= high;
}

bool isControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

void appendHex(std::string& out, unsigned char byte)
{
    constexpr std::array<char, 16> Digits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out.push_back(Digits[byte >> 4]);
    out.push_back(Digits[byte & 0x0F]);
}

} // namespace

std::size_t utf8SequenceLength(std::string_view bytes)
{
    if (bytes.empty())
        return 0;
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return 1;
    // The second byte's range excludes overlong forms (E0, F0), surrogates (ED) and code
    // points past U+10FFFF (F4); the bytes after it are plain continuation bytes.
    std::size_t length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (!inRange(bytes, 1, low, high))
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!inRange(bytes, i, 0x80, 0xBF))
            return 0;
    return length;
}

bool isWellFormedUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t length = utf8SequenceLength(bytes);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string hexBytes(std::string_view bytes)
{
    std::string out;
    for (const char byte : bytes)
        appendHex(out, static_cast<unsigned char>(byte));
    return out;
}

std::string displayQuoted(std::string_view bytes)
{
    std::string out = "\"";
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = utf8SequenceLength(bytes.substr(i));
        if (length == 1 && (byte == '"' || byte == '\\')) {
            out.push_back('\\');
            out.push_back(static_cast<char>(byte));
            ++i;
        } else if (length == 0 || (length == 1 && isControl(byte))) {
            out += "\\x";
            appendHex(out, byte);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    out.push_back('"');
    return out;
}

} // namespace tools
