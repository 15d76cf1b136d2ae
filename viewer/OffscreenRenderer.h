#pragma once

#include "viewer/Camera.h"
#include "viewer/Scene.h"

#include <QImage>

#include <memory>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

namespace shipfile {
class MessageSink;
}

namespace viewer {

class ShipView;
class TextureCache;

/// Draws the ship view without a window: its own GL context and a square framebuffer, for
/// `korvex-shp render` and the drawing tests. Needs a QGuiApplication on a platform with
/// OpenGL (under X, or Xvfb).
class OffscreenRenderer
{
public:
    explicit OffscreenRenderer(int size = camera::ViewportPixels);
    ~OffscreenRenderer();
    OffscreenRenderer(const OffscreenRenderer&) = delete;
    OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

    /// False when no context or framebuffer could be had.
    bool isValid() const { return m_frame != nullptr; }

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
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_frame;
    QImage m_image;
};

} // namespace viewer
