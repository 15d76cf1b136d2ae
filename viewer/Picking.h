#pragma once

#include "viewer/Camera.h"
#include "viewer/Scene.h"

namespace viewer {

class ShipView;

/// What lies under a point of the view: an attachment marker of the selected component, a
/// component's face, or nothing (both -1).
struct Pick
{
    int component = -1;
    /// Set only for a marker; `component` is then the selected component.
    int attachment = -1;

    bool empty() const { return component < 0; }
    friend bool operator==(const Pick&, const Pick&) = default;
};

/// What the picture of `scene` shows at (x, y) of a view of `size`, in logical pixels from its
/// top-left corner: a marker first, else the component of the nearest face. It follows the
/// draw: the same camera and centring, faces hidden by culling, by the "dest" filter or beyond
/// the depth range are not found, and markers only where the draw shows them. A ship whose
/// frame the draw would abandon gives nothing.
Pick pickAt(const ShipView& view, const Scene& scene, camera::ViewSize size, double x, double y);

} // namespace viewer
