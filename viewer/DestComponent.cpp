#include "viewer/DestComponent.h"

#include "shipfile/Catalogue.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace viewer {

bool isDestComponent(const shipfile::ShipFile& file, int n)
{
    const std::string name = shipfile::componentName(file, n);
    constexpr std::string_view Suffix = "dest";
    if (name.size() < Suffix.size())
        return false;
    return std::ranges::equal(
        std::string_view(name).substr(name.size() - Suffix.size()), Suffix,
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

} // namespace viewer
