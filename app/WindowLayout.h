#pragma once

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace app {

/// How the main window's controls follow its size. The window never gets smaller than the
/// template; the extra room goes to the "Ship" box, the two lists grow in height, and whatever
/// lies right of the box or below a list moves along. At the template's size every control is
/// where the template puts it.
class WindowLayout
{
public:
    /// Remembers where the template put each of the window's own controls.
    WindowLayout(QWidget& window, QWidget& shipBox, QWidget& slider, QWidget& zoomRange,
                 std::vector<QWidget*> lists);

    /// A pane along the window's bottom edge, below everything the template places, `height`
    /// pixels tall while it is not hidden; the window's minimum height grows by as much.
    void setBottomPane(QWidget& pane, int height);

    /// Places every control for the window's current size.
    void apply();

private:
    struct Place
    {
        QWidget* widget;
        QRect rect;
    };
    QRect placeFor(const Place& place, int dw, int dh) const;

    QWidget& m_window;
    QSize m_templateSize;
    std::vector<Place> m_places;
    QRect m_shipBox;
    const QWidget* m_slider;
    const QWidget* m_zoomRange;
    std::vector<QRect> m_lists;
    QWidget* m_bottomPane = nullptr;
    int m_bottomPaneHeight = 0;
};

} // namespace app
