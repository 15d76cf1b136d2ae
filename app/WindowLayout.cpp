#include "app/WindowLayout.h"

#include <QWidget>

#include <algorithm>

namespace app {

WindowLayout::WindowLayout(QWidget& window, QWidget& shipBox, QWidget& slider, QWidget& zoomRange,
                           std::vector<QWidget*> lists)
    : m_window(window), m_templateSize(window.size()), m_shipBox(shipBox.geometry()),
      m_slider(&slider), m_zoomRange(&zoomRange)
{
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        m_places.push_back({child, child->geometry()});
    for (const QWidget* list : lists)
        m_lists.push_back(list->geometry());
    window.setMinimumSize(m_templateSize);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void WindowLayout::setBottomPane(QWidget& pane, int height)
{
    m_bottomPane = &pane;
    m_bottomPaneHeight = height;
}

void WindowLayout::apply()
{
    const int pane = m_bottomPane && !m_bottomPane->isHidden() ? m_bottomPaneHeight : 0;
    m_window.setMinimumSize(m_templateSize.width(), m_templateSize.height() + pane);
    const int dw = std::max(0, m_window.width() - m_templateSize.width());
    const int dh = std::max(0, m_window.height() - pane - m_templateSize.height());
    for (const Place& place : m_places)
        place.widget->setGeometry(placeFor(place, dw, dh));
    if (pane) {
        // As far in from the edges as the template's controls stand from the window's left.
        const int margin = m_shipBox.left();
        m_bottomPane->setGeometry(margin, m_window.height() - pane, m_window.width() - 2 * margin,
                                  pane - margin);
    }
}

QRect WindowLayout::placeFor(const Place& place, int dw, int dh) const
{
    QRect r = place.rect;
    if (r == m_shipBox)
        return r.adjusted(0, 0, dw, dh);

    // Under the view: the slider widens with it and its range field stays at its end.
    if (r.left() <= m_shipBox.right()) {
        if (r.top() > m_shipBox.bottom())
            r.translate(0, dh);
        if (place.widget == m_slider)
            r.setWidth(r.width() + dw);
        else if (place.widget == m_zoomRange)
            r.translate(dw, 0);
        return r;
    }

    // Right of the view: a list and the boxes around it grow; what lies below it moves down.
    r.translate(dw, 0);
    const auto overlapsColumn = [&r, dw](const QRect& list) {
        return r.left() - dw <= list.right() && r.right() - dw >= list.left();
    };
    bool grows = false;
    bool below = false;
    for (const QRect& list : m_lists) {
        if (place.rect.contains(list))
            grows = true;
        else if (place.rect.top() > list.bottom() && overlapsColumn(list))
            below = true;
    }
    if (grows)
        r.setHeight(r.height() + dh);
    else if (below)
        r.translate(0, dh);
    return r;
}

} // namespace app
