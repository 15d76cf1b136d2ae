#include "viewer/Picking.h"

#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/viewer/Shapes.h"
#include "viewer/FixedViews.h"
#include "viewer/Framing.h"
#include "viewer/ShipView.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace viewer {
namespace {

using shipfile::Vec3;
using testsupport::Component;

constexpr double PixelsPerViewUnit = 388.0 / 2000.0;
constexpr double PixelsPerUnit = 10.0 * PixelsPerViewUnit; // at zoom 1

// Where the camera puts ship point `p`, in view units.
camera::Point shown(const Matrix4& orientation, Vec3 center, double zoom, Vec3 p)
{
    const Matrix4 frame = camera::componentFrame(
        camera::centredFrame(camera::cameraTransform(orientation), center, zoom), zoom, {});
    return camera::transform(frame, {p.x, p.y, p.z});
}

// Where each fixed view turns a ship point on screen, in ship units: to the right and up.
struct ScreenAxes
{
    ViewChoice view;
    double (*right)(Vec3);
    double (*up)(Vec3);
};
const ScreenAxes Views[] = {
    {ViewChoice::Front, [](Vec3 p) { return -double(p.x); }, [](Vec3 p) { return -double(p.y); }},
    {ViewChoice::Top, [](Vec3 p) { return double(p.x); }, [](Vec3 p) { return double(p.z); }},
    {ViewChoice::Left, [](Vec3 p) { return -double(p.z); }, [](Vec3 p) { return -double(p.y); }},
    {ViewChoice::Back, [](Vec3 p) { return double(p.x); }, [](Vec3 p) { return -double(p.y); }},
};

class Picking : public ::testing::Test
{
protected:
    void load(const testsupport::Ship& ship)
    {
        file = shipfile::ShipFile::fromBytes(testsupport::buildShip(ship), "pick.shp", sink);
        ASSERT_TRUE(file && !file->empty());
    }

    // A hull cube at the origin, a wing cube on a component origin out on +x, and a "dest"
    // cube in front of the hull on +z.
    void loadThreeParts()
    {
        Component hull, wing, dest;
        hull.name = "Hull";
        testsupport::addCuboid(hull, {0, 0, 0}, {40, 40, 40});
        hull.attachments = {{0, {0, 15, 0}}, {2, {0, -15, 0}}};
        wing.name = "Wing";
        wing.origin = {100, 0, 0};
        testsupport::addCuboid(wing, {0, 0, 0}, {20, 20, 20});
        dest.name = "GunDEST";
        testsupport::addCuboid(dest, {0, 0, 100}, {20, 20, 20});
        testsupport::Ship ship;
        ship.components = {hull, wing, dest};
        load(ship);
    }

    void look(ViewChoice choice)
    {
        Matrix4 m;
        applyFixedView(choice, m);
        view.setOrientation(m);
    }

    Pick pick(const ScreenAxes& axes, Vec3 ship, camera::ViewSize size = {}, double dx = 0)
    {
        // The anchor sits in the middle of a larger view, 155.2 pixels up at the default size.
        const double anchorX = size.width / 2.0;
        const double anchorY = size.height - (155.2 + (size.height - 388) / 2.0);
        const double s = PixelsPerUnit / view.zoom;
        return pickAt(view, scene(), size, anchorX + axes.right(ship) * s + dx,
                      anchorY - axes.up(ship) * s);
    }

    Scene scene() { return {file.get(), selectedComponent, selectedAttachment}; }

