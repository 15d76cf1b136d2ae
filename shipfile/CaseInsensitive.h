#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Names in ship, texture and registry files compare without regard to case, as the game and
// Wine compare them: ASCII letters only, whatever the locale, so other bytes never match letters.
namespace shipfile {

inline char lowerCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lowerCase(std::string_view text)
{
    std::string out(text);
    std::ranges::transform(out, out.begin(), [](char c) { return lowerCase(c); });
    return out;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return lowerCase(x) == lowerCase(y); });
}

inline bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

} // namespace shipfile
