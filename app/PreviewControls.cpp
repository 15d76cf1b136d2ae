#include "app/PreviewControls.h"

#include "app/CommandWiring.h"
#include "app/MainDialog.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
#include "viewer/Preview.h"

#include <QAction>
#include <QCheckBox>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace app {

namespace id = resources::mainwindow;
namespace strings = resources::strings;

namespace {
constexpr double FallbackRefreshRate = 60.0;

double milliseconds(const QElapsedTimer& clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}
} // namespace

PreviewControls::PreviewControls(MainDialog& window) : m_window(window)
{
    m_redraw.setSingleShot(true);
    m_redraw.setTimerType(Qt::PreciseTimer);
    connect(&m_redraw, &QTimer::timeout, this, &PreviewControls::tick);

    m_playAction = new QAction(QString::fromUtf8(strings::PlayMenuEntry), &window);
    connect(m_playAction, &QAction::triggered, this, &PreviewControls::togglePlayback);
}

void PreviewControls::setPreview(bool on)
{
    m_window.view().preview = on;
    m_window.control<QCheckBox>(id::Preview)->setChecked(on);
    if (QAction* entry = m_window.commands().action(CommandId::Preview))
        entry->setChecked(on);
    if (on)
        m_blink.start();
    else
        m_blink.invalidate();
    m_window.redrawView();
}

void PreviewControls::play()
{
    setPlaying(true);
}

void PreviewControls::stop()
{
    setPlaying(false);
}

void PreviewControls::setPlaying(bool on)
{
    if (on == isPlaying())
        return;
    if (on)
        m_playback.start();
    else
        m_playback.invalidate();
    m_playAction->setText(QString::fromUtf8(on ? strings::StopMenuEntry : strings::PlayMenuEntry));
    Q_EMIT playingChanged(on);
    m_window.redrawView();
}

void PreviewControls::togglePlayback()
{
    isPlaying() ? stop() : play();
}

void PreviewControls::stamp(viewer::Scene& scene) const
{
    if (isPlaying())
        scene.playbackMs = milliseconds(m_playback);
    if (m_blink.isValid())
        scene.blinkMs = milliseconds(m_blink);
}

void PreviewControls::planRedraw()
{
    if (isPlaying()) {
        const QScreen* screen = m_window.screen();
        const double rate =
            screen && screen->refreshRate() > 1 ? screen->refreshRate() : FallbackRefreshRate;
        m_redraw.start(std::max(1, static_cast<int>(std::floor(1000.0 / rate))));
        return;
    }
    const EditorState& state = m_window.state();
    if (m_blink.isValid() && state.fileLoaded()) {
        const double now = milliseconds(m_blink);
        if (const auto next = viewer::preview::nextBlinkChange(*state.file(), now)) {
            // Just past the change, so the redraw finds the light already turned.
            m_redraw.start(static_cast<int>(std::ceil(*next - now)) + 1);
            return;
        }
    }
    m_redraw.stop();
}

void PreviewControls::tick()
{
    m_window.redrawView();
}

} // namespace app
