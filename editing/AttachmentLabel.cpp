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
    const std::string model(shipfile::attachmentModelName(kind, style, gun));
    switch (static_cast<lay::AttachmentKind>(kind)) {
    case lay::AttachmentKind::MissileMount:
    case lay::AttachmentKind::EngineFlame:
    case lay::AttachmentKind::BlinkingLight:
        return std::string(shipfile::attachmentKindName(kind));
    case lay::AttachmentKind::GunObject:
        return "Obj: " + model;
    case lay::AttachmentKind::Gun:
        return "Gun: " + model;
    }
    return shipfile::messages::formatNumber("Unknown: Type %d", kind);
}

std::string numberedAttachmentLabel(shipfile::Bytes record, std::size_t index)
{
    return attachmentLabel(record) + " (" + std::to_string(index) + ")";
}

} // namespace editing
