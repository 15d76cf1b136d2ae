#include "editing/Components.h"

#include "editing/BlockChain.h"
#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <algorithm>

namespace editing {

using shipfile::MutableBytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
namespace lay = shipfile::layout;

namespace {

// The block after which component `component`'s type-2 block is linked. The walk starts at the
// second block: the first block is never taken.
ShipBlock* blockBeforeSection(ShipFile& file, int component)
{
    int seen = 0;
    for (ShipBlock* b = file.first(); b && b->next(); b = b->next()) {
        if (b->next()->type != lay::type::SectionStart)
            continue;
        if (seen == component)
            return b;
        ++seen;
    }
    return nullptr;
}

} // namespace

bool deleteComponent(ShipFile& file, int component)
{
    ShipBlock* table = file.componentBlock();
    if (file.empty() || component < 0 || !table ||
        static_cast<std::uint32_t>(component) >= table->count())
        return false;
    if (table->recordSize != lay::component::RecordSize) {
        file.sink().show(messages::ReducedComponentBlock.box());
        return false;
    }
    // The section is found before the record goes, so a file without it keeps both.
    ShipBlock* before = blockBeforeSection(file, component);
    if (!before) {
        file.sink().show(messages::DeleteFailed.box());
        return false;
    }
    table->removeRecord(static_cast<std::size_t>(component));

    // The section's type-2 block, then each block after it up to the next section.
    file.removeAfter(*before);
    while (before->next() && before->next()->type != lay::type::SectionStart)
        file.removeAfter(*before);
    return true;
}

std::optional<std::int8_t> changeShipClass(ShipFile& file)
{
    const auto current = shipfile::shipClass(file);
    if (!current)
        return std::nullopt;
    auto next = static_cast<std::int8_t>(static_cast<std::uint8_t>(*current) + 1);
    if (next > 2)
        next = 0;
    shipfile::setShipClass(file, next);
    return next;
}

std::optional<ComponentProperties> componentProperties(const ShipFile& file, int component)
{
    const shipfile::Bytes record = shipfile::componentRecord(file, component);
    if (record.empty())
        return std::nullopt;
    ComponentProperties out;
    out.name = shipfile::readString(record, lay::component::Name);
    out.role = shipfile::readI32(record, lay::component::Role);
    out.hitPoints = shipfile::readI32(record, lay::component::HitPoints);
    if (const auto flag = shipfile::readU32(record, lay::component::DebrisFlag))
        out.hasDebris = *flag != 0;
    out.debrisNumber = shipfile::readI32(record, lay::component::DebrisNumber);
    return out;
}

bool setComponentName(ShipFile& file, int component, std::string_view name)
{
    const MutableBytes record = shipfile::componentRecord(file, component);
    if (record.size() <= lay::component::Name)
        return false;
    const std::size_t room = record.size() - lay::component::Name - 1;
    const std::size_t length = std::min({name.size(), lay::component::NameMaxEdit, room});
    std::copy_n(name.begin(), length, record.begin() + lay::component::Name);
    record[lay::component::Name + length] = 0;
    return true;
}

std::optional<std::int32_t> cycleComponentRole(ShipFile& file, int component)
{
    const MutableBytes record = shipfile::componentRecord(file, component);
    const auto role = shipfile::readI32(record, lay::component::Role);
    if (!role)
        return std::nullopt;
    auto next = static_cast<std::int32_t>(static_cast<std::uint32_t>(*role) + 1);
    if (next > 3)
        next = 0;
    shipfile::writeI32(record, lay::component::Role, next);
    return next;
}

bool setComponentHitPoints(ShipFile& file, int component, std::int32_t hitPoints)
{
    return shipfile::writeI32(shipfile::componentRecord(file, component), lay::component::HitPoints,
                              hitPoints);
}

bool setComponentHasDebris(ShipFile& file, int component, bool hasDebris)
{
    return shipfile::writeU32(shipfile::componentRecord(file, component),
                              lay::component::DebrisFlag,
                              hasDebris ? lay::component::HasDebrisValue : 0);
}

bool setComponentDebrisNumber(ShipFile& file, int component, std::int32_t number)
{
    return shipfile::writeI32(shipfile::componentRecord(file, component),
                              lay::component::DebrisNumber, number);
}

bool moveComponentOrigin(ShipFile& file, int component, shipfile::Vec3 delta)
{
    const shipfile::MutableBytes record = shipfile::componentRecord(file, component);
    const auto origin = shipfile::readVec3(record, lay::component::Origin);
    if (!origin)
        return false;
    return shipfile::writeVec3(
        record, lay::component::Origin,
        shipfile::Vec3{origin->x + delta.x, origin->y + delta.y, origin->z + delta.z});
}

} // namespace editing
