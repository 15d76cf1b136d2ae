#pragma once

#include "shipfile/Bytes.h"
#include "viewer/Camera.h"
#include "viewer/Scene.h"

#include <optional>

namespace viewer {

class ShipView;

/// Each notch of the wheel divides or multiplies the zoom by this, so steps feel even.
inline constexpr double WheelZoomStep = 1.1;
/// The share of the view a fitted object's box fills on its tighter axis.
inline constexpr double FitFill = 0.9;

/// The zoom after turning the wheel `notches` (positive: away from the user, closer), held
/// to camera::ClosestZoom..MaxZoom, or to the zoom itself where a wider slider range took it
/// farther out.
double wheelZoom(double zoom, double notches);

/// The centre that keeps the ship point under view point `at` where it is on screen when the
/// zoom goes from `from` to `to`.
shipfile::Vec3 centreKeeping(const Matrix4& orientation, shipfile::Vec3 center, camera::Point at,
                             double from, double to);

/// A rectangle of a view in logical pixels from its top-left corner.
struct ViewRect
{
    double x = 0.0;
    double y = 0.0;
    double width = camera::ViewportPixels;
    double height = camera::ViewportPixels;
};

/// Zoom and centre that show an object whole.
struct Framing
{
    double zoom = 1.0;
    shipfile::Vec3 center;
};

/// The zoom and centre that put the bounding box of `component`'s faces (-1: of every face
/// the draw shows) in the middle of `visible`, filling FitFill of it on its tighter axis, in
/// the view's current orientation. Nothing when there is no face to fit.
std::optional<Framing> fitFraming(const ShipView& view, const Scene& scene, camera::ViewSize size,
                                  ViewRect visible, int component);

} // namespace viewer
