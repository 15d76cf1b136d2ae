#include "shipfile/ComponentParts.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace shipfile {

namespace {

// The chain in order, with the positions of each block type, so that a ship of many components
// and blocks is answered in one walk rather than one walk per component.
class ChainIndex
{
public:
    explicit ChainIndex(const ShipFile& file)
    {
        for (const ShipBlock* b = file.first(); b; b = b->next()) {
            m_positions[b->type].push_back(m_blocks.size());
            m_blocks.push_back(b);
        }
    }

    const ShipBlock* at(std::optional<std::size_t> position) const
    {
        return position ? m_blocks[*position] : nullptr;
    }

    /// The position of the (n+1)-th block of `type`.
    std::optional<std::size_t> nth(std::uint32_t type, std::size_t n) const
    {
        const auto* positions = of(type);
        if (!positions || n >= positions->size())
            return std::nullopt;
        return (*positions)[n];
    }

    /// The position of the first block of `type` after `position`, before `end` when given.
    std::optional<std::size_t> firstAfter(std::uint32_t type, std::optional<std::size_t> position,
                                          std::optional<std::size_t> end = std::nullopt) const
    {
        const auto* positions = of(type);
        if (!positions || !position)
            return std::nullopt;
        const auto found = std::upper_bound(positions->begin(), positions->end(), *position);
        if (found == positions->end() || (end && *found >= *end))
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

ComponentParts partsOf(const ShipFile& file, const ChainIndex& chain, int n)
{
    namespace type = layout::type;
    ComponentParts parts;
    if (n < 0)
        return parts;
    const auto index = static_cast<std::size_t>(n);
    parts.index = n;
    parts.record = componentRecord(file, n);
    parts.origin = readVec3(parts.record, layout::component::Origin).value_or(Vec3{});

    const auto section = chain.nth(type::SectionStart, index);
    const auto sectionEnd = chain.firstAfter(type::SectionStart, section);
    parts.section = chain.at(section);
    parts.sectionEnd = chain.at(sectionEnd);
    const auto attachments = chain.nth(type::Attachments, index);
    parts.attachments = chain.at(attachments);

    const auto geometryFrom = attachments ? attachments : section;
    parts.faces = chain.at(chain.firstAfter(type::Faces, geometryFrom));
    parts.vertices = chain.at(chain.firstAfter(type::Vertices, geometryFrom));
    parts.textureNames = chain.at(chain.firstAfter(type::TextureNames, geometryFrom));
    if (parts.vertices)
        parts.vertexCount = vertexPositionCount(*parts.vertices);
    if (section)
        parts.boxes = chain.at(chain.firstAfter(type::Boxes, section, sectionEnd));
    return parts;
}

} // namespace

ComponentParts componentParts(const ShipFile& file, int n)
{
    return partsOf(file, ChainIndex(file), n);
}

EditableComponentParts componentParts(ShipFile& file, int n)
{
    // The blocks are the file's own, and the file is not const here.
    const ComponentParts found = componentParts(std::as_const(file), n);
    const auto editable = [](const ShipBlock* b) { return const_cast<ShipBlock*>(b); };
    EditableComponentParts parts;
    parts.index = found.index;
    parts.record = componentRecord(file, n);
    parts.section = editable(found.section);
    parts.sectionEnd = found.sectionEnd;
    parts.attachments = editable(found.attachments);
    parts.faces = editable(found.faces);
    parts.vertices = editable(found.vertices);
    parts.textureNames = editable(found.textureNames);
    parts.boxes = editable(found.boxes);
    parts.origin = found.origin;
    parts.vertexCount = found.vertexCount;
    return parts;
}

std::vector<ComponentParts> allComponentParts(const ShipFile& file)
{
    const ChainIndex chain(file);
    std::vector<ComponentParts> all;
    const int count = componentCount(file);
    all.reserve(static_cast<std::size_t>(count));
    for (int n = 0; n < count; ++n)
        all.push_back(partsOf(file, chain, n));
    return all;
}

std::size_t vertexPositionCount(const ShipBlock& vertices)
{
    constexpr std::size_t PositionBytes = 3 * sizeof(float);
    if (vertices.recordSize < layout::vertex::Position + PositionBytes)
        return 0;
    return std::min<std::size_t>(vertices.count(), vertices.records().size() / vertices.recordSize);
}

} // namespace shipfile
