#pragma once

#include "viewer/Scene.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QAction;

namespace app {

class MainDialog;

/// The Preview switch and animation playback: the "Preview" check box and menu entry, the
/// Play/Stop entry, the clocks the lights blink and the animations play by, and the redraws
/// they need. The view is redrawn at the display's rate while an animation plays, and only
/// when a light turns on or off while the preview alone is on; with neither, no timer runs.
/// Playback never changes the ship.
class PreviewControls : public QObject
{
    Q_OBJECT

public:
    explicit PreviewControls(MainDialog& window);

    /// Switches the preview on or off: the view's flag, the box, the menu entry, a redraw.
    void setPreview(bool on);
    bool isPlaying() const { return m_playback.isValid(); }
    /// Plays every animated component from its start, or stops them where they rest as
    /// modelled.
    void play();
    void stop();
    void togglePlayback();
    /// The moments the next draw of `scene` shows.
    void stamp(viewer::Scene& scene) const;
    /// Plans the next redraw after one was drawn: the ship may have gained or lost lights.
    void planRedraw();

    QAction* playAction() const { return m_playAction; }

Q_SIGNALS:
    void playingChanged(bool playing);

private:
    void setPlaying(bool on);
    void tick();

    MainDialog& m_window;
    QAction* m_playAction = nullptr;
    /// Running while the preview is on.
    QElapsedTimer m_blink;
    /// Running while an animation plays.
    QElapsedTimer m_playback;
    QTimer m_redraw;
};

} // namespace app
