#include "platform/DialogBuilder.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogUnits, ClassicBaseUnitsSixByThirteen)
{
    // The "Ship" box of the main window: wide enough for the 388-pixel view's 387 visible
    // columns, so the view is framed the same at the classic six-by-thirteen font.
    EXPECT_EQ(platform::dialogUnitsToPixels(7, 7, 258, 201), QRect(10, 11, 387, 327));
    EXPECT_EQ(platform::dialogUnitsToPixels(0, 0, 502, 290), QRect(0, 0, 753, 471));
    EXPECT_EQ(platform::dialogUnitsToPixels(4, 8, 4, 8), QRect(6, 13, 6, 13));
}

TEST(DialogUnits, NeighboursShareTheirEdge)
{
    // Converting both edges keeps abutting controls abutting however the units round.
    const QRect left = platform::dialogUnitsToPixels(3, 5, 7, 3);
    const QRect right = platform::dialogUnitsToPixels(10, 8, 5, 5);
    EXPECT_EQ(left.x() + left.width(), right.x());
    EXPECT_EQ(left.y() + left.height(), right.y());
}

} // namespace
