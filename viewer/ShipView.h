#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/Catalogue.h"
#include "viewer/Camera.h"
#include "viewer/Matrix4.h"
#include "viewer/Scene.h"

#include <string>

namespace shipfile {
class MessageSink;
class ShipFile;
} // namespace shipfile

namespace viewer {

class TextureCache;

/// The camera and display flags of the ship view, and the one routine that draws the ship. It
/// draws with OpenGL 1.1 into whatever context is current, so the main window's widget and
/// the offscreen renderer share it. The fields are public: the mouse and the check boxes of
/// the main window change them directly.
class ShipView
{
public:
    ShipView() = default;
    ShipView(const ShipView&) = delete;
    ShipView& operator=(const ShipView&) = delete;

    /// The colour every frame starts from.
    static constexpr float BackgroundGrey = 0.7f;
    /// Attachment markers are cubes this many view units out from their point on each axis.
    static constexpr float MarkerHalfSize = 30.0f;

    /// Sets up the current context for a view of `size` logical pixels drawn at `pixelRatio`
    /// device pixels each: the viewport at its lower-left corner, texturing, blending, depth
    /// test, the grey clear colour, the projection and a line width that looks the same at
    /// every ratio.
    void initialiseGl(camera::ViewSize size = {}, double pixelRatio = 1.0);

    void setOrientation(const Matrix4& m);

    /// Draws the whole scene into the current framebuffer. False when there is no file, or
    /// when a component without face or vertex block abandons the frame after one message;
    /// the caller must not show an abandoned frame. Writes `center` (when centring on the
    /// selected component) and `textureMap` (when a texture fails).
    bool draw(const Scene& scene, TextureCache& textures, shipfile::MessageSink& sink);

    /// The ship point the next draw of `scene` puts on the anchor: the selected component's
    /// origin while centring on it, else `center`.
    shipfile::Vec3 shownCenter(const Scene& scene) const;
    /// Whether the draw of `scene` centres on the selected component, whatever `center` says.
    bool centresOnSelection(const Scene& scene) const;

    Matrix4 orientation;
    shipfile::Vec3 center;
    /// Zoom divisor: the slider's position (1..500 unless the zoom-range field widened it), or
    /// finer from the wheel and fitting (down to camera::ClosestZoom).
    double zoom = 1.0;
    bool textureMap = true;
    bool highQualityTextures = true;
    bool markSelected = false;
    bool centerOnObject = true;
    bool ignoreDest = true;
    bool showBoxes = true;
    /// Faces whose texture has this name (ignoring case) are tinted; empty: none. The texture
    /// browser sets it.
    std::string highlightedTexture;
    /// Engine flames and blinking lights glow in their colours, and guns, gun objects and
    /// missile mounts show as small shapes instead of cubes.
    bool preview = false;
};

/// Components named "...dest" are left out of the picture while `ignoreDest` is set.
using shipfile::isDestComponent;

} // namespace viewer