    testsupport::RecordingSink sink;
    std::unique_ptr<shipfile::ShipFile> file;
    ShipView view;
    int selectedComponent = -1;
    int selectedAttachment = -1;
};

TEST_F(Picking, FacesNameTheirComponentInEveryViewZoomAndSize)
{
    loadThreeParts();
    const Pick hull{0, -1}, wing{1, -1}, dest{2, -1}, nothing{};
    struct Case
    {
        Vec3 point;
        Pick front, top, left, back; // with "dest" components hidden
        Pick destShown;              // the front view with them shown
    };
    const Case cases[] = {
        {{15, 15, 15}, hull, hull, hull, hull, hull},
        // The left view looks along x: the hull hides the wing.
        {{103, -4, 2}, wing, wing, hull, wing, wing},
        // In front of the hull from the front, behind it from the back.
        {{2, 2, 100}, hull, nothing, nothing, hull, dest},
        {{0, -60, 0}, nothing, hull, nothing, nothing, nothing},
    };
    for (const double zoom : {1.0, 2.0, 0.7})
        for (const camera::ViewSize size : {camera::ViewSize{}, camera::ViewSize{776, 600}})
            for (const Case& c : cases)
                for (int v = 0; v < 4; ++v) {
                    view.zoom = zoom;
                    view.ignoreDest = 1;
                    look(Views[v].view);
                    const Pick expected[] = {c.front, c.top, c.left, c.back};
                    const std::string where =
                        "view " + std::to_string(v) + " zoom " + std::to_string(zoom) + " width " +
                        std::to_string(size.width) + " point " + std::to_string(c.point.x);
                    EXPECT_EQ(pick(Views[v], c.point, size), expected[v]) << where;
                    if (v == 0) {
                        view.ignoreDest = 0;
                        EXPECT_EQ(pick(Views[v], c.point, size), c.destShown) << where;
                    }
                }
}

TEST_F(Picking, FollowsTheCentreOfTheSelection)
{
    loadThreeParts();
    // Centred on the selected wing, its origin is at the anchor.
    selectedComponent = 1;
    look(ViewChoice::Front);
    EXPECT_EQ(pickAt(view, scene(), {}, 194, 232.8), (Pick{1, -1}));
    view.centerOnObject = 0;
    view.center = {0, 0, 0};
    EXPECT_EQ(pickAt(view, scene(), {}, 194, 232.8), (Pick{0, -1}));
}

TEST_F(Picking, MarkersComeFirstAndOnlyWhereTheyAreDrawn)
{
    loadThreeParts();
    look(ViewChoice::Front);
    const Vec3 upper{0, 15, 0}, lower{0, -15, 0};
    // No attachment selected: no markers, the hull's face is found.
    selectedComponent = 0;
    EXPECT_EQ(pick(Views[0], upper), (Pick{0, -1}));
    selectedAttachment = 0;
    for (const double zoom : {1.0, 3.0}) {
        view.zoom = zoom;
        EXPECT_EQ(pick(Views[0], upper), (Pick{0, 0}));
        EXPECT_EQ(pick(Views[0], lower), (Pick{0, 1}));
    }
    // Markers keep 60 view units (11.6 pixels) across at any zoom: 5 pixels off still hits,
    // 7 pixels off misses and finds the hull.
    EXPECT_EQ(pick(Views[0], lower, {}, 5), (Pick{0, 1}));
    EXPECT_EQ(pick(Views[0], lower, {}, -7), (Pick{0, -1}));
    // Markers belong to the selected component only.
    selectedComponent = 1;
    view.centerOnObject = 0;
    EXPECT_EQ(pick(Views[0], upper), (Pick{0, -1}));
}

TEST_F(Picking, CulledFacesAndBrokenShipsAreNotFound)
{
    for (const std::uint32_t cull : {0u, 3u}) {
        Component c;
        viewertest::addRectangle(c, -20, -20, 20, 20);
        for (testsupport::Face& f : c.faces)
            f.cull = cull;
        testsupport::Ship ship;
        ship.components = {c};
        load(ship);
        look(ViewChoice::Front);
        const Pick fromFront = pick(Views[0], {0, 0, 0});
        look(ViewChoice::Back);
        const Pick fromBack = pick(Views[3], {0, 0, 0});
        EXPECT_EQ(fromFront.empty(), cull != 3u) << cull;
        EXPECT_EQ(fromBack.empty(), cull == 3u) << cull;
    }

    // A component without a face block abandons the draw; nothing is picked.
    Component broken;
    testsupport::addCuboid(broken, {0, 0, 0}, {40, 40, 40});
    broken.withFaceBlock = false;
    testsupport::Ship ship;
    ship.components = {broken};
    load(ship);
    EXPECT_EQ(pick(Views[0], {0, 0, 0}), Pick{});
    EXPECT_EQ(pickAt(view, {}, {}, 194, 232), Pick{});
}

TEST_F(Picking, FitFramesTheShipOrTheSelectionWithAMargin)
{
    loadThreeParts();
    for (const ScreenAxes& axes : Views)
        for (const int target : {-1, 0, 1}) {
            look(axes.view);
            view.zoom = 1;
            view.center = {};
            view.centerOnObject = 0;
            selectedComponent = target;
            const ViewRect visible{0, 61, 387, 327};
            const auto framing = fitFraming(view, scene(), {}, visible, target);
            ASSERT_TRUE(framing);
            view.zoom = framing->zoom;
            view.center = framing->center;
            // Hull -20..20, wing 90..110 on x; the dest cube is hidden and left out.
            const Vec3 low = target == 1 ? Vec3{90, -10, -10} : Vec3{-20, -20, -20};
            const Vec3 high = target == 0   ? Vec3{20, 20, 20}
                              : target == 1 ? Vec3{110, 10, 10}
                                            : Vec3{110, 20, 20};
            double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
            for (int k = 0; k < 8; ++k) {
                const Vec3 corner{(k & 1) ? high.x : low.x, (k & 2) ? high.y : low.y,
                                  (k & 4) ? high.z : low.z};
                const camera::Point q = shown(view.orientation, view.center, view.zoom, corner);
                const double x = q.x * PixelsPerViewUnit, y = 388.0 - q.y * PixelsPerViewUnit;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
            const std::string where = "view " + std::to_string(static_cast<int>(axes.view)) +
                                      " target " + std::to_string(target);
            EXPECT_GT(left, visible.x + 10) << where;
            EXPECT_LT(right, visible.x + visible.width - 10) << where;
            EXPECT_GT(top, visible.y + 10) << where;
            EXPECT_LT(bottom, visible.y + visible.height - 10) << where;
            // Most of the view on the tighter axis, centred.
            EXPECT_GT(std::max((right - left) / visible.width, (bottom - top) / visible.height),
                      0.85)
                << where;
            EXPECT_NEAR((left + right) / 2, visible.x + visible.width / 2, 1.0) << where;
            EXPECT_NEAR((top + bottom) / 2, visible.y + visible.height / 2, 1.0) << where;
        }

    // A tiny ship is fitted closer than the slider goes; no faces, no fit.
    Component speck;
    testsupport::addCuboid(speck, {0, 0, 0}, {0.5f, 0.5f, 0.5f});
    testsupport::Ship small;
    small.components = {speck};
    load(small);
    const auto close = fitFraming(view, scene(), {}, {}, -1);
    ASSERT_TRUE(close);
    EXPECT_LT(close->zoom, 0.05);
    EXPECT_GE(close->zoom, camera::ClosestZoom);
    speck.faces.clear();
    small.components = {speck};
    load(small);
    EXPECT_FALSE(fitFraming(view, scene(), {}, {}, -1));
}

TEST(WheelZoom, EvenStepsWithinRangeKeepingThePointerStill)
{
    EXPECT_NEAR(wheelZoom(10, 1), 10 / 1.1, 1e-12);
    EXPECT_NEAR(wheelZoom(10, -2), 10 * 1.21, 1e-12);
    EXPECT_NEAR(wheelZoom(wheelZoom(7, 3), -3), 7, 1e-12);
    EXPECT_NEAR(wheelZoom(4, 0.5), 4 / std::sqrt(1.1), 1e-12); // a smooth wheel's part notch
    EXPECT_EQ(wheelZoom(camera::ClosestZoom, 5), camera::ClosestZoom);
    EXPECT_EQ(wheelZoom(480, -5), 500);
    EXPECT_EQ(wheelZoom(1000, -1), 1000);
    EXPECT_NEAR(wheelZoom(1000, 1), 1000 / 1.1, 1e-9);

    // The ship point under the pointer stays under it, whatever the orientation.
    Matrix4 turned;
    turned.rotateX(25);
    turned.rotateY(-40);
    const Vec3 center{12, -3, 40}, ship{130, -70, 25};
    for (const double notches : {1.0, -3.0}) {
        const camera::Point pointer = shown(turned, center, 5, ship);
        const double after = wheelZoom(5, notches);
        const camera::Point moved =
            shown(turned, centreKeeping(turned, center, pointer, 5, after), after, ship);
        EXPECT_NEAR(moved.x, pointer.x, 1e-2) << notches;
        EXPECT_NEAR(moved.y, pointer.y, 1e-2) << notches;
    }
}

} // namespace
} // namespace viewer
