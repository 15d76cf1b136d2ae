#include "viewer/ShownFaces.h"

#include "shipfile/ShipFile.h"
#include "tests/shipfile/ShipFixture.h"

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

} // namespace
} // namespace viewer
