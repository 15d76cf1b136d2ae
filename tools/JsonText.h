#pragma once

#include "tools/Escaping.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

// What korvex-shp's --json outputs share.
namespace tools {

// Keys keep the order they are written in; numbers from the file stay floats, so each is
// written in the fewest digits that read back as the same float.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

// Names are raw bytes: well-formed UTF-8 is written as a string; anything else as
// {"hex": "..."} with every byte as two hex digits, so no byte passes for a character.
inline Json nameJson(std::string_view bytes)
{
    if (isWellFormedUtf8(bytes))
        return std::string(bytes);
    return Json{{"hex", hexBytes(bytes)}};
}

/// The document as korvex-shp prints it: two spaces of indent, bytes that are not UTF-8
/// replaced.
inline std::string jsonText(const Json& json)
{
    return json.dump(2, ' ', false, nlohmann::detail::error_handler_t::replace) + "\n";
}

} // namespace tools
