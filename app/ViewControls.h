#pragma once

#include "app/EditStep.h"
#include "viewer/FixedViews.h"
#include "viewer/MouseDrag.h"
#include "viewer/Picking.h"

#include <QObject>
#include <QPointF>

#include <optional>

class QHelpEvent;
class QKeyEvent;
class QMouseEvent;

namespace app {

class MainDialog;

/// How the user looks at the ship and moves things by hand: the view chooser and its keys,
/// the display check boxes, the mouse mode that Shift cycles, and left-button drags anywhere
/// on the main window's surface (the view included).
class ViewControls : public QObject
{
    Q_OBJECT

public:
    explicit ViewControls(MainDialog& window);

    /// A key press or release bound for the main window or one of its controls, before that
    /// control sees it. True when it was a view key or a lone Shift and was used up. While a
    /// text field has the focus every key is the field's.
    bool handleKey(const QKeyEvent& event);

    /// Ends the undo step of a drag that moved an attachment or a component, if one is under
    /// way: the moves so far become one step, later moves of the same drag another.
    void finishDrag();

    /// Fits the selected component, or the whole ship when none is selected, into the view:
    /// zoom and centre. The centre no longer follows the selection afterwards.
    void fitView();
    void cycleMouseMode();
    /// Flips one of the view's display flags (the click has flipped its box already).
    void toggleFlag(bool viewer::ShipView::*flag);
    /// Flips centring on the selected component; unticked, the ship's own origin comes to the
    /// anchor point.
    void toggleCentring();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The view step for the chooser's current entry: a fixed view rebuilds the orientation and
    /// redraws; FreeView and no entry leave everything as it is.
    void onViewChosen();
    /// Shows the view `choice` as if the user had picked it in the chooser.
    void chooseView(viewer::ViewChoice choice);
    /// Zooms by `notches` wheel notches (positive: closer), keeping the ship point under
    /// `windowPos` in place unless the view centres on the selected component.
    void zoomAt(QPoint windowPos, double notches);
    /// What the view shows under `windowPos` of the main window; nothing outside the view.
    viewer::Pick pickAt(QPoint windowPos) const;
    void mouseMoved(int x, int y);
    /// Shows the ship coordinates under the pointer in the status bar, or clears them off the
    /// view, without a ship or in a turned view.
    void showPointer(QPoint windowPos);
    void clicked(QPoint windowPos);
    bool showToolTip(const QHelpEvent& event);
    /// `windowPos` in the view's own logical pixels, pixel centres; nothing when the view is
    /// hidden or the point lies outside the part of it that shows.
    std::optional<QPointF> viewPosition(QPoint windowPos) const;

    MainDialog& m_window;
    viewer::MouseState m_mouse;
    /// The step of the drag under way, from its first move of the ship's records to the
    /// release.
    std::optional<EditStep> m_dragStep;
    /// Shift is down and nothing else was pressed since: its release cycles the mouse mode.
    bool m_loneShift = false;
};

} // namespace app
