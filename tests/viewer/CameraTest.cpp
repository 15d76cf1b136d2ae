#include "viewer/Camera.h"

#include "viewer/FixedViews.h"

#include <algorithm>
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

    // shipDirection undoes the camera's turn: a ship step seen on screen maps back to itself.
    const Matrix4 cam = camera::cameraTransform(turned);
    const Point seen = camera::transform(cam, {1, 2, 3});
    const Point still = camera::transform(cam, {0, 0, 0});
    const shipfile::Vec3 back =
        camera::shipDirection(turned, {seen.x - still.x, seen.y - still.y, seen.z - still.z});
    EXPECT_NEAR(back.x, 1.0, 1e-5);
    EXPECT_NEAR(back.y, 2.0, 1e-5);
    EXPECT_NEAR(back.z, 3.0, 1e-5);
}

// Where a unit step points on screen; a smaller eye z is nearer. Fixed views turn by whole
// right angles, so a step that is not along one screen axis is wrong.
std::string direction(const Point& d)
{
    const double ax = std::abs(d.x), ay = std::abs(d.y), az = std::abs(d.z);
    if (std::max({ax, ay, az}) < 1 - 1e-9)
        return "skewed";
    if (ax > ay && ax > az)
        return d.x > 0 ? "right" : "left";
    if (ay > az)
        return d.y > 0 ? "up" : "down";
    return d.z < 0 ? "toward" : "away";
}

TEST(FixedViews, ShowTheAxesAsListed)
{
    // Where each view sends +x, +y and +z.
    const struct
    {
        ViewChoice view;
        const char *x, *y, *z;
    } views[] = {
        {ViewChoice::Bottom, "left", "toward", "up"},
        {ViewChoice::Left, "away", "down", "left"},
        {ViewChoice::Front, "left", "down", "toward"},
        {ViewChoice::FreeView, "left", "up", "away"}, // from the start: no turn at all
        {ViewChoice::Top, "right", "away", "up"},
        {ViewChoice::Right, "toward", "down", "right"},
        {ViewChoice::Back, "right", "down", "away"},
    };
    for (const auto& c : views) {
        SCOPED_TRACE(ViewChoiceTexts[static_cast<std::size_t>(c.view)]);
        Matrix4 orientation;
        if (c.view != ViewChoice::FreeView)
            orientation.rotateY(12); // a leftover free turn, which the fixed views discard
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
}

TEST(FixedViews, FreeViewKeepsTheOrientationAndTextsFollowTheChooser)
{
    Matrix4 orientation;
    applyFixedView(ViewChoice::Top, orientation);
    Matrix4 kept = orientation;
    applyFixedView(ViewChoice::FreeView, kept);
    EXPECT_TRUE(std::equal(kept.data(), kept.data() + 16, orientation.data()));

    EXPECT_EQ(viewChoiceFromText("front"), ViewChoice::Front);
    EXPECT_EQ(viewChoiceFromText("FREEVIEW"), ViewChoice::FreeView);
    EXPECT_EQ(viewChoiceFromText("Fr"), std::nullopt);
    EXPECT_EQ(ViewChoiceTexts[static_cast<std::size_t>(ViewChoice::Back)], "Back");
}

// The status bar's coordinates name the ship point that the draw put under the pointer.
TEST(FixedViews, PointerCoordinatesNameTheShipPointDrawnThere)
{
    const shipfile::Vec3 center{2.0f, 3.0f, 4.0f};
    const Point ship{12.5, -30.25, 7.75};
    const struct
    {
        ViewChoice view;
        double zoom;
        const char* text;
    } cases[] = {
        {ViewChoice::Front, 0.1, "X 12.50  Y -30.25"},
        {ViewChoice::Back, 0.1, "X 12.50  Y -30.25"},
        {ViewChoice::Top, 0.1, "X 12.50  Z 7.75"},
        {ViewChoice::Bottom, 0.1, "X 12.50  Z 7.75"},
        {ViewChoice::Left, 0.1, "Z 7.75  Y -30.25"},
        {ViewChoice::Right, 0.1, "Z 7.75  Y -30.25"},
        // Farther out a pixel spans more than a unit: whole units only.
        {ViewChoice::Front, 5.0, "X 12  Y -30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ViewChoiceTexts[static_cast<std::size_t>(c.view)]);
        Matrix4 orientation;
        applyFixedView(c.view, orientation);
        const Matrix4 frame = camera::componentFrame(
            camera::centredFrame(camera::cameraTransform(orientation), center, c.zoom), c.zoom, {});
        const Point shown = camera::transform(frame, ship);
        EXPECT_EQ(camera::pointerCoordinates(orientation, center, {shown.x, shown.y, 0.0}, c.zoom),
                  c.text);
    }
    // A view turned off the axes names no plane.
    Matrix4 turned;
    turned.rotateY(12);
    EXPECT_EQ(camera::pointerCoordinates(turned, center, {1000.0, 800.0, 0.0}, 1.0), "");
}

} // namespace
} // namespace viewer
