#include "tools/ShipSummary.h"

#include "editing/AttachmentLabel.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <algorithm>
#include <map>

namespace tools {

namespace lay = shipfile::layout;
using shipfile::ShipBlock;

namespace {

// The chain in order, with the positions of each block type. Component n's blocks are the
// (n+1)-th of their type, and its faces, vertices and textures the first after its type-9
// block; answering those from this table rather than walking the chain per component keeps a
// file of many components and blocks linear to read.
class ChainIndex
{
public:
    explicit ChainIndex(const shipfile::ShipFile& file)
    {
        for (const ShipBlock* b = file.first(); b; b = b->next.get()) {
            m_positions[b->type].push_back(m_blocks.size());
            m_blocks.push_back(b);
        }
    }

    const ShipBlock& at(std::size_t position) const { return *m_blocks[position]; }
    std::size_t size() const { return m_blocks.size(); }

    /// The position of the (n+1)-th block of `type`.
    std::optional<std::size_t> nth(std::uint32_t type, std::size_t n) const
    {
        const auto* positions = of(type);
        if (!positions || n >= positions->size())
            return std::nullopt;
        return (*positions)[n];
    }

    /// The position of the first block of `type` after `position`.
    std::optional<std::size_t> firstAfter(std::uint32_t type, std::size_t position) const
    {
        const auto* positions = of(type);
        if (!positions)
            return std::nullopt;
        const auto found = std::upper_bound(positions->begin(), positions->end(), position);
        if (found == positions->end())
            return std::nullopt;
        return *found;
    }

private:
    const std::vector<std::size_t>* of(std::uint32_t type) const
    {
        const auto found = m_positions.find(type);
        return found == m_positions.end() ? nullptr : &found->second;
    }

    std::vector<const ShipBlock*> m_blocks;
    std::map<std::uint32_t, std::vector<std::size_t>> m_positions;
};

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

void summariseSection(const ChainIndex& chain, std::size_t start, ComponentSummary& c)
{
    c.hasSection = true;
    const std::size_t end = chain.firstAfter(lay::type::SectionStart, start).value_or(chain.size());
    for (std::size_t i = start + 1; i < end; ++i) {
        const ShipBlock& b = chain.at(i);
        switch (b.type) {
        case lay::type::AnimationHeader:
            c.hasAnimationHeader = true;
            break;
        case lay::type::AnimationFrames:
            c.hasAnimationFrames = true;
            break;
        case lay::type::Block13:
            c.hasBlock13 = true;
            c.block13On = c.block13On || b.count != 0;
            break;
        case lay::type::Block14:
            c.hasBlock14 = true;
            break;
        default:
            break;
        }
    }
}

void summariseAttachmentBlock(const ChainIndex& chain, std::size_t position, ComponentSummary& c)
{
    const ShipBlock& attachments = chain.at(position);
    c.attachments.emplace();
    for (std::size_t i = 0; i < attachments.count; ++i)
        c.attachments->push_back(summariseAttachment(attachments.record(i)));

    if (const auto faces = chain.firstAfter(lay::type::Faces, position))
        c.faceCount = chain.at(*faces).count;
    if (const auto vertices = chain.firstAfter(lay::type::Vertices, position))
        c.vertexCount = chain.at(*vertices).count;
    if (const auto textures = chain.firstAfter(lay::type::TextureNames, position)) {
        const ShipBlock& names = chain.at(*textures);
        c.textures.emplace();
        for (std::size_t i = 0; i < names.count; ++i)
            c.textures->push_back(shipfile::readString(names.record(i), lay::texture::Name));
    }
}

} // namespace

ShipSummary summarise(const shipfile::ShipFile& file)
{
    ShipSummary ship;
    for (const ShipBlock* b = file.first(); b; b = b->next.get())
        ship.blocks.push_back(BlockSummary{b->type, b->recordSize, b->count});
    ship.shipClass = shipfile::shipClass(file);

    const ChainIndex chain(file);
    const int count = shipfile::componentCount(file);
    for (int n = 0; n < count; ++n) {
        const auto index = static_cast<std::size_t>(n);
        ComponentSummary c;
        summariseRecord(shipfile::componentRecord(file, n), c);
        if (const auto start = chain.nth(lay::type::SectionStart, index))
            summariseSection(chain, *start, c);
        if (const auto attachments = chain.nth(lay::type::Attachments, index))
            summariseAttachmentBlock(chain, *attachments, c);
        if (const auto boxes = chain.nth(lay::type::Boxes, index))
            c.boxCount = chain.at(*boxes).count;
        ship.components.push_back(std::move(c));
    }
    return ship;
}

} // namespace tools
