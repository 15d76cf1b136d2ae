#pragma once

#include "viewer/Camera.h"
#include "viewer/Scene.h"

#include <QOpenGLWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QOpenGLFramebufferObject;

namespace shipfile {
class MessageSink;
}

namespace viewer {

class MessageQueue;
class ShipView;
class TextureCache;

/// The ship view in the main window: 388 x 388 logical pixels unless its owner resizes it (and
/// then redraws it), at one picture scale whatever its size, drawn at the screen's full
/// resolution. It shows the last complete frame of ShipView::draw. redraw() draws at once into
/// an offscreen frame; a frame the draw abandons is never shown, so the previous picture stays.
/// Messages of a draw reach the sink after the GL context is released, never from inside a
/// paint. A drawing problem is shown once for the ship and selection it was found in: drawing
/// the same again shows nothing.
class ShipViewWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    ShipViewWidget(ShipView& view, TextureCache& textures, shipfile::MessageSink& sink,
                   QWidget* parent = nullptr);
    ~ShipViewWidget() override;

    /// Called at every redraw for the ship and selection to show.
    void setSceneProvider(std::function<Scene()> provider);

    /// Draws the scene now and shows it when the frame is complete.
    void redraw();
    /// Forgets the problems already shown, so a ship opened anew reports its own.
    void forgetShownProblems();
    /// Loads the texture `name` afresh from the texture cache file and redraws.
    void reloadTexture(std::string_view name);

    /// The view's size as the camera sees it.
    camera::ViewSize viewSize() const;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    bool ensureFrames();
    void report(MessageQueue& messages, const Scene& scene);

    /// The scene whose drawing problems were shown last: the ship as its file image.
    struct ShownProblems
    {
        const shipfile::ShipFile* file = nullptr;
        int selectedComponent = -1;
        int selectedAttachment = -1;
        std::vector<std::uint8_t> image;
    };

    ShipView& m_view;
    TextureCache& m_textures;
    shipfile::MessageSink& m_sink;
    std::function<Scene()> m_sceneProvider;
    std::unique_ptr<QOpenGLFramebufferObject> m_drawFrame;
    std::unique_ptr<QOpenGLFramebufferObject> m_shownFrame;
    bool m_hasFrame = false;
    std::optional<ShownProblems> m_shownProblems;
};

} // namespace viewer
