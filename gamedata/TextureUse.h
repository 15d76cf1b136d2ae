#pragma once

#include <string>
#include <vector>

namespace shipfile {
class ShipFile;
}

namespace gamedata {

/// A texture name of a ship and how many of its faces use it.
struct TextureUse
{
    std::string name; // as the first texture record naming it spells it
    int faces = 0;
};

/// Every texture name the ship's faces use, in the order they are first met, names equal
/// ignoring case counted as one, as the view finds them. Names no face uses count 0 faces.
std::vector<TextureUse> textureUses(const shipfile::ShipFile& file);

} // namespace gamedata
