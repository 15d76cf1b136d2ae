#include "app/ViewControls.h"

#include "app/ListPanes.h"
#include "app/MainDialog.h"
#include "editing/AttachmentLabel.h"
#include "editing/Attachments.h"
#include "editing/Components.h"
#include "platform/QtText.h"
#include "resources/MainWindowTemplate.h"
#include "resources/Strings.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "viewer/Framing.h"
#include "viewer/ShipViewWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolTip>
#include <QWheelEvent>

#include <array>
#include <optional>

namespace app {

namespace id = resources::mainwindow;
using viewer::ViewChoice;

namespace {

struct ViewKey
{
    int key;
    ViewChoice choice;
};

constexpr std::array<ViewKey, 7> ViewKeys = {{
    {Qt::Key_1, ViewChoice::Bottom},
    {Qt::Key_2, ViewChoice::Left},
    {Qt::Key_3, ViewChoice::Front},
    {Qt::Key_4, ViewChoice::FreeView},
    {Qt::Key_Q, ViewChoice::Top},
    {Qt::Key_W, ViewChoice::Right},
    {Qt::Key_E, ViewChoice::Back},
}};

std::optional<ViewChoice> viewForKey(const QKeyEvent& event)
{
    // Shortcuts with Ctrl or Alt belong to the controls; keypad digits are no view keys.
    if (event.modifiers() &
        (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier))
        return std::nullopt;
    for (const ViewKey& entry : ViewKeys)
        if (entry.key == event.key())
            return entry.choice;
    return std::nullopt;
}

/// Whether `widget` is a field the user types into: every key it can take is its own. The view
/// chooser's text field is one too.
bool isTextField(const QWidget* widget)
{
    const auto* field = qobject_cast<const QLineEdit*>(widget);
    return field && !field->isReadOnly() && field->isEnabled();
}

/// Clears the pointer's coordinates when the pointer enters any control of the window: over a
/// list or a button the window sees no more moves, and the last ship point would stay shown.
class PointerLeavesView final : public QObject
{
public:
    explicit PointerLeavesView(MainDialog& window) : QObject(&window), m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter && watched != &m_window) {
            const auto* widget = qobject_cast<const QWidget*>(watched);
            if (widget && widget->window() == &m_window)
                m_window.showPointerCoordinates({});
        }
        return false;
    }

private:
    MainDialog& m_window;
};

} // namespace

