#include "shipfile/ShipBlock.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <algorithm>

namespace shipfile {

ShipBlock::ShipBlock(std::uint32_t blockType, std::uint32_t size, std::uint32_t recordCount)
    : records(std::size_t{size} * recordCount), type(blockType), recordSize(size),
      count(recordCount)
{
}

ShipBlock::~ShipBlock()
{
    // Unlink iteratively: a chain of millions of empty blocks must not recurse that deep.
    std::unique_ptr<ShipBlock> rest = std::move(next);
    while (rest)
        rest = std::move(rest->next);
}

MutableBytes ShipBlock::record(std::size_t index)
{
    const std::size_t size = recordSize;
    if (size == 0 || index >= count || (index + 1) * size > records.size())
        return {};
    return MutableBytes(records).subspan(index * size, size);
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
    if (count > MaxCount || n > MaxCount - count)
        return false;
    // A fresh buffer, so a source inside this block's own records stays valid while copied.
    const std::size_t oldSize = std::min(records.size(), std::size_t{recordSize} * count);
    const std::size_t addedSize = std::size_t{recordSize} * n;
    std::vector<std::uint8_t> grown(oldSize + addedSize, 0);
    std::copy_n(records.begin(), oldSize, grown.begin());
    std::copy_n(source.begin(), std::min(source.size(), addedSize),
                grown.begin() + static_cast<std::ptrdiff_t>(oldSize));
    records = std::move(grown);
    count += static_cast<std::uint32_t>(n);
    return true;
}

bool ShipBlock::removeRecord(std::size_t index)
{
    if (record(index).empty())
        return false;
    const auto first = records.begin() + static_cast<std::ptrdiff_t>(index * recordSize);
    records.erase(first, first + recordSize);
    --count;
    return true;
}

} // namespace shipfile
