#include "editing/AttachmentLabel.h"

#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

namespace editing {

namespace lay = shipfile::layout;

std::string attachmentLabel(shipfile::Bytes record)
{
    const std::int32_t kind = shipfile::readI32(record, lay::attachment::Kind).value_or(0);
    const std::int32_t style = shipfile::readI32(record, lay::attachment::StyleIndex).value_or(0);
    const std::int32_t gun = shipfile::readI32(record, lay::attachment::GunIndex).value_or(0);
    // Compared unsigned: only 0..4 have a text of their own.
    switch (static_cast<std::uint32_t>(kind)) {
    case 0: return std::string(shipfile::attachmentKindName(kind));
    case 1: {
        const long long index = shipfile::FirstGunObjectModel + static_cast<long long>(style);
        const bool inTable = index >= 0 && index < shipfile::GunModelCount;
        return "Obj: " + std::string(inTable ? shipfile::gunModelName(static_cast<int>(index)) : "");
    }
    case 2: return std::string(shipfile::attachmentKindName(kind));
    case 3: return "Gun: " + std::string(shipfile::gunModelName(gun));
    case 4: return std::string(shipfile::attachmentKindName(kind));
    default: return shipfile::messages::formatNumber(messages::UnknownAttachmentKind, kind);
    }
}

} // namespace editing
