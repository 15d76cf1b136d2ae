#include "viewer/ShipViewWidget.h"

#include "shipfile/ShipFile.h"
#include "viewer/Camera.h"
#include "viewer/MessageQueue.h"
#include "viewer/ShipView.h"
#include "viewer/TextureCache.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

#include <GL/gl.h>
#include <cmath>
#include <utility>

namespace viewer {

ShipViewWidget::ShipViewWidget(ShipView& view, TextureCache& textures, shipfile::MessageSink& sink,
                               QWidget* parent)
    : QOpenGLWidget(parent), m_view(view), m_textures(textures), m_sink(sink)
{
    resize(camera::ViewportPixels, camera::ViewportPixels);
    // The owner gives it the focus on a click, for the keys that act on the view alone.
    setFocusPolicy(Qt::ClickFocus);
}

ShipViewWidget::~ShipViewWidget()
{
    // The framebuffers belong to the widget's context.
    makeCurrent();
    m_drawFrame.reset();
    m_shownFrame.reset();
    doneCurrent();
}

void ShipViewWidget::setSceneProvider(std::function<Scene()> provider)
{
    m_sceneProvider = std::move(provider);
}

void ShipViewWidget::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        m_drawFrame.reset();
        m_shownFrame.reset();
        m_hasFrame = false;
        doneCurrent();
    });
    // The first picture is drawn outside the paint, where messages may be shown.
    QMetaObject::invokeMethod(this, &ShipViewWidget::redraw, Qt::QueuedConnection);
}

namespace {
// The view in device pixels.
QSize framePixels(const QWidget& widget)
{
    const double ratio = widget.devicePixelRatioF();
    return {static_cast<int>(std::lround(widget.width() * ratio)),
            static_cast<int>(std::lround(widget.height() * ratio))};
}
} // namespace

camera::ViewSize ShipViewWidget::viewSize() const
{
    return {width(), height()};
}

bool ShipViewWidget::ensureFrames()
{
    const QSize size = framePixels(*this);
    if (m_drawFrame && m_drawFrame->size() == size)
        return true;
    m_hasFrame = false;
    m_drawFrame = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    m_shownFrame =
        std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    if (!m_drawFrame->isValid() || !m_shownFrame->isValid()) {
        m_drawFrame.reset();
        m_shownFrame.reset();
        return false;
    }
    return true;
}

void ShipViewWidget::reloadTexture(std::string_view name)
{
    if (context()) {
        makeCurrent();
        m_textures.forget(name);
        doneCurrent();
    }
    redraw();
}

void ShipViewWidget::redraw()
{
    // Before the widget has a context there is nothing to draw into; initializeGL asks again.
    if (!m_sceneProvider || !context())
        return;
    const Scene scene = m_sceneProvider();
    MessageQueue messages;
    makeCurrent();
    bool complete = false;
    if (ensureFrames() && m_drawFrame->bind()) {
        m_view.initialiseGl(viewSize(), devicePixelRatioF());
        complete = m_view.draw(scene, m_textures, messages);
        glFlush();
        m_drawFrame->release();
        if (complete) {
            std::swap(m_drawFrame, m_shownFrame);
            m_hasFrame = true;
        }
    }
    doneCurrent();
    report(messages, scene);
    if (complete)
        update();
}

void ShipViewWidget::forgetShownProblems()
{
    m_shownProblems.reset();
}

// Dismissing a message box lets the window repaint and the mouse move, and both draw again: a
// problem reported at every draw would come back for ever and keep the user from the window.
void ShipViewWidget::report(MessageQueue& messages, const Scene& scene)
{
    if (messages.empty())
        return;
    const bool shownBefore = m_shownProblems && scene.file && m_shownProblems->file == scene.file &&
                             m_shownProblems->selectedComponent == scene.selectedComponent &&
                             m_shownProblems->selectedAttachment == scene.selectedAttachment &&
                             scene.file->matchesImage(m_shownProblems->image);
    if (shownBefore) {
        messages.clear();
        return;
    }
    // Remembered before the boxes open: their event loop may draw again.
    m_shownProblems =
        ShownProblems{scene.file, scene.selectedComponent, scene.selectedAttachment,
                      scene.file ? scene.file->serialise() : std::vector<std::uint8_t>{}};
    messages.deliverTo(m_sink);
}

void ShipViewWidget::paintGL()
{
    const QSize size = framePixels(*this);
    // A picture of another size (after a resize, or on a screen of another pixel ratio) is not
    // stretched, which would show the ship at the wrong scale: a new one is drawn outside the
    // paint, where messages may be shown.
    if (m_hasFrame && m_shownFrame && m_shownFrame->size() != size) {
        m_hasFrame = false;
        QMetaObject::invokeMethod(this, &ShipViewWidget::redraw, Qt::QueuedConnection);
    }
    if (!m_hasFrame || !m_shownFrame) {
        constexpr float Grey = ShipView::BackgroundGrey;
        glClearColor(Grey, Grey, Grey, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, m_shownFrame->handle());
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    gl->glBlitFramebuffer(0, 0, m_shownFrame->width(), m_shownFrame->height(), 0, 0, size.width(),
                          size.height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

} // namespace viewer
