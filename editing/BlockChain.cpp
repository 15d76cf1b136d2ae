#include "editing/BlockChain.h"

#include "shipfile/ComponentParts.h"

namespace editing {

using shipfile::ShipBlock;
using shipfile::ShipFile;

Section sectionOf(ShipFile& file, int component)
{
    const shipfile::EditableComponentParts parts = shipfile::componentParts(file, component);
    return Section{parts.section, parts.sectionEnd};
}

ShipBlock* findBefore(ShipBlock* from, const ShipBlock* end, std::uint32_t type)
{
    for (ShipBlock* b = from; b && b != end; b = b->next())
        if (b->type == type)
            return b;
    return nullptr;
}

} // namespace editing
