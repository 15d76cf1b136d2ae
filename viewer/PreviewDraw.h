#pragma once

#include "viewer/Matrix4.h"

#include <vector>

namespace shipfile {
class ShipBlock;
}

namespace viewer {

/// One drawn component's attachments as the preview shows them, in the frame its faces were
/// drawn in (turned and moved by its animation, if it plays).
struct PreviewComponent
{
    const shipfile::ShipBlock* attachments = nullptr;
    Matrix4 frame;
    /// The attachment shown as selected, -1 for none.
    int selectedAttachment = -1;
};

/// Draws, after every face, what the preview adds: guns, gun objects and missile mounts as
/// small shaped markers (barrel, pod, rail) along their orientation, at one size on screen
/// like the plain markers; then engine flames as glowing cones and blinking lights, while lit
/// at `blinkMs`, as glowing points, both in their colours and sized by their size values.
/// Glows are blended over the picture without hiding each other. Leaves texturing on and depth
/// writes on.
void drawPreview(const std::vector<PreviewComponent>& components, double zoom, double blinkMs);

} // namespace viewer
