#include "tools/ShipSummary.h"

#include "editing/AttachmentLabel.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"


namespace tools {

namespace lay = shipfile::layout;
using shipfile::ShipBlock;

namespace {

AttachmentSummary summariseAttachment(shipfile::Bytes record)
{
    AttachmentSummary a;
    a.kind = shipfile::readI32(record, lay::attachment::Kind);
    a.position = shipfile::readVec3(record, lay::attachment::Position);
    a.styleIndex = shipfile::readI32(record, lay::attachment::StyleIndex);
    a.gunIndex = shipfile::readI32(record, lay::attachment::GunIndex);
    a.label = editing::attachmentLabel(record);
    return a;
}

void summariseRecord(shipfile::Bytes record, ComponentSummary& c)
{
    c.name = shipfile::readString(record, lay::component::Name);
    c.origin = shipfile::readVec3(record, lay::component::Origin);
    c.role = shipfile::readI32(record, lay::component::Role);
    c.hitPoints = shipfile::readI32(record, lay::component::HitPoints);
    if (const auto flag = shipfile::readU32(record, lay::component::DebrisFlag))
        c.hasDebris = *flag != 0;
    c.debrisNumber = shipfile::readI32(record, lay::component::DebrisNumber);
}

// The flags of the blocks in the component's section, after its type-2 block.
void summariseSection(const shipfile::ComponentParts& parts, ComponentSummary& c)
{
    c.hasSection = true;
    for (const ShipBlock* b = parts.section->next(); b && b != parts.sectionEnd;
         b = b->next()) {
        switch (b->type) {
        case lay::type::AnimationHeader:
            c.hasAnimationHeader = true;
            break;
        case lay::type::AnimationFrames:
            c.hasAnimationFrames = true;
            break;
        case lay::type::Block13:
            c.hasBlock13 = true;
            c.block13On = c.block13On || b->count() != 0;
            break;
        case lay::type::Block14:
            c.hasBlock14 = true;
            break;
        default:
            break;
        }
    }
}

void summariseParts(const shipfile::ComponentParts& parts, ComponentSummary& c)
{
    if (parts.section)
        summariseSection(parts, c);
    if (parts.attachments) {
        c.attachments.emplace();
        for (std::size_t i = 0; i < parts.attachments->count(); ++i)
            c.attachments->push_back(summariseAttachment(parts.attachments->record(i)));
    }
    if (parts.faces)
        c.faceCount = parts.faces->count();
    if (parts.vertices)
        c.vertexCount = parts.vertices->count();
    if (const ShipBlock* names = parts.textureNames) {
        c.textures.emplace();
        for (std::size_t i = 0; i < names->count(); ++i)
            c.textures->push_back(shipfile::readString(names->record(i), lay::texture::Name));
    }
    if (parts.boxes)
        c.boxCount = parts.boxes->count();
}

} // namespace

ShipSummary summarise(const shipfile::ShipFile& file)
{
    ShipSummary ship;
    for (const ShipBlock* b = file.first(); b; b = b->next())
        ship.blocks.push_back(BlockSummary{b->type, b->recordSize, b->count()});
    ship.shipClass = shipfile::shipClass(file);

    for (const shipfile::ComponentParts& parts : shipfile::allComponentParts(file)) {
        ComponentSummary c;
        summariseRecord(parts.record, c);
        summariseParts(parts, c);
        ship.components.push_back(std::move(c));
    }
    return ship;
}

} // namespace tools
