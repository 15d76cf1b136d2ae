#pragma once

#include "viewer/Camera.h"
#include "viewer/Scene.h"

#include <QImage>

#include <memory>

namespace shipfile {
class MessageSink;
}

namespace viewer {

class ShipView;
class TextureCache;
struct EglTarget;

/// Draws the ship view without a window: its own GL context on a square off-screen surface,
/// for `korvex-shp render` and the drawing tests. The context comes from EGL (Mesa's
/// surfaceless platform, else the first GPU device, else the default display), so no X or
/// Wayland display is needed; Qt serves only for the picture.
class OffscreenRenderer
{
public:
    explicit OffscreenRenderer(int size = camera::ViewportPixels);
    ~OffscreenRenderer();
    OffscreenRenderer(const OffscreenRenderer&) = delete;
    OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

    /// False when no context or surface could be had.
    bool isValid() const { return m_target != nullptr; }

    /// Draws the scene with ShipView::draw. A complete frame becomes image(); an abandoned one
    /// leaves the previous image. Messages reach `sink` after the context is released.
    bool render(ShipView& view, const Scene& scene, TextureCache& textures,
                shipfile::MessageSink& sink);

    /// The last complete frame, top row first, opaque.
    const QImage& image() const { return m_image; }

    /// For work that needs the context current outside a render (texture uploads in tests and
    /// benchmarks).
    bool makeCurrent();
    void doneCurrent();

private:
    int m_size;
    std::unique_ptr<EglTarget> m_target;
    QImage m_image;
};

} // namespace viewer
