#pragma once

#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A ship loaded from a built image, with the sink its messages go to.
struct LoadedShip
{
    explicit LoadedShip(const testsupport::Ship& ship) : LoadedShip(testsupport::buildShip(ship)) {}
    explicit LoadedShip(const testsupport::ByteVector& image)
        : file(shipfile::ShipFile::fromBytes(image, "test.shp", sink))
    {
        EXPECT_TRUE(sink.messages.empty()) << "the test image loads without messages";
    }

    testsupport::RecordingSink sink;
    std::unique_ptr<shipfile::ShipFile> file;
};

inline std::vector<std::uint32_t> blockTypes(const shipfile::ShipFile& file)
{
    std::vector<std::uint32_t> out;
    for (const shipfile::ShipBlock* b = file.first(); b; b = b->next())
        out.push_back(b->type);
    return out;
}

/// Whether the ship's cached pointers are those a load of its image sets: `tail` on the last
/// block and `componentBlock` on the last type-1 block.
inline testing::AssertionResult pointersOnChain(const shipfile::ShipFile& file)
{
    const shipfile::ShipBlock* last = &file.head();
    const shipfile::ShipBlock* components = nullptr;
    for (const shipfile::ShipBlock* b = file.first(); b; b = b->next()) {
        last = b;
        if (b->type == shipfile::layout::type::Components)
            components = b;
    }
    if (file.tail() != last)
        return testing::AssertionFailure() << "tail is not the last block";
    if (file.componentBlock() != components)
        return testing::AssertionFailure() << "componentBlock is not the last type-1 block";
    return testing::AssertionSuccess();
}

/// Puts a block of `recordSize`-byte records, each cut from (or zero-padded past) the record of
/// `block` it replaces, in the place of `block`, a block of `file`.
inline shipfile::ShipBlock* withRecordSize(shipfile::ShipFile& file,
                                           const shipfile::ShipBlock* block,
                                           std::uint32_t recordSize)
{
    shipfile::ShipBlock* before = &file.head();
    while (before->next() != block)
        before = before->next();
    auto reshaped = std::make_unique<shipfile::ShipBlock>(block->type, recordSize, block->count());
    for (std::size_t i = 0; i < block->count(); ++i) {
        const shipfile::Bytes from = block->record(i);
        const shipfile::MutableBytes to = reshaped->record(i);
        std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
    }
    file.removeAfter(*before);
    return file.insertAfter(*before, std::move(reshaped));
}