ViewControls::ViewControls(MainDialog& window) : m_window(window)
{
    connect(m_window.control<QComboBox>(id::ViewChoice), &QComboBox::activated, this,
            &ViewControls::onViewChosen);
    // Editing the chooser's text and releasing the zoom slider change nothing: the zoom
    // follows the slider as it moves.

    // Presses, moves and releases anywhere on the window's own surface reach the window: the
    // view and its frame let them through, as the group boxes and labels do.
    m_window.installEventFilter(this);
    // Moves without a button too: the status bar follows the pointer over the view.
    m_window.setMouseTracking(true);
    new PointerLeavesView(m_window);
    if (QWidget* view = m_window.viewWidget()) {
        view->setAttribute(Qt::WA_TransparentForMouseEvents);
        view->parentWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void ViewControls::toggleFlag(bool viewer::ShipView::*flag)
{
    // Flips the flag rather than reading the box: whatever else changes a flag also sets its
    // box.
    bool& value = m_window.view().*flag;
    value = !value;
    m_window.redrawView();
}

void ViewControls::toggleCentring()
{
    viewer::ShipView& view = m_window.view();
    view.centerOnObject = !view.centerOnObject;
    if (!view.centerOnObject)
        view.center = shipfile::Vec3{}; // the ship's own origin comes to the anchor point
    m_window.redrawView();
}

bool ViewControls::handleKey(const QKeyEvent& event)
{
    // Only a lone Shift, pressed and released with nothing else between, cycles the mouse
    // mode: Shift as part of a shortcut, a capital letter or a click leaves it alone.
    if (event.type() == QEvent::KeyRelease) {
        if (event.key() == Qt::Key_Shift && m_loneShift && !event.isAutoRepeat()) {
            m_loneShift = false;
            cycleMouseMode();
            return true;
        }
        return false;
    }
    if (event.isAutoRepeat())
        return event.key() == Qt::Key_Shift && m_loneShift;
    m_loneShift = event.key() == Qt::Key_Shift &&
                  (event.modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier &&
                  !isTextField(m_window.focusWidget());
    if (event.key() == Qt::Key_Shift || isTextField(m_window.focusWidget()))
        return false;

    if ((event.key() == Qt::Key_F || event.key() == Qt::Key_Home) &&
        event.modifiers() == Qt::NoModifier) {
        fitView();
        return true;
    }
    const std::optional<ViewChoice> choice = viewForKey(event);
    if (!choice)
        return false;
    chooseView(*choice);
    return true;
}

void ViewControls::cycleMouseMode()
{
    m_mouse.mouseMode = viewer::nextMouseMode(m_mouse.mouseMode);
    m_window.control<QLineEdit>(id::MouseMode)
        ->setText(platform::toQString(viewer::mouseModeText(m_mouse.mouseMode)));
}

void ViewControls::chooseView(ViewChoice choice)
{
    auto* views = m_window.control<QComboBox>(id::ViewChoice);
    const int index = views->findText(
        platform::toQString(viewer::ViewChoiceTexts[static_cast<std::size_t>(choice)]),
        Qt::MatchStartsWith);
    {
        const QSignalBlocker blocker(views);
        views->setCurrentIndex(index);
    }
    onViewChosen();
}

void ViewControls::onViewChosen()
{
    const int index = m_window.control<QComboBox>(id::ViewChoice)->currentIndex();
    if (index < 0 || index >= static_cast<int>(viewer::ViewChoiceTexts.size()))
        return;
    const auto choice = static_cast<ViewChoice>(index);
    // FreeView keeps the last view's orientation: free turning starts from there.
    if (choice == ViewChoice::FreeView)
        return;
    EditorState& state = m_window.state();
    viewer::applyFixedView(choice, state.viewOrientation);
    m_window.view().setOrientation(state.viewOrientation);
    m_window.redrawView();
    // The plane under the pointer changed; the next move says where it is.
    m_window.showPointerCoordinates({});
}

bool ViewControls::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_loneShift = false; // Shift with a click is no mouse-mode key
        const QPoint at = mouse->position().toPoint();
        // The view takes no mouse events of its own: a press on it gives it the focus here.
        if (viewPosition(at))
            m_window.viewWidget()->setFocus(Qt::MouseFocusReason);
        if (mouse->button() == Qt::LeftButton)
            viewer::pressButton(m_mouse, at.x(), at.y());
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const bool click = m_mouse.mouseDown && !m_mouse.dragging;
            m_mouse.mouseDown = false;
            finishDrag();
            if (click)
                clicked({m_mouse.pressX, m_mouse.pressY});
        }
        return false;
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint at = wheel->position().toPoint();
        if (!viewPosition(at))
            return false;
        zoomAt(at,
               wheel->angleDelta().y() / static_cast<double>(QWheelEvent::DefaultDeltasPerStep));
        showPointer(at);
        return true;
    }
    case QEvent::ToolTip:
        return showToolTip(*static_cast<QHelpEvent*>(event));
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A release the window did not see (a message box took it) ends the drag all the same.
        if (!(mouse->buttons() & Qt::LeftButton))
            m_mouse.mouseDown = false;
        const QPoint at = mouse->position().toPoint();
        mouseMoved(at.x(), at.y());
        showPointer(at);
        return false;
    }
    case QEvent::Leave:
        m_window.showPointerCoordinates({});
        return false;
    default:
        return false;
    }
}

void ViewControls::finishDrag()
{
    m_dragStep.reset();
}

void ViewControls::mouseMoved(int x, int y)
{
    EditorState& state = m_window.state();
    if (!m_mouse.mouseDown || !state.fileLoaded() || !viewer::isDragMove(m_mouse, x, y))
        return;
    viewer::ShipView& view = m_window.view();
    const int viewIndex = m_window.control<QComboBox>(id::ViewChoice)->currentIndex();
    const viewer::DragStep step = viewer::dragStep(m_mouse, x, y, viewIndex, view.zoom);

    if (step.turns) {
        state.viewOrientation.rotateX(step.turnX);
        state.viewOrientation.rotateY(step.turnY);
        view.setOrientation(state.viewOrientation);
    } else if (step.moves) {
        namespace steps = resources::strings::steps;
        switch (m_mouse.mouseMode) {
        case viewer::MouseMode::MoveAttachments:
            if (state.selectedComponent >= 0 && state.selectedAttachment >= 0) {
                if (!m_dragStep)
                    m_dragStep.emplace(m_window, steps::MoveAttachment);
                editing::moveAttachment(m_dragStep->ship(), state.selectedComponent,
                                        state.selectedAttachment, step.delta);
            }
            break;
        case viewer::MouseMode::MoveShip:
            m_window.control<QCheckBox>(id::CenterOnObject)->setChecked(false);
            view.centerOnObject = false;
            view.center.x -= step.delta.x;
            view.center.y -= step.delta.y;
            view.center.z -= step.delta.z;
            break;
        case viewer::MouseMode::MoveComponent:
            if (state.selectedComponent >= 0) {
                if (!m_dragStep)
                    m_dragStep.emplace(m_window, steps::MoveComponent);
                editing::moveComponentOrigin(m_dragStep->ship(), state.selectedComponent,
                                             step.delta);
            }
            break;
        }
    }
    m_window.redrawView();
}

