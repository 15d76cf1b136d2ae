#pragma once

#include "shipfile/MessageSink.h"
#include "shipfile/ShipBlock.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace shipfile {

/// How far the loader got with a file.
enum class LoadResult
{
    /// Every block up to the end marker was read; a file that is only the end marker holds none.
    Complete,
    /// The file ends in the middle of a block: the blocks before it were read.
    Truncated,
    /// Nothing was read: the file could not be opened or is no ship file.
    Refused,
};

/// The open document: the chain of blocks of one SHP file, in file order, headed by `head()`
/// (whose own type, size and count stay 0; the first block is `first()`). Loading never
/// fails as such: a file that cannot be read leaves the chain empty, after one message.
class ShipFile
{
public:
    explicit ShipFile(MessageSink& sink);
    /// Loads `path`, plain or packed. Packed data is unpacked in memory.
    ShipFile(const std::filesystem::path& path, MessageSink& sink);
    ShipFile(const ShipFile&) = delete;
    ShipFile& operator=(const ShipFile&) = delete;

    /// Loads a file image already in memory; `displayName` is what messages call it.
    static std::unique_ptr<ShipFile> fromBytes(Bytes data, const std::string& displayName,
                                               MessageSink& sink);

    // The chain and the pointers into it change only through the operations below, which
    // keep the pointers on blocks of the chain.
    /// The head, whose own type, size and count stay 0: blocks are inserted after it.
    ShipBlock& head() { return m_head; }
    const ShipBlock& head() const { return m_head; }
    /// The last block of the chain, or the head while the chain is empty.
    ShipBlock* tail() { return m_tail; }
    const ShipBlock* tail() const { return m_tail; }
    /// The last type-1 block of the chain (the component table the loader would pick), or null.
    ShipBlock* componentBlock() { return m_componentBlock; }
    const ShipBlock* componentBlock() const { return m_componentBlock; }

    bool empty() const { return !m_head.next(); }
    LoadResult loadResult() const { return m_loadResult; }
    ShipBlock* first() { return m_head.next(); }
    const ShipBlock* first() const { return m_head.next(); }
    MessageSink& sink() const { return m_sink; }

    /// Links `block` into the chain right after `after` (the head or a block of this chain) and
    /// returns it.
    ShipBlock* insertAfter(ShipBlock& after, std::unique_ptr<ShipBlock> block);
    /// Unlinks and destroys the block right after `before`; false when `before` is the last.
    bool removeAfter(ShipBlock& before);
    /// Unlinks every block after `before` and hands them over, still linked to each other.
    std::unique_ptr<ShipBlock> takeAfter(ShipBlock& before);
    /// Links `blocks` (a block and the blocks linked after it) after the last block.
    void append(std::unique_ptr<ShipBlock> blocks);
    /// Replaces every block with the blocks of the plain file `image`, as loading it would,
    /// without messages. False when the image does not end at an end marker after whole
    /// blocks; the blocks before that point are kept.
    bool restore(Bytes image);

    /// The plain file image: every block, then the end marker.
    std::vector<std::uint8_t> serialise() const;
    /// Whether serialise() would give exactly `image`, without building it: the unsaved-changes
    /// check runs often and ships can be large.
    bool matchesImage(Bytes image) const;
    /// Writes the plain file to `path` through a temporary file beside it, so a failed save
    /// leaves the old file as it was. A symbolic link is followed and stays a link; a file with
    /// several hard links is rewritten in place so every name shows the new ship; a file its
    /// owner made read-only is not replaced. Shows the save-failure message and returns false
    /// on error.
    bool save(const std::filesystem::path& path) const;

private:
    void load(Bytes data, const std::string& displayName);
    /// Appends the block at `data[offset]` and advances `offset` past it. False at the end
    /// marker, and also when the block does not lie wholly inside `data` (then `truncated`).
    bool readBlock(Bytes data, std::size_t& offset, bool& truncated);
    /// Drops every block.
    void releaseRecords();
    /// Walks the chain to set `tail` and `componentBlock`.
    void recountPointers();

    ShipBlock m_head;
    ShipBlock* m_tail = &m_head;
    ShipBlock* m_componentBlock = nullptr;
    MessageSink& m_sink;
    LoadResult m_loadResult = LoadResult::Complete;
};

/// The n-th (0-based) block of `type` counted from the start of the chain, or null.
ShipBlock* nthBlockOfType(ShipFile& file, std::uint32_t type, int n);
const ShipBlock* nthBlockOfType(const ShipFile& file, std::uint32_t type, int n);
/// The first block of `type` after `from` (not `from` itself), or null.
ShipBlock* nextBlockOfType(ShipBlock* from, std::uint32_t type);
const ShipBlock* nextBlockOfType(const ShipBlock* from, std::uint32_t type);

} // namespace shipfile
