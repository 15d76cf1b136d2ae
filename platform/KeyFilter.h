#pragma once

#include <QKeyEvent>
#include <QObject>
#include <QWidget>

#include <functional>

namespace platform {

/// Sees every key press and release bound for `window` or any of its controls before the
/// focused control does, as a dialog's message pre-translation would. The handler returns true
/// to consume the key (the control never sees it). Key presses in other windows, modal dialogs
/// included, are left alone. The filter is a child of `window` and lives as long as it.
class KeyFilter final : public QObject
{
public:
    using Handler = std::function<bool(QKeyEvent&)>;

    KeyFilter(QWidget& window, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    Handler m_handler;
};

} // namespace platform
