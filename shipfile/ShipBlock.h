#pragma once

#include "shipfile/Bytes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace shipfile {

/// One block of an SHP file: a run of `count` records of `recordSize` bytes each, and the link to
/// the block after it. The 16-bit values of the file are held zero-extended. Each block owns its
/// records and, through `next`, the rest of the chain.
class ShipBlock
{
public:
    ShipBlock() = default;
    ShipBlock(std::uint32_t blockType, std::uint32_t size, std::uint32_t recordCount);
    ~ShipBlock();
    ShipBlock(const ShipBlock&) = delete;
    ShipBlock& operator=(const ShipBlock&) = delete;

    std::vector<std::uint8_t> records;
    std::uint32_t type = 0;
    std::uint32_t recordSize = 0;
    std::uint32_t count = 0;
    /// The block after this one. Only the document links and unlinks blocks (ShipFile's chain
    /// operations), so that the blocks it points at stay in its chain.
    std::unique_ptr<ShipBlock> next;

    /// Record `index`, or an empty span when the block has no such record.
    MutableBytes record(std::size_t index);
    Bytes record(std::size_t index) const;

    /// The origin (bytes 68..79) of component record `index` of a type-1 block.
    std::optional<Vec3> componentOrigin(std::size_t index) const;

    /// The file stores a block's record count in 16 bits.
    static constexpr std::uint32_t MaxCount = 0xFFFF;

    /// Grows the block by one record filled from the attachment template of `kind` (0..4). A
    /// record longer than the 168-byte template is zero past it. False for any other kind and
    /// for a full block.
    bool appendTemplateRecord(int kind);
    /// Grows the block by one record copied from `source`; bytes past its end are zero. False,
    /// changing nothing, when the block already holds MaxCount records: saving could not
    /// write the count.
    bool appendRecord(Bytes source) { return appendRecords(source, 1); }
    /// Grows the block by `n` records copied from `source`, one record size after another;
    /// bytes past its end are zero. False, changing nothing, when the block would hold more
    /// than MaxCount records.
    bool appendRecords(Bytes source, std::size_t n);
    /// Removes record `index`, keeping the order of the others. False when there is none.
    bool removeRecord(std::size_t index);
};

} // namespace shipfile
