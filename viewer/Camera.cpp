#include "viewer/Camera.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

namespace viewer::camera {

double clampZoom(double zoom)
{
    if (!(zoom >= ClosestZoom)) // also NaN
        return ClosestZoom;
    return std::min(zoom, FarthestZoom);
}

double sliderZoom(int position, double farthest)
{
    if (farthest <= MinZoom)
        return MinZoom;
    const double t = std::clamp(position, 0, SliderSteps) / static_cast<double>(SliderSteps);
    return MinZoom * std::pow(farthest / MinZoom, t);
}

int sliderPosition(double zoom, double farthest)
{
    if (farthest <= MinZoom || !(zoom > MinZoom))
        return 0;
    const double t = std::log(zoom / MinZoom) / std::log(farthest / MinZoom);
    return static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * SliderSteps));
}

double shipScale(double zoom)
{
    return ShipUnits / clampZoom(zoom);
}

VolumeRect shownVolume(ViewSize size)
{
    const double extraX = (size.width - ViewportPixels) * VolumeSize / ViewportPixels / 2.0;
    const double extraY = (size.height - ViewportPixels) * VolumeSize / ViewportPixels / 2.0;
    return {-extraX, VolumeSize + extraX, -extraY, VolumeSize + extraY};
}

Matrix4 cameraTransform(const Matrix4& orientation)
{
    Matrix4 m;
    m.translate(AnchorX, AnchorY, AnchorZ);
    m.scale(-1.0, 1.0, 1.0);
    m.multiply(orientation);
    return m;
}

Matrix4 centredFrame(const Matrix4& camera, shipfile::Vec3 center, double zoom)
{
    // Each offset is rounded to single precision, as the game's own viewer passes it.
    const double divisor = clampZoom(zoom);
    const auto offset = [divisor](float c) {
        return static_cast<double>(static_cast<float>(c * -ShipUnits / divisor));
    };
    Matrix4 m = camera;
    m.translate(offset(center.x), offset(center.y), offset(center.z));
    return m;
}

Matrix4 componentFrame(const Matrix4& centred, double zoom, shipfile::Vec3 origin)
{
    const double s = shipScale(zoom);
    Matrix4 m = centred;
    m.scale(s, s, s);
    m.translate(origin.x, origin.y, origin.z);
    return m;
}

Point transform(const Matrix4& m, Point p)
{
    return {m.at(0, 0) * p.x + m.at(0, 1) * p.y + m.at(0, 2) * p.z + m.at(0, 3),
            m.at(1, 0) * p.x + m.at(1, 1) * p.y + m.at(1, 2) * p.z + m.at(1, 3),
            m.at(2, 0) * p.x + m.at(2, 1) * p.y + m.at(2, 2) * p.z + m.at(2, 3)};
}

Point viewPoint(ViewSize size, double x, double y)
{
    const VolumeRect shown = shownVolume(size);
    constexpr double UnitsPerPixel = VolumeSize / ViewportPixels;
    return {shown.left + x * UnitsPerPixel, shown.top - y * UnitsPerPixel, 0.0};
}

shipfile::Vec3 shipDirection(const Matrix4& orientation, Point v)
{
    // The camera's turn is orthonormal (a mirror times rotations): its inverse is its transpose.
    const Matrix4 m = cameraTransform(orientation);
    const auto column = [&](int c) {
        return static_cast<float>(m.at(0, c) * v.x + m.at(1, c) * v.y + m.at(2, c) * v.z);
    };
    return {column(0), column(1), column(2)};
}

std::string pointerCoordinates(const Matrix4& orientation, shipfile::Vec3 center, Point at,
                               double zoom)
{
    // The axis a view direction runs along, or nothing when it runs between axes.
    const auto axisOf = [&](Point v) -> std::optional<int> {
        const shipfile::Vec3 d = shipDirection(orientation, v);
        const std::array<double, 3> parts = {std::abs(d.x), std::abs(d.y), std::abs(d.z)};
        const auto largest = std::max_element(parts.begin(), parts.end());
        if (*largest < 0.9999)
            return std::nullopt;
        return static_cast<int>(largest - parts.begin());
    };
    const std::optional<int> across = axisOf({1.0, 0.0, 0.0});
    const std::optional<int> up = axisOf({0.0, 1.0, 0.0});
    if (!across || !up)
        return {};

    // A ship point shows at anchor + camera * (point - center) * scale: undo that on the screen.
    const double scale = shipScale(zoom);
    const shipfile::Vec3 offset =
        shipDirection(orientation, {(at.x - AnchorX) / scale, (at.y - AnchorY) / scale, 0.0});
    const std::array<double, 3> point = {double(center.x) + offset.x, double(center.y) + offset.y,
                                         double(center.z) + offset.z};
    const double unitsPerPixel = VolumeSize / ViewportPixels / scale;
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(unitsPerPixel))), 0, 4);
    const auto coordinate = [&](int axis) {
        std::array<char, 64> text{};
        // +0.0 turns the -0.0 of a point just left of an axis into 0.
        std::snprintf(text.data(), text.size(), "%c %.*f", "XYZ"[axis], decimals,
                      point[static_cast<std::size_t>(axis)] + 0.0);
        return std::string(text.data());
    };
    return coordinate(*across) + "  " + coordinate(*up);
}

} // namespace viewer::camera
