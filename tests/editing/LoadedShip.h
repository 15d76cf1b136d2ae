#pragma once

#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
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

    /// The ship as saved and loaded again, so edits are checked as the file holds them.
    std::unique_ptr<shipfile::ShipFile> reloaded()
    {
        return shipfile::ShipFile::fromBytes(file->serialise(), "saved.shp", sink);
    }

    testsupport::RecordingSink sink;
    std::unique_ptr<shipfile::ShipFile> file;
};

inline std::vector<std::uint32_t> blockTypes(const shipfile::ShipFile& file)
{
    std::vector<std::uint32_t> out;
    for (const shipfile::ShipBlock* b = file.first(); b; b = b->next.get())
        out.push_back(b->type);
    return out;
}