void ViewControls::showPointer(QPoint windowPos)
{
    const std::optional<QPointF> at = viewPosition(windowPos);
    if (!at || !m_window.state().fileLoaded()) {
        m_window.showPointerCoordinates({});
        return;
    }
    const viewer::ShipView& view = m_window.view();
    m_window.showPointerCoordinates(viewer::camera::pointerCoordinates(
        view.orientation, view.shownCenter(m_window.scene()),
        viewer::camera::viewPoint(m_window.viewWidget()->viewSize(), at->x(), at->y()), view.zoom));
}

std::optional<QPointF> ViewControls::viewPosition(QPoint windowPos) const
{
    const viewer::ShipViewWidget* view = m_window.viewWidget();
    const QWidget* frame = view ? view->parentWidget() : nullptr;
    if (!frame || !frame->isVisible() || !frame->geometry().contains(windowPos))
        return std::nullopt;
    return QPointF(view->mapFrom(&m_window, windowPos)) + QPointF(0.5, 0.5);
}

viewer::Pick ViewControls::pickAt(QPoint windowPos) const
{
    const std::optional<QPointF> at = viewPosition(windowPos);
    if (!at)
        return {};
    return viewer::pickAt(m_window.view(), m_window.scene(), m_window.viewWidget()->viewSize(),
                          at->x(), at->y());
}

void ViewControls::clicked(QPoint windowPos)
{
    const viewer::Pick pick = pickAt(windowPos);
    // A click on empty space keeps the selection.
    if (pick.attachment >= 0)
        m_window.listPanes().chooseAttachment(pick.attachment);
    else if (!pick.empty())
        m_window.listPanes().chooseComponent(pick.component);
}

bool ViewControls::showToolTip(const QHelpEvent& event)
{
    if (!viewPosition(event.pos()))
        return false;
    const viewer::Pick pick = pickAt(event.pos());
    if (pick.empty()) {
        QToolTip::hideText();
        return true;
    }
    const shipfile::ShipFile& file = *m_window.state().file();
    const shipfile::ShipBlock* attachments =
        shipfile::componentParts(file, pick.component).attachments;
    const std::string name =
        pick.attachment >= 0 && attachments
            ? editing::numberedAttachmentLabel(
                  attachments->record(static_cast<std::size_t>(pick.attachment)),
                  static_cast<std::size_t>(pick.attachment))
            : shipfile::componentName(file, pick.component);
    // Any move of the pointer hides the tip; the next rest names what is under it then.
    QToolTip::showText(event.globalPos(), platform::nameToQString(name), &m_window,
                       QRect(event.pos(), QSize(1, 1)));
    return true;
}

void ViewControls::zoomAt(QPoint windowPos, double notches)
{
    EditorState& state = m_window.state();
    const std::optional<QPointF> at = viewPosition(windowPos);
    if (!state.fileLoaded() || !at || notches == 0.0)
        return;
    viewer::ShipView& view = m_window.view();
    const double before = viewer::camera::clampZoom(view.zoom);
    const double after = viewer::wheelZoom(before, notches);
    if (!view.centresOnSelection(m_window.scene()))
        view.center = viewer::centreKeeping(
            view.orientation, view.center,
            viewer::camera::viewPoint(m_window.viewWidget()->viewSize(), at->x(), at->y()), before,
            after);
    m_window.setZoom(after);
}

void ViewControls::fitView()
{
    EditorState& state = m_window.state();
    if (!state.fileLoaded())
        return;
    const viewer::ShipViewWidget* widget = m_window.viewWidget();
    // The part of the view inside the "Ship" box: the view stands on the box's lower-left
    // corner and whatever rises above the box is cut off.
    const QRect shown =
        QRect(QPoint(0, 0), widget->parentWidget()->size()).translated(-widget->pos()) &
        widget->rect();
    const viewer::Scene scene = m_window.scene();
    viewer::ShipView& view = m_window.view();
    const int target = scene.selectedComponent < shipfile::componentCount(*scene.file)
                           ? scene.selectedComponent
                           : -1;
    const auto framing = viewer::fitFraming(
        view, scene, widget->viewSize(),
        {static_cast<double>(shown.x()), static_cast<double>(shown.y()),
         static_cast<double>(shown.width()), static_cast<double>(shown.height())},
        target);
    if (!framing)
        return;
    // The fitted centre would be overridden at the next draw while the view follows the
    // selection.
    if (view.centresOnSelection(scene)) {
        m_window.control<QCheckBox>(id::CenterOnObject)->setChecked(false);
        view.centerOnObject = false;
    }
    view.center = framing->center;
    m_window.setZoom(framing->zoom);
}

} // namespace app
