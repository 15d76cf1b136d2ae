#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

#include <algorithm>

// Checks of a window built from its template, in the window's own font and scale.
namespace testsupport {

/// The labels of `window` whose text runs onto a frame line: out of the inside of the
/// smallest group box their top-left corner lies in (below its title, within its frame).
inline QStringList labelsOnFrameLines(const QWidget& window)
{
    QStringList out;
    const QList<QGroupBox*> groups = window.findChildren<QGroupBox*>();
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->parentWidget() != &window || label->text().isEmpty())
            continue;
        const QRect area = label->geometry();
        const QGroupBox* around = nullptr;
        for (const QGroupBox* group : groups) {
            const QSize size = group->size();
            if (group->geometry().contains(area.topLeft()) &&
                (!around || size.width() * size.height() <
                                around->width() * around->height()))
                around = group;
        }
        if (!around)
            continue;
        const QRect inside = around->contentsRect().translated(around->pos());
        // Only the text counts, not the spare room the label was given.
        const int width =
            std::min(area.width(), label->fontMetrics().horizontalAdvance(label->text()));
        const QRect text(area.topLeft(), QSize(width, label->heightForWidth(area.width())));
        if (!inside.contains(text))
            out << label->text();
    }
    return out;
}

/// Whether `field` shows all of `text` without scrolling.
inline bool showsWhole(const QLineEdit& field, const QString& text)
{
    constexpr int FrameAndMargins = 8;
    return field.fontMetrics().horizontalAdvance(text) + FrameAndMargins <= field.width();
}

} // namespace testsupport
