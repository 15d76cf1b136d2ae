#include "viewer/OffscreenRenderer.h"

#include "viewer/MessageQueue.h"
#include "viewer/ShipView.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

#include <GL/gl.h>

namespace viewer {

namespace {
QSurfaceFormat fixedFunctionFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(16);
    return format;
}
} // namespace

OffscreenRenderer::OffscreenRenderer(int size)
    : m_size(size), m_surface(std::make_unique<QOffscreenSurface>()),
      m_context(std::make_unique<QOpenGLContext>())
{
    const QSurfaceFormat format = fixedFunctionFormat();
    m_surface->setFormat(format);
    m_surface->create();
    m_context->setFormat(format);
    if (!m_surface->isValid() || !m_context->create() || !m_context->makeCurrent(m_surface.get()))
        return;
    m_frame =
        std::make_unique<QOpenGLFramebufferObject>(m_size, m_size, QOpenGLFramebufferObject::Depth);
    if (!m_frame->isValid())
        m_frame.reset();
    m_context->doneCurrent();
}

OffscreenRenderer::~OffscreenRenderer()
{
    // The framebuffer must go while its context is current.
    if (m_frame && m_context->makeCurrent(m_surface.get())) {
        m_frame.reset();
        m_context->doneCurrent();
    }
}

bool OffscreenRenderer::makeCurrent()
{
    return isValid() && m_context->makeCurrent(m_surface.get()) && m_frame->bind();
}

void OffscreenRenderer::doneCurrent()
{
    if (!isValid())
        return;
    m_frame->release();
    m_context->doneCurrent();
}

bool OffscreenRenderer::render(ShipView& view, const Scene& scene, TextureCache& textures,
                               shipfile::MessageSink& sink)
{
    if (!makeCurrent())
        return false;
    MessageQueue messages;
    view.initialiseGl({m_size, m_size});
    const bool complete = view.draw(scene, textures, messages);
    if (complete) {
        glFinish();
        m_image = m_frame->toImage().convertToFormat(QImage::Format_RGB32);
    }
    doneCurrent();
    messages.deliverTo(sink);
    return complete;
}

} // namespace viewer
