#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/ShipFile.h"
#include "tests/shipfile/ShipFixture.h"
#include "tests/support/RecordingSink.h"

#include <array>
#include <gtest/gtest.h>

using namespace shipfile;

TEST(HandWrittenShip, LoadsEveryBlockAndSavesItByteForByte)
{
    const fixture::ByteVector bytes = fixture::image(fixture::ship());
    testsupport::RecordingSink sink;
    auto file = ShipFile::fromBytes(bytes, "fixture.shp", sink);
    std::vector<std::array<std::uint32_t, 3>> blocks;
    for (const ShipBlock* b = file->first(); b; b = b->next())
        blocks.push_back({b->type, b->recordSize, b->count()});
    const std::vector<std::array<std::uint32_t, 3>> expected = {
        {0, 24, 1}, {1, 312, 1}, {2, 4, 1},   {13, 4, 2},  {10, 24, 1},
        {7, 72, 0}, {9, 168, 1}, {6, 16, 2},  {11, 28, 2}, {4, 32, 4},
        {3, 80, 1}, {12, 4, 0},  {14, 20, 1}, {14, 20, 1}, {16, 4, 0}};
    EXPECT_EQ(blocks, expected);
    EXPECT_EQ(file->loadResult(), LoadResult::Complete);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(file->serialise(), bytes);
}

TEST(HandWrittenShip, CatalogueReadsEachField)
{
    testsupport::RecordingSink sink;
    auto file = ShipFile::fromBytes(fixture::image(fixture::ship()), "fixture.shp", sink);
    EXPECT_EQ(shipClass(*file), std::int8_t{2});
    EXPECT_EQ(componentCount(*file), 1);
    EXPECT_EQ(componentName(*file, 0), "Hull");
    EXPECT_EQ(file->componentBlock()->componentOrigin(0), (Vec3{1, -2, 3}));
    const ComponentParts parts = componentParts(*file, 0);
    EXPECT_EQ(parts.section->type, 2u);
    EXPECT_EQ(parts.sectionEnd, nullptr);
    EXPECT_EQ(parts.attachments->type, 9u);
    EXPECT_EQ(parts.boxes->type, 7u);
    EXPECT_EQ(parts.textureNames->count(), 2u);
    EXPECT_EQ(parts.vertices->count(), 4u);
    EXPECT_EQ(parts.vertexCount, 4u);
    EXPECT_EQ(parts.faces->count(), 1u);
    EXPECT_EQ(parts.origin, (Vec3{1, -2, 3}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(HandWrittenShip, ReducedComponentRecordsHoldNameRoleAndOrigin)
{
    // 100-byte records end before the debris and hit-point fields; 72-byte ones inside the
    // origin.
    std::vector<fixture::Block> blocks = fixture::ship();
    blocks[fixture::Components] = {
        "0100 6400 0100",
        {{{0, "48756c6c00"}, {64, "03000000"}, {68, "0000803f 000000c0 00004040"}}}};
    testsupport::RecordingSink sink;
    auto file = ShipFile::fromBytes(fixture::image(blocks), "reduced.shp", sink);
    EXPECT_EQ(componentName(*file, 0), "Hull");
    EXPECT_EQ(file->componentBlock()->componentOrigin(0), (Vec3{1, -2, 3}));
    EXPECT_EQ(roleText(*readI32(componentRecord(*file, 0), 64)), "Fighter turret");

    blocks[fixture::Components] = {"0100 4800 0100", {{{0, "48756c6c00"}}}};
    file = ShipFile::fromBytes(fixture::image(blocks), "reduced.shp", sink);
    EXPECT_EQ(componentName(*file, 0), "Hull");
    EXPECT_FALSE(file->componentBlock()->componentOrigin(0));
    EXPECT_TRUE(sink.messages.empty());
}
