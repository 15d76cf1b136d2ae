#include "shipfile/Catalogue.h"
#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

TEST(DestComponent, NameEndingInDestIgnoringCaseAndAtLeastFourLong)
{
    testsupport::Ship ship;
    for (const char* name :
         {"engineDEST", "dest", "WingDeSt", "est", "destroyer", "", "dest ", "xdes"}) {
        testsupport::Component c;
        c.name = name;
        ship.components.push_back(c);
    }
    testsupport::RecordingSink sink;
    const auto image = testsupport::buildShip(ship);
    const auto file = shipfile::ShipFile::fromBytes(image, "dest.shp", sink);
    ASSERT_EQ(shipfile::componentCount(*file), 8);
    const bool expected[8] = {true, true, true, false, false, false, false, false};
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(shipfile::isDestComponent(*file, n), expected[n])
            << ship.components[static_cast<std::size_t>(n)].name;
    EXPECT_FALSE(shipfile::isDestComponent(*file, 8));
    EXPECT_FALSE(shipfile::isDestComponent(*file, -1));
}

} // namespace
} // namespace viewer
