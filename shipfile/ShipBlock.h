#pragma once

#include "shipfile/Bytes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace shipfile {

/// One block of an SHP file: a run of `count` records of `recordSize` bytes each, and the link to
/// the block after it. The 16-bit values of the file are held zero-extended. Each block owns its
/// records and, through `next`, the rest of the chain; its records change only through its own
/// operations below, its links only through the document's.
class ShipBlock
{
public:
    ShipBlock() = default;
    ShipBlock(std::uint32_t blockType, std::uint32_t size, std::uint32_t recordCount);
    ~ShipBlock();
    ShipBlock(const ShipBlock&) = delete;
    ShipBlock& operator=(const ShipBlock&) = delete;

    /// The type and record size never change; a block of another shape is a new block.
    const std::uint32_t type = 0;
    const std::uint32_t recordSize = 0;

    std::uint32_t count() const { return m_count; }
    /// The record bytes, `count` records of `recordSize` bytes.
    const std::vector<std::uint8_t>& records() const { return m_records; }
    /// The block after this one; only the document links and unlinks blocks.
    ShipBlock* next() { return m_next.get(); }
    const ShipBlock* next() const { return m_next.get(); }

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
    /// Makes the block hold `n` records: the first ones kept, the rest zero. False, changing
    /// nothing, past MaxCount.
    bool resizeRecords(std::size_t n);
    /// Removes every record.
    void clearRecords() { resizeRecords(0); }

private:
    friend class ShipFile;
    /// A block read from a file: `records` are its record bytes, taken as they are.
    ShipBlock(std::uint32_t blockType, std::uint32_t size, std::uint32_t recordCount, Bytes records)
        : type(blockType), recordSize(size), m_records(records.begin(), records.end()),
          m_count(recordCount)
    {
    }

    std::vector<std::uint8_t> m_records;
    std::uint32_t m_count = 0;
    std::unique_ptr<ShipBlock> m_next;
};

} // namespace shipfile
