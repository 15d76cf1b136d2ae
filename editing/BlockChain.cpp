#include "editing/BlockChain.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

namespace editing {

using shipfile::ShipBlock;
using shipfile::ShipFile;
namespace lay = shipfile::layout;

Section sectionOf(ShipFile& file, int component)
{
    Section section;
    section.start = shipfile::sectionStart(file, component);
    if (section.start)
        section.end = nextBlockOfType(section.start, lay::type::SectionStart);
    return section;
}

ShipBlock* findBefore(ShipBlock* from, const ShipBlock* end, std::uint32_t type)
{
    for (ShipBlock* b = from; b && b != end; b = b->next.get())
        if (b->type == type)
            return b;
    return nullptr;
}

} // namespace editing
