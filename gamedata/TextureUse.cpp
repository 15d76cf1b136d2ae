#include "gamedata/TextureUse.h"

#include "shipfile/CaseInsensitive.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"

#include <algorithm>

namespace gamedata {

namespace lay = shipfile::layout;

std::vector<TextureUse> textureUses(const shipfile::ShipFile& file)
{
    std::vector<TextureUse> uses;
    // The index of the name's use, added when it is new.
    const auto useOf = [&uses](const std::string& name) {
        const auto found = std::find_if(uses.begin(), uses.end(), [&name](const TextureUse& u) {
            return shipfile::equalsIgnoringCase(u.name, name);
        });
        const auto index = static_cast<std::size_t>(found - uses.begin());
        if (index == uses.size())
            uses.push_back(TextureUse{name, 0});
        return index;
    };
    for (const shipfile::ComponentParts& parts : shipfile::allComponentParts(file)) {
        if (!parts.textureNames)
            continue;
        std::vector<std::size_t> byRecord;
        for (std::size_t i = 0; i < parts.textureNames->count(); ++i)
            byRecord.push_back(
                useOf(shipfile::readString(parts.textureNames->record(i), lay::texture::Name)));
        for (std::size_t f = 0; parts.faces && f < parts.faces->count(); ++f) {
            const auto index = shipfile::readU32(parts.faces->record(f), lay::face::TextureIndex);
            if (index && *index < byRecord.size())
                ++uses[byRecord[*index]].faces;
        }
    }
    return uses;
}

} // namespace gamedata
