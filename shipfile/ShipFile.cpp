#include "shipfile/ShipFile.h"

#include "shipfile/FileAccess.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "shipfile/RefPack.h"

#include <algorithm>
#include <iterator>

namespace shipfile {

namespace {

bool endsWithEndMarker(Bytes data)
{
    if (data.size() < layout::BlockHeaderSize)
        return false;
    const Bytes trailer = data.last(layout::BlockHeaderSize);
    return readU16(trailer, 0) == layout::EndMarkerType && readU16(trailer, 2) == 0 &&
           readU16(trailer, 4) == 0;
}

bool startsWithPackedMagic(Bytes data)
{
    return readU16(data, 0) == layout::PackedMagic;
}

// Plain ship files are never larger than the biggest unpacked one we accept.
constexpr std::size_t MaxFileSize = MaxUnpackedSize;

} // namespace

ShipFile::ShipFile(MessageSink& sink) : m_sink(sink) {}

ShipFile::ShipFile(const std::filesystem::path& path, MessageSink& sink) : m_sink(sink)
{
    std::string reason;
    const auto data = readWholeFile(path, MaxFileSize, &reason);
    if (!data) {
        m_loadResult = LoadResult::Refused;
        m_sink.show(messages::withReason(messages::ErrorOpening.box(path.string()), reason));
        return;
    }
    load(*data, path.string());
}

std::unique_ptr<ShipFile> ShipFile::fromBytes(Bytes data, const std::string& displayName,
                                              MessageSink& sink)
{
    auto file = std::make_unique<ShipFile>(sink);
    file->load(data, displayName);
    return file;
}

void ShipFile::load(Bytes data, const std::string& displayName)
{
    ByteBuffer unpacked;
    if (!endsWithEndMarker(data)) {
        if (!startsWithPackedMagic(data)) {
            m_loadResult = LoadResult::Refused;
            m_sink.show(messages::NotAnShp.box());
            return;
        }
        m_sink.show(messages::CompressedNotice.box());
        // Packed data that unpacks to packed data again is refused, not unpacked twice.
        if (decodePacked(data, unpacked) == 0 || !endsWithEndMarker(unpacked)) {
            m_loadResult = LoadResult::Refused;
            m_sink.show(messages::NotAnShp.box());
            return;
        }
        data = unpacked;
    }

    std::size_t offset = 0;
    bool truncated = false;
    while (readBlock(data, offset, truncated)) {
    }
    if (truncated) {
        m_loadResult = LoadResult::Truncated;
        m_sink.show(messages::Truncated.box(displayName));
    }
}

bool ShipFile::readBlock(Bytes data, std::size_t& offset, bool& truncated)
{
    const Bytes rest = data.subspan(std::min(offset, data.size()));
    const auto type = readU16(rest, 0);
    if (type == layout::EndMarkerType)
        return false;
    const auto recordSize = readU16(rest, 2);
    const auto count = readU16(rest, 4);
    if (!type || !recordSize || !count) {
        truncated = true;
        return false;
    }
    const std::size_t length = std::size_t{*recordSize} * *count;
    if (length > rest.size() - layout::BlockHeaderSize) {
        truncated = true;
        return false;
    }

    std::unique_ptr<ShipBlock> block(
        new ShipBlock(*type, *recordSize, *count, rest.subspan(layout::BlockHeaderSize, length)));
    offset += layout::BlockHeaderSize + length;

    block->m_next = std::move(m_tail->m_next);
    m_tail->m_next = std::move(block);
    m_tail = m_tail->m_next.get();
    if (m_tail->type == layout::type::Components)
        m_componentBlock = m_tail;
    return true;
}

void ShipFile::releaseRecords()
{
    m_head.m_next.reset();
    m_tail = &m_head;
    m_componentBlock = nullptr;
}

ShipBlock* ShipFile::insertAfter(ShipBlock& after, std::unique_ptr<ShipBlock> block)
{
    block->m_next = std::move(after.m_next);
    after.m_next = std::move(block);
    ShipBlock* inserted = after.m_next.get();
    if (&after == m_tail)
        m_tail = inserted;
    if (inserted->type == layout::type::Components)
        recountPointers();
    return inserted;
}

bool ShipFile::removeAfter(ShipBlock& before)
{
    if (!before.m_next)
        return false;
    std::unique_ptr<ShipBlock> removed = std::move(before.m_next);
    before.m_next = std::move(removed->m_next);
    if (removed.get() == m_tail)
        m_tail = &before;
    if (removed.get() == m_componentBlock)
        recountPointers();
    return true;
}

std::unique_ptr<ShipBlock> ShipFile::takeAfter(ShipBlock& before)
{
    std::unique_ptr<ShipBlock> taken = std::move(before.m_next);
    recountPointers();
    return taken;
}

void ShipFile::append(std::unique_ptr<ShipBlock> blocks)
{
    m_tail->m_next = std::move(blocks);
    for (ShipBlock* b = m_tail->m_next.get(); b; b = b->next()) {
        m_tail = b;
        if (b->type == layout::type::Components)
            m_componentBlock = b;
    }
}

bool ShipFile::restore(Bytes image)
{
    releaseRecords();
    std::size_t offset = 0;
    bool truncated = false;
    while (readBlock(image, offset, truncated)) {
    }
    return !truncated && offset + layout::BlockHeaderSize == image.size();
}

void ShipFile::recountPointers()
{
    m_componentBlock = nullptr;
    m_tail = &m_head;
    for (ShipBlock* b = first(); b; b = b->next()) {
        if (b->type == layout::type::Components)
            m_componentBlock = b;
        m_tail = b;
    }
}

namespace {

// Hands the plain file image to `put` piece by piece: each block's header and records, then
// the end marker. The file holds 16-bit fields; only the records the header announces are
// written, zero-filled where a block holds fewer bytes than its header says.
template <typename Put> void visitImage(const ShipBlock* first, Put&& put)
{
    static constexpr std::uint8_t Zeros[256] = {};
    auto word = [](std::uint32_t v, std::uint8_t* at) {
        at[0] = static_cast<std::uint8_t>(v);
        at[1] = static_cast<std::uint8_t>(v >> 8);
    };
    for (const ShipBlock* b = first; b; b = b->next()) {
        std::uint8_t header[layout::BlockHeaderSize];
        word(b->type & 0xFFFF, header);
        word(b->recordSize & 0xFFFF, header + 2);
        word(b->count() & 0xFFFF, header + 4);
        put(Bytes(header));
        const std::size_t announced = std::size_t{b->recordSize & 0xFFFF} * (b->count() & 0xFFFF);
        const std::size_t held = std::min(b->records().size(), announced);
        put(Bytes(b->records()).first(held));
        for (std::size_t missing = announced - held; missing > 0;) {
            const std::size_t n = std::min(missing, sizeof Zeros);
            put(Bytes(Zeros, n));
            missing -= n;
        }
    }
    static constexpr std::uint8_t EndMarker[layout::BlockHeaderSize] = {0xFF, 0xFF, 0, 0, 0, 0};
    put(Bytes(EndMarker));
}

} // namespace

std::vector<std::uint8_t> ShipFile::serialise() const
{
    std::size_t total = 0;
    visitImage(first(), [&total](Bytes piece) { total += piece.size(); });
    std::vector<std::uint8_t> out;
    out.reserve(total);
    visitImage(first(), [&out](Bytes piece) { out.insert(out.end(), piece.begin(), piece.end()); });
    return out;
}

bool ShipFile::matchesImage(Bytes image) const
{
    std::size_t at = 0;
    bool same = true;
    visitImage(first(), [&](Bytes piece) {
        same =
            same && piece.size() <= image.size() - at &&
            std::equal(piece.begin(), piece.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
        at += same ? piece.size() : 0;
    });
    return same && at == image.size();
}

bool ShipFile::save(const std::filesystem::path& path) const
{
    std::string reason;
    if (writeFileSafely(path, serialise(), &reason))
        return true;
    m_sink.show(messages::withReason(messages::ErrorSaving.box(path.string()), reason));
    return false;
}

ShipBlock* nthBlockOfType(ShipFile& file, std::uint32_t type, int n)
{
    if (n < 0)
        return nullptr;
    int seen = 0;
    for (ShipBlock* b = file.first(); b; b = b->next())
        if (b->type == type && seen++ == n)
            return b;
    return nullptr;
}

const ShipBlock* nthBlockOfType(const ShipFile& file, std::uint32_t type, int n)
{
    return nthBlockOfType(const_cast<ShipFile&>(file), type, n);
}

ShipBlock* nextBlockOfType(ShipBlock* from, std::uint32_t type)
{
    for (ShipBlock* b = from ? from->next() : nullptr; b; b = b->next())
        if (b->type == type)
            return b;
    return nullptr;
}

const ShipBlock* nextBlockOfType(const ShipBlock* from, std::uint32_t type)
{
    return nextBlockOfType(const_cast<ShipBlock*>(from), type);
}

} // namespace shipfile
