#include "viewer/Framing.h"

#include "viewer/ShipView.h"
#include "viewer/ShownFaces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace viewer {

using camera::Point;
using shipfile::Vec3;

double wheelZoom(double zoom, double notches)
{
    const double from = camera::clampZoom(zoom);
    const double to = from * std::pow(WheelZoomStep, -notches);
    // Out no farther than the slider's usual end, or than a wider slider range already went.
    return camera::clampZoom(std::min(to, std::max(from, double{camera::MaxZoom})));
}

Vec3 centreKeeping(const Matrix4& orientation, Vec3 center, Point at, double from, double to)
{
    // A ship point shows at anchor + camera * (point - center) * scale, so keeping it in place
    // moves the centre along the pointer's offset from the anchor.
    const double unitsBefore = 1.0 / camera::shipScale(from);
    const double unitsAfter = 1.0 / camera::shipScale(to);
    const double k = unitsBefore - unitsAfter;
    const Vec3 shift = camera::shipDirection(
        orientation, {(at.x - camera::AnchorX) * k, (at.y - camera::AnchorY) * k, 0.0});
    return {center.x + shift.x, center.y + shift.y, center.z + shift.z};
}

namespace {

struct Box
{
    std::array<double, 3> low{std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::infinity()};
    std::array<double, 3> high{-std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()};

    bool empty() const { return low[0] > high[0]; }
    void add(Vec3 p)
    {
        const std::array<double, 3> v{p.x, p.y, p.z};
        for (std::size_t i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], v[i]);
            high[i] = std::max(high[i], v[i]);
        }
    }
};

// The ship-space box around the faces the draw shows of `component` (-1: of all of them).
Box faceBox(const ShipView& view, const Scene& scene, int component)
{
    Box box;
    const auto components = shownComponents(*scene.file);
    if (!components)
        return box;
    for (const ShownComponent& c : *components) {
        if (component >= 0 ? c.index != component
                           : view.ignoreDest && isDestComponent(*scene.file, c.index))
            continue;
        const FaceReader reader(c);
        for (std::size_t i = 0; i < reader.count(); ++i)
            if (const auto face = reader.face(i))
                for (const Vec3& p : face->corners)
                    box.add({p.x + c.origin.x, p.y + c.origin.y, p.z + c.origin.z});
    }
    return box;
}

} // namespace

std::optional<Framing> fitFraming(const ShipView& view, const Scene& scene, camera::ViewSize size,
                                  ViewRect visible, int component)
{
    if (!scene.file || visible.width <= 0.0 || visible.height <= 0.0)
        return std::nullopt;
    const Box box = faceBox(view, scene, component);
    if (box.empty())
        return std::nullopt;

    // The box's extent on screen per unit of scale, from its eight corners turned by the camera.
    const Matrix4 turn = camera::cameraTransform(view.orientation);
    const Point origin = camera::transform(turn, {0, 0, 0});
    double left = std::numeric_limits<double>::infinity(), right = -left;
    double bottom = left, top = -left;
    for (int corner = 0; corner < 8; ++corner) {
        const Point p = camera::transform(turn, {(corner & 1) ? box.high[0] : box.low[0],
                                                 (corner & 2) ? box.high[1] : box.low[1],
                                                 (corner & 4) ? box.high[2] : box.low[2]});
        left = std::min(left, p.x - origin.x);
        right = std::max(right, p.x - origin.x);
        bottom = std::min(bottom, p.y - origin.y);
        top = std::max(top, p.y - origin.y);
    }

    // A box with no extent on screen keeps the zoom and is only centred.
    constexpr double UnitsPerPixel = camera::VolumeSize / camera::ViewportPixels;
    const double fitX = right - left > 0.0
                            ? FitFill * visible.width * UnitsPerPixel / (right - left)
                            : std::numeric_limits<double>::infinity();
    const double fitY = top - bottom > 0.0
                            ? FitFill * visible.height * UnitsPerPixel / (top - bottom)
                            : std::numeric_limits<double>::infinity();
    const double scale = std::min(fitX, fitY);
    Framing framing;
    framing.zoom = std::isfinite(scale) ? camera::clampZoom(camera::ShipUnits / scale)
                                        : camera::clampZoom(view.zoom);

    // The box's middle goes to the middle of the visible rectangle, not to the anchor.
    const double shownScale = camera::shipScale(framing.zoom);
    const Point middle =
        camera::viewPoint(size, visible.x + visible.width / 2.0, visible.y + visible.height / 2.0);
    const Vec3 offset =
        camera::shipDirection(view.orientation, {(middle.x - camera::AnchorX) / shownScale,
                                                 (middle.y - camera::AnchorY) / shownScale, 0.0});
    const auto mid = [&](std::size_t i) { return (box.low[i] + box.high[i]) / 2.0; };
    framing.center = {static_cast<float>(mid(0) - offset.x), static_cast<float>(mid(1) - offset.y),
                      static_cast<float>(mid(2) - offset.z)};
    return framing;
}

} // namespace viewer
