#include "viewer/Camera.h"

#include "viewer/FixedViews.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace viewer {
namespace {

using camera::Point;

Point project(const Matrix4& orientation, shipfile::Vec3 center, int zoom, shipfile::Vec3 origin,
              Point ship)
{
    const Matrix4 cam = camera::cameraTransform(orientation);
    const Matrix4 frame =
        camera::componentFrame(camera::centredFrame(cam, center, zoom), zoom, origin);
    return camera::transform(frame, ship);
}

TEST(Camera, ShipOriginLandsOnTheAnchorAndUnitsScaleWithZoom)
{
    const Matrix4 identity;
    const Point origin = project(identity, {}, 1, {}, {0, 0, 0});
    EXPECT_DOUBLE_EQ(origin.x, 1000.0);
    EXPECT_DOUBLE_EQ(origin.y, 800.0);
    EXPECT_DOUBLE_EQ(origin.z, -7000.0);
    EXPECT_NEAR(camera::toPixels(origin.x), 194.0, 1e-9);
    EXPECT_NEAR(camera::toPixels(origin.y), 155.2, 1e-9);

    // One ship unit is ten view units at zoom 1 and 0.02 at zoom 500; +x is mirrored.
    EXPECT_DOUBLE_EQ(project(identity, {}, 1, {}, {1, 0, 0}).x, 990.0);
    EXPECT_DOUBLE_EQ(project(identity, {}, 1, {}, {0, 1, 0}).y, 810.0);
    EXPECT_NEAR(project(identity, {}, 500, {}, {1, 0, 0}).x, 999.98, 1e-9);

    // A zoom out of range is held to it rather than dividing by zero.
    EXPECT_EQ(camera::clampZoom(0), camera::ClosestZoom);
    EXPECT_EQ(camera::clampZoom(std::nan("")), camera::ClosestZoom);
    EXPECT_EQ(camera::clampZoom(0.5), 0.5);
    EXPECT_EQ(camera::clampZoom(9999), 9999) << "a wider slider range zooms farther out";
}

TEST(Camera, CentrePointLandsOnTheAnchorWhateverTheOrientation)
{
    Matrix4 turned;
    turned.rotateX(33);
    turned.rotateZ(-71);
    for (const Matrix4& orientation : {Matrix4(), turned}) {
        const Point p = project(orientation, {100, 0, 0}, 10, {}, {100, 0, 0});
        EXPECT_NEAR(p.x, 1000.0, 1e-4);
        EXPECT_NEAR(p.y, 800.0, 1e-4);
        EXPECT_NEAR(p.z, -7000.0, 1e-4);
    }
    // A component's origin moves its own vertices: the component point (0, 0, 0) at origin
    // (100, 0, 0) is the same ship point.
    const Point q = project(Matrix4(), {100, 0, 0}, 10, {100, 0, 0}, {0, 0, 0});
    EXPECT_NEAR(q.x, 1000.0, 1e-4);
}

// Where the fixed views send the ship's axes on screen (a smaller eye z is nearer).
struct AxisCase
{
    ViewChoice view;
    const char* x;
    const char* y;
    const char* z;
};

std::string direction(const Point& d)
{
    const double ax = std::abs(d.x), ay = std::abs(d.y), az = std::abs(d.z);
    if (ax > ay && ax > az)
        return d.x > 0 ? "right" : "left";
    if (ay > az)
        return d.y > 0 ? "up" : "down";
    return d.z < 0 ? "toward" : "away";
}

class FixedViewAxes : public ::testing::TestWithParam<AxisCase>
{
};

TEST_P(FixedViewAxes, ShowTheAxesAsListed)
{
    const AxisCase c = GetParam();
    Matrix4 orientation;
    orientation.rotateY(12); // a leftover free turn, discarded by every fixed view
    applyFixedView(c.view, orientation);
    const Matrix4 cam = camera::cameraTransform(orientation);
    const Point o = camera::transform(cam, {0, 0, 0});
    const auto axis = [&](Point unit) {
        const Point p = camera::transform(cam, unit);
        return direction({p.x - o.x, p.y - o.y, p.z - o.z});
    };
    EXPECT_EQ(axis({1, 0, 0}), c.x);
    EXPECT_EQ(axis({0, 1, 0}), c.y);
    EXPECT_EQ(axis({0, 0, 1}), c.z);
}

INSTANTIATE_TEST_SUITE_P(AllSixViews, FixedViewAxes,
                         ::testing::Values(AxisCase{ViewChoice::Bottom, "left", "toward", "up"},
                                           AxisCase{ViewChoice::Left, "away", "down", "left"},
                                           AxisCase{ViewChoice::Front, "left", "down", "toward"},
                                           AxisCase{ViewChoice::Top, "right", "away", "up"},
                                           AxisCase{ViewChoice::Right, "toward", "down", "right"},
                                           AxisCase{ViewChoice::Back, "right", "down", "away"}));

TEST(FixedViews, FreeViewKeepsTheOrientationAndTextsFollowTheChooser)
{
    Matrix4 orientation;
    applyFixedView(ViewChoice::Top, orientation);
    Matrix4 kept = orientation;
    applyFixedView(ViewChoice::FreeView, kept);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(kept.data()[i], orientation.data()[i]);

    // Choosing the same view twice gives the same matrix.
    Matrix4 back1, back2;
    applyFixedView(ViewChoice::Back, back1);
    back2.rotateX(50);
    applyFixedView(ViewChoice::Back, back2);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(back1.data()[i], back2.data()[i]);

    EXPECT_EQ(viewChoiceFromText("front"), ViewChoice::Front);
    EXPECT_EQ(viewChoiceFromText("FREEVIEW"), ViewChoice::FreeView);
    EXPECT_EQ(viewChoiceFromText("Fr"), std::nullopt);
    EXPECT_EQ(ViewChoiceTexts[static_cast<std::size_t>(ViewChoice::Back)], "Back");
}

} // namespace
} // namespace viewer
