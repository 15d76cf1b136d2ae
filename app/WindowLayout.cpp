#include "app/WindowLayout.h"

#include <QWidget>

#include <algorithm>

namespace app {

WindowLayout::WindowLayout(QWidget& window, QWidget& shipBox, QWidget& slider, QWidget& zoomRange,
                           std::vector<QWidget*> lists, QWidget& menuBar, QWidget& statusBar)
    : m_window(window), m_templateSize(window.size()), m_shipBox(shipBox.geometry()),
      m_slider(&slider), m_zoomRange(&zoomRange), m_menuBar(menuBar), m_statusBar(statusBar),
      m_top(menuBar.sizeHint().height()), m_bottom(statusBar.sizeHint().height())
{
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != &menuBar && child != &statusBar)
            m_places.push_back({child, child->geometry()});
    for (const QWidget* list : lists)
        m_lists.push_back(list->geometry());
    const QSize smallest = m_templateSize + QSize(0, m_top + m_bottom);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window.setMinimumSize(smallest);
    window.resize(smallest);
}

void WindowLayout::setBottomPane(QWidget& pane, int height)
{
    m_bottomPane = &pane;
    m_bottomPaneHeight = height;
}

void WindowLayout::apply()
{
    const int pane = m_bottomPane && !m_bottomPane->isHidden() ? m_bottomPaneHeight : 0;
    m_window.setMinimumSize(m_templateSize.width(),
                            m_templateSize.height() + m_top + m_bottom + pane);
    const int dw = std::max(0, m_window.width() - m_templateSize.width());
    const int dh =
        std::max(0, m_window.height() - m_top - m_bottom - pane - m_templateSize.height());
    for (const Place& place : m_places)
        place.widget->setGeometry(placeFor(place, dw, dh).translated(0, m_top));
    if (pane) {
        // As far in from the edges as the template's controls stand from the window's left.
        const int margin = m_shipBox.left();
        m_bottomPane->setGeometry(margin, m_window.height() - m_bottom - pane,
                                  m_window.width() - 2 * margin, pane - margin);
    }
    m_menuBar.setGeometry(0, 0, m_window.width(), m_top);
    m_statusBar.setGeometry(0, m_window.height() - m_bottom, m_window.width(), m_bottom);
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
