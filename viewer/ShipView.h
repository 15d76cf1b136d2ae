#pragma once

#include "shipfile/Bytes.h"
#include "viewer/Camera.h"
#include "viewer/DestComponent.h"
#include "viewer/Matrix4.h"
#include "viewer/Scene.h"

#include <atomic>

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
    virtual ~ShipView();
    ShipView(const ShipView&) = delete;
    ShipView& operator=(const ShipView&) = delete;

    /// The colour every frame starts from.
    static constexpr float BackgroundGrey = 0.7f;

    /// Sets up the current context: the square viewport at its lower-left corner, texturing,
    /// blending, depth test, the grey clear colour and the projection.
    void initialiseGl(int viewportPixels = camera::ViewportPixels);

    void setOrientation(const Matrix4& m);

    /// Draws the whole scene into the current framebuffer. False when there is no file, or
    /// when a component without face or vertex block abandons the frame after one message;
    /// the caller must not show an abandoned frame. Writes `center` (when centring on the
    /// selected component) and `textureMap` (when a texture fails).
    bool draw(const Scene& scene, TextureCache& textures, shipfile::MessageSink& sink);

    Matrix4 orientation;
    shipfile::Vec3 center;
    /// Zoom divisor 1..500, written by the zoom slider from another thread.
    std::atomic<int> zoom{1};
    int textureMap = 1;
    int highQualityTextures = 1;
    int markSelected = 0;
    int centerOnObject = 1;
    int ignoreDest = 1;
    int showBoxes = 1;
};

} // namespace viewer
