#include "platform/KeyFilter.h"

#include <QCoreApplication>

namespace platform {

KeyFilter::KeyFilter(QWidget& window, Handler handler)
    : QObject(&window), m_window(window), m_handler(std::move(handler))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) ||
        !watched->isWidgetType())
        return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target->window() != &m_window)
        return false;
    // A key press the focused control ignores travels on to its parents; only its first
    // delivery, to the focused control (or to the window when nothing has the focus), counts.
    QWidget* focus = m_window.focusWidget();
    if (target != focus && !(focus == nullptr && target == &m_window))
        return false;
    return m_handler(*static_cast<QKeyEvent*>(event));
}

} // namespace platform
