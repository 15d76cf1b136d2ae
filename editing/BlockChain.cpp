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

ShipBlock* lastBlock(ShipFile& file)
{
    ShipBlock* last = &file.head;
    while (last->next)
        last = last->next.get();
    return last;
}

void refreshBlockPointers(ShipFile& file)
{
    bool componentsFound = false;
    bool attachmentsFound = false;
    ShipBlock* lastComponents = nullptr;
    ShipBlock* last = &file.head;
    for (ShipBlock* b = file.first(); b; b = b->next.get()) {
        // The type is checked too: a new block may reuse a released block's address.
        componentsFound = componentsFound ||
                          (b == file.componentBlock && b->type == lay::type::Components);
        attachmentsFound = attachmentsFound ||
                           (b == file.attachmentBlock && b->type == lay::type::Attachments);
        if (b->type == lay::type::Components)
            lastComponents = b;
        last = b;
    }
    file.tail = last;
    if (!componentsFound)
        file.componentBlock = lastComponents;
    if (!attachmentsFound)
        file.attachmentBlock = nullptr;
}

} // namespace editing
