#include "viewer/Picking.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"
#include "viewer/AnimationPose.h"
#include "viewer/ShipView.h"
#include "viewer/ShownFaces.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace viewer {

namespace lay = shipfile::layout;
using camera::Point;

namespace {

// Depth along the view's z of the first point of an axis-aligned marker cube that the line of
// sight through `at` meets, or nothing. The cube lies along the centred frame's own axes.
std::optional<double> markerDepth(const Matrix4& centred, Point centre, Point at)
{
    constexpr double Half = ShipView::MarkerHalfSize;
    double nearest = camera::FarPlane;
    double farthest = camera::NearPlane;
    for (int axis = 0; axis < 3; ++axis) {
        const Point a{centred.at(0, axis), centred.at(1, axis), centred.at(2, axis)};
        const double length2 = a.x * a.x + a.y * a.y + a.z * a.z;
        // The cube coordinate along this axis at depth t is (offset + a.z * t) / length2.
        const double offset = a.x * (at.x - centre.x) + a.y * (at.y - centre.y) - a.z * centre.z;
        const double limit = Half * length2;
        if (std::abs(a.z) < 1e-12) {
            if (std::abs(offset) > limit)
                return std::nullopt;
            continue;
        }
        const double t1 = (-limit - offset) / a.z;
        const double t2 = (limit - offset) / a.z;
        nearest = std::max(nearest, std::min(t1, t2));
        farthest = std::min(farthest, std::max(t1, t2));
    }
    if (nearest > farthest)
        return std::nullopt;
    return nearest;
}

std::optional<int> markerAt(const Matrix4& centred, double zoom, const ShownComponent& selected,
                            const Matrix4& pose, Point at)
{
    if (!selected.attachments)
        return std::nullopt;
    const shipfile::ShipBlock& block = *selected.attachments;
    const double scale = camera::shipScale(zoom);
    std::optional<int> hit;
    double hitDepth = 0.0;
    for (std::size_t j = 0; j < block.count(); ++j) {
        const shipfile::Bytes record = block.record(j);
        const auto stored = shipfile::readVec3(record, lay::attachment::Position);
        if (!shipfile::readI32(record, lay::attachment::Kind) || !stored)
            continue;
        const Point posed = camera::transform(pose, {stored->x, stored->y, stored->z});
        const shipfile::Vec3 position{static_cast<float>(posed.x), static_cast<float>(posed.y),
                                      static_cast<float>(posed.z)};
        // The marker's point as the draw rounds it, in the centred frame.
        const auto coordinate = [scale](float p, float o) {
            return static_cast<double>(static_cast<float>((p + o) * scale));
        };
        const Point p{coordinate(position.x, selected.origin.x),
                      coordinate(position.y, selected.origin.y),
                      coordinate(position.z, selected.origin.z)};
        const auto depth = markerDepth(centred, camera::transform(centred, p), at);
        if (depth && (!hit || *depth < hitDepth)) {
            hit = static_cast<int>(j);
            hitDepth = *depth;
        }
    }
    return hit;
}

double edge(const Point& a, const Point& b, const Point& p)
{
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// Depth of a face at `at`, or nothing when `at` is outside it or the draw culls it.
std::optional<double> faceDepth(const Point& a, const Point& b, const Point& c, Culling culling,
                                const Point& at)
{
    if (at.x < std::min({a.x, b.x, c.x}) || at.x > std::max({a.x, b.x, c.x}) ||
        at.y < std::min({a.y, b.y, c.y}) || at.y > std::max({a.y, b.y, c.y}))
        return std::nullopt;
    // Counter-clockwise on screen is the front: the projection keeps the winding of view x, y.
    const double area = edge(a, b, c);
    if (area == 0.0)
        return std::nullopt;
    const bool front = area > 0.0;
    if ((culling == Culling::Back && !front) || (culling == Culling::Front && front))
        return std::nullopt;
    const double wa = edge(b, c, at) / area;
    const double wb = edge(c, a, at) / area;
    const double wc = edge(a, b, at) / area;
    if (wa < 0.0 || wb < 0.0 || wc < 0.0)
        return std::nullopt;
    return wa * a.z + wb * b.z + wc * c.z;
}

// Where a playing animation has moved the component, as the draw poses it.
Matrix4 posing(const Scene& scene, const ShownComponent& component)
{
    const auto pose =
        scene.playbackMs ? editing::componentPose(component, *scene.playbackMs) : std::nullopt;
    return pose ? poseMatrix(*pose) : Matrix4{};
}

} // namespace

Pick pickAt(const ShipView& view, const Scene& scene, camera::ViewSize size, double x, double y)
{
    if (!scene.file)
        return {};
    const auto components = shownComponents(*scene.file);
    if (!components)
        return {};
    const double zoom = camera::clampZoom(view.zoom);
    const Matrix4 centred = camera::centredFrame(camera::cameraTransform(view.orientation),
                                                 view.shownCenter(scene), zoom);
    const Point at = camera::viewPoint(size, x, y);

    const int count = static_cast<int>(components->size());
    const int selected = scene.selectedComponent >= 0 && scene.selectedComponent < count
                             ? scene.selectedComponent
                             : -1;
    if (selected >= 0 && scene.selectedAttachment >= 0) {
        const ShownComponent& shown = (*components)[static_cast<std::size_t>(selected)];
        if (const auto marker = markerAt(centred, zoom, shown, posing(scene, shown), at))
            return {selected, *marker};
    }

    // The depth test keeps the first of equally near faces, in draw order.
    Pick best;
    double bestDepth = std::numeric_limits<double>::infinity();
    std::vector<Point> points;
    for (const ShownComponent& component : *components) {
        if (view.ignoreDest && isDestComponent(*scene.file, component.index))
            continue;
        Matrix4 frame = camera::componentFrame(centred, zoom, component.origin);
        frame.multiply(posing(scene, component));
        const FaceReader reader(component);
        points.resize(reader.vertexCount());
        for (std::size_t v = 0; v < points.size(); ++v) {
            const shipfile::Vec3 p = reader.vertex(v);
            points[v] = camera::transform(frame, {p.x, p.y, p.z});
        }
        for (std::size_t i = 0; i < reader.count(); ++i) {
            const auto face = reader.face(i);
            if (!face)
                continue;
            const auto depth = faceDepth(points[face->vertices[0]], points[face->vertices[1]],
                                         points[face->vertices[2]], face->culling, at);
            // Beyond the projection's depth range nothing is drawn.
            if (depth && std::abs(*depth) <= camera::NearPlane && *depth < bestDepth) {
                best = {component.index, -1};
                bestDepth = *depth;
            }
        }
    }
    return best;
}

} // namespace viewer
