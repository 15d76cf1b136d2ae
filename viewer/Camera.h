#pragma once

#include "shipfile/Bytes.h"
#include "viewer/Matrix4.h"

#include <limits>
#include <string>

// The camera of the ship view, without OpenGL: the view volume, the anchor point and the
// model-view frames that every draw loads. Mouse handling uses the same arithmetic.
namespace viewer::camera {

/// The square viewport in pixels and the orthographic volume it shows, 0..2000 on x and y.
inline constexpr int ViewportPixels = 388;
inline constexpr double VolumeSize = 2000.0;
/// Depth range as given to glOrtho: near first, then far, so a smaller eye z is nearer.
inline constexpr double NearPlane = 10000.0;
inline constexpr double FarPlane = -10000.0;
/// Where `center` lands: horizontally centred, 200 units below the middle, deep inside.
inline constexpr double AnchorX = 1000.0;
inline constexpr double AnchorY = 800.0;
inline constexpr double AnchorZ = -7000.0;
/// Zoom divisors the slider starts with; ship units are drawn at ShipUnits / zoom view units.
/// The zoom-range field can move the slider's far end past MaxZoom.
inline constexpr int MinZoom = 1;
inline constexpr int MaxZoom = 500;
/// The wheel and fitting go closer than the slider, for small ships.
inline constexpr double ClosestZoom = 0.01;
/// The farthest any slider range reaches.
inline constexpr double FarthestZoom = std::numeric_limits<int>::max();
inline constexpr double ShipUnits = 10.0;

/// `zoom` kept to ClosestZoom..FarthestZoom, so a stray value never divides by zero.
double clampZoom(double zoom);

/// The zoom slider's positions, 0 (MinZoom) to SliderSteps (the zoom range's far end). The
/// scale is logarithmic: each step multiplies the zoom by the same factor, so the close zooms
/// where modders work get as much of the track as the far ones.
inline constexpr int SliderSteps = 1000;
double sliderZoom(int position, double farthest);
/// The position showing `zoom`, kept to the track.
int sliderPosition(double zoom, double farthest);
/// View units per ship unit.
double shipScale(double zoom);

/// The size of a view in logical pixels. Every size shows ViewportPixels / VolumeSize pixels
/// per view unit: a larger view shows more around the anchor, not a larger ship.
struct ViewSize
{
    int width = ViewportPixels;
    int height = ViewportPixels;
};

/// The part of the view volume a view of `size` shows: 0..VolumeSize on both axes at the
/// default size, growing evenly on both sides.
struct VolumeRect
{
    double left = 0.0;
    double right = VolumeSize;
    double bottom = 0.0;
    double top = VolumeSize;
};
VolumeRect shownVolume(ViewSize size);

/// Identity, then the anchor, the left-right mirror and the orientation.
Matrix4 cameraTransform(const Matrix4& orientation);
/// The camera moved so that ship point `center` lands on the anchor. Attachment markers are
/// drawn in this frame, before the zoom scale, so they keep one size on screen.
Matrix4 centredFrame(const Matrix4& camera, shipfile::Vec3 center, double zoom);
/// A component's own frame: the centred frame scaled by the zoom and moved to `origin`.
Matrix4 componentFrame(const Matrix4& centred, double zoom, shipfile::Vec3 origin);

struct Point
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

/// `m` applied to the point (x, y, z, 1).
Point transform(const Matrix4& m, Point p);

/// The view-volume point (z 0) under (x, y) of a view of `size`, in logical pixels from its
/// top-left corner, as mouse positions come.
Point viewPoint(ViewSize size, double x, double y);
/// The ship-space direction that the camera turns into the view-space direction `v`: the
/// inverse of the mirror and the orientation.
shipfile::Vec3 shipDirection(const Matrix4& orientation, Point v);

/// The ship coordinates under view point `at` when the view looks straight along a ship axis
/// (the fixed views), ship point `center` on the anchor at `zoom`: the axis across the view,
/// then the axis up it, with as many decimals as a pixel tells apart ("X 12.5  Y -3.0").
/// Empty when the view is turned off the axes: the pointer then names no plane of the ship.
std::string pointerCoordinates(const Matrix4& orientation, shipfile::Vec3 center, Point at,
                               double zoom);

} // namespace viewer::camera
