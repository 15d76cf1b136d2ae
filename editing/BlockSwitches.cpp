#include "editing/BlockSwitches.h"

#include "editing/BlockChain.h"
#include "editing/Messages.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"

#include <utility>
#include <vector>

namespace editing {

using shipfile::Bytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
namespace lay = shipfile::layout;

namespace {

// The queries change nothing; they share the walks of the commands.
ShipFile& mutableFile(const ShipFile& file)
{
    return const_cast<ShipFile&>(file);
}

ShipBlock* blockInSection(ShipFile& file, int component, std::uint32_t type)
{
    if (file.empty() || component < 0)
        return nullptr;
    const Section section = sectionOf(file, component);
    return section.start ? findBefore(section.start->next(), section.end, type) : nullptr;
}

// The component's faces when they lie in its own section: a switch never writes into another
// component's blocks.
ShipBlock* ownFaces(ShipFile& file, int component)
{
    if (file.empty() || component < 0)
        return nullptr;
    const shipfile::EditableComponentParts parts = shipfile::componentParts(file, component);
    return parts.inSection(parts.faces) ? parts.faces : nullptr;
}

bool isDummyTriangle(Bytes face)
{
    const auto a = shipfile::readU32(face, lay::face::VertexA);
    const auto b = shipfile::readU32(face, lay::face::VertexB);
    const auto c = shipfile::readU32(face, lay::face::VertexC);
    return a == 0u && b == 0u && c == 0u;
}

// The block after which the component's type-14 blocks lie: the last block before the first
// type-2, type-14 or type-16 block after the component's type-2 block.
ShipBlock* block14Anchor(ShipFile& file, int component)
{
    if (file.empty() || component < 0)
        return nullptr;
    ShipBlock* anchor = sectionOf(file, component).start;
    if (!anchor || !anchor->next())
        return nullptr;
    while (anchor->next()) {
        const std::uint32_t type = anchor->next()->type;
        if (type == lay::type::SectionStart || type == lay::type::Block14 ||
            type == lay::type::Marker16)
            break;
        anchor = anchor->next();
    }
    return anchor;
}

bool isBlock14(const ShipBlock* block)
{
    return block && block->type == lay::type::Block14;
}

std::unique_ptr<ShipBlock> newBlock14()
{
    return std::make_unique<ShipBlock>(lay::type::Block14, lay::block14::RecordSize, 1);
}

} // namespace

bool toggleDummyTriangle(ShipFile& file, int component)
{
    ShipBlock* faces = ownFaces(file, component);
    if (!faces || faces->count() == 0)
        return false;
    const std::size_t last = faces->count() - 1;
    const Bytes lastFace = std::as_const(*faces).record(last);
    if (!shipfile::fits(lastFace, lay::face::VertexC, 4))
        return false;
    if (isDummyTriangle(lastFace))
        return faces->removeRecord(last);

    std::vector<std::uint8_t> dummy(faces->recordSize, 0);
    shipfile::writeU32(dummy, lay::face::TextureIndex,
                       shipfile::readU32(lastFace, lay::face::TextureIndex).value_or(0));
    shipfile::writeU32(dummy, lay::face::DummyMarker, lay::face::DummyMarkerValue);
    if (!faces->appendRecord(dummy)) {
        file.sink().show(messages::BlockFull.box());
        return false;
    }
    return true;
}

bool toggleBlock13(ShipFile& file, int component)
{
    if (file.empty() || component < 0 || !sectionOf(file, component).start)
        return false;
    ShipBlock* block = blockInSection(file, component, lay::type::Block13);
    if (!block || block->recordSize < lay::block13::RecordSize) {
        file.sink().show(messages::ErrorInitializingBlock13.box());
        return false;
    }
    if (block->count() != 0) {
        block->clearRecords();
        return true;
    }
    // Each record is one u32: 2 then 5.
    block->resizeRecords(2);
    shipfile::writeU32(block->record(0), 0, lay::block13::OnValues[0]);
    shipfile::writeU32(block->record(1), 0, lay::block13::OnValues[1]);
    return true;
}

std::optional<bool> toggleBlock14(ShipFile& file, int component)
{
    ShipBlock* anchor = block14Anchor(file, component);
    if (!anchor)
        return std::nullopt;
    ShipBlock* first = anchor->next();
    bool on = true;
    if (!isBlock14(first)) {
        file.insertAfter(*file.insertAfter(*anchor, newBlock14()), newBlock14());
    } else if (!isBlock14(first->next())) {
        file.insertAfter(*first, newBlock14());
    } else {
        file.removeAfter(*anchor);
        file.removeAfter(*anchor);
        if (isBlock14(anchor->next()))
            file.removeAfter(*anchor);
        on = false;
    }
    return on;
}

bool dummyTrianglePresent(const ShipFile& file, int component)
{
    const ShipBlock* faces = ownFaces(mutableFile(file), component);
    if (!faces || faces->count() == 0)
        return false;
    const Bytes lastFace = faces->record(faces->count() - 1);
    return shipfile::fits(lastFace, lay::face::VertexC, 4) && isDummyTriangle(lastFace);
}

std::optional<bool> block13On(const ShipFile& file, int component)
{
    if (file.empty() || component < 0 || !shipfile::componentParts(file, component).section)
        return std::nullopt;
    const ShipBlock* block = blockInSection(mutableFile(file), component, lay::type::Block13);
    if (!block) {
        file.sink().show(messages::ErrorFindingBlock13.box());
        return std::nullopt;
    }
    return block->count() != 0;
}

bool block14Present(const ShipFile& file, int component)
{
    const ShipBlock* anchor = block14Anchor(mutableFile(file), component);
    return anchor && isBlock14(anchor->next()) && isBlock14(anchor->next()->next());
}

} // namespace editing
