#include "shipfile/ShipBlock.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <algorithm>

namespace shipfile {

ShipBlock::ShipBlock(std::uint32_t blockType, std::uint32_t size, std::uint32_t recordCount)
    : type(blockType), recordSize(size), m_records(std::size_t{size} * recordCount),
      m_count(recordCount)
{
}

ShipBlock::~ShipBlock()
{
    // Unlink iteratively: a chain of millions of empty blocks must not recurse that deep.
    std::unique_ptr<ShipBlock> rest = std::move(m_next);
    while (rest)
        rest = std::move(rest->m_next);
}

MutableBytes ShipBlock::record(std::size_t index)
{
    const std::size_t size = recordSize;
    if (size == 0 || index >= m_count || (index + 1) * size > m_records.size())
        return {};
    return MutableBytes(m_records).subspan(index * size, size);
}

Bytes ShipBlock::record(std::size_t index) const
{
    return const_cast<ShipBlock*>(this)->record(index);
}

std::optional<Vec3> ShipBlock::componentOrigin(std::size_t index) const
{
    return readVec3(record(index), layout::component::Origin);
}

bool ShipBlock::appendTemplateRecord(int kind)
{
    if (kind < 0 || kind >= layout::AttachmentKindCount)
        return false;
    return appendRecord(attachmentTemplate(static_cast<layout::AttachmentKind>(kind)));
}

bool ShipBlock::appendRecords(Bytes source, std::size_t n)
{
    if (m_count > MaxCount || n > MaxCount - m_count)
        return false;
    // A fresh buffer, so a source inside this block's own records stays valid while copied.
    const std::size_t oldSize = std::min(m_records.size(), std::size_t{recordSize} * m_count);
    const std::size_t addedSize = std::size_t{recordSize} * n;
    std::vector<std::uint8_t> grown(oldSize + addedSize, 0);
    std::copy_n(m_records.begin(), oldSize, grown.begin());
    std::copy_n(source.begin(), std::min(source.size(), addedSize),
                grown.begin() + static_cast<std::ptrdiff_t>(oldSize));
    m_records = std::move(grown);
    m_count += static_cast<std::uint32_t>(n);
    return true;
}

bool ShipBlock::removeRecord(std::size_t index)
{
    if (record(index).empty())
        return false;
    const auto first = m_records.begin() + static_cast<std::ptrdiff_t>(index * recordSize);
    m_records.erase(first, first + recordSize);
    --m_count;
    return true;
}

bool ShipBlock::resizeRecords(std::size_t n)
{
    if (n > MaxCount)
        return false;
    m_records.resize(std::size_t{recordSize} * n, 0);
    m_count = static_cast<std::uint32_t>(n);
    return true;
}

} // namespace shipfile
