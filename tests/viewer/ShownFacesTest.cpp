#include "viewer/ShownFaces.h"

#include "shipfile/ShipFile.h"
#include "tests/shipfile/ShipFixture.h"
#include "tests/support/ShipMaker.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

TEST(ShownFaces, ReadTheHandWrittenShipsFace)
{
    shipfile::SilentSink sink;
    const auto file = shipfile::ShipFile::fromBytes(fixture::image(fixture::ship()), "x", sink);
    const auto components = shownComponents(*file);
    ASSERT_TRUE(components);
    ASSERT_EQ(components->size(), 1u);
    EXPECT_EQ(components->front().origin, (shipfile::Vec3{1, -2, 3}));
    const FaceReader reader(components->front());
    EXPECT_EQ(reader.count(), 1u);
    EXPECT_EQ(reader.vertexCount(), 4u);
    const auto face = reader.face(0);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->vertices, (std::array<std::size_t, 3>{0, 1, 2}));
    EXPECT_EQ(face->corners[1], (shipfile::Vec3{10, 0, 0}));
    EXPECT_EQ(face->corners[2], (shipfile::Vec3{0, 20, 0}));
    EXPECT_EQ(face->culling, Culling::Front);
}

TEST(ShownFaces, EachComponentReadsItsOwnSection)
{
    shipfile::SilentSink sink;
    const auto file =
        shipfile::ShipFile::fromBytes(testsupport::buildShip(testsupport::sampleShip()), "x", sink);
    const auto components = shownComponents(*file);
    ASSERT_TRUE(components);
    ASSERT_GE(components->size(), 2u);
    for (int n = 0; n < static_cast<int>(components->size()); ++n) {
        const ShownComponent& c = (*components)[static_cast<std::size_t>(n)];
        EXPECT_EQ(c.attachments, shipfile::nthBlockOfType(*file, 9, n)) << n;
        if (n > 0) {
            EXPECT_NE(c.faces, (*components)[static_cast<std::size_t>(n - 1)].faces) << n;
        }
    }
}

} // namespace
} // namespace viewer
