#include "viewer/MouseDrag.h"

#include "viewer/FixedViews.h"

#include <cstdlib>

namespace viewer {

namespace {

enum class Axis
{
    X,
    Y,
    Z,
};

// Which ship axis each screen direction moves, and with which sign, so the dragged thing
// follows the pointer under that view's orientation.
struct ViewRow
{
    Axis horizontal;
    bool towardRight; // the amount is x - lastX (else lastX - x)
    Axis vertical;
    bool towardDown; // the amount is y - lastY (else lastY - y)
};

constexpr ViewRow rowFor(ViewChoice view)
{
    switch (view) {
    case ViewChoice::Bottom: return {Axis::X, false, Axis::Z, false};
    case ViewChoice::Left: return {Axis::Z, false, Axis::Y, true};
    case ViewChoice::Front: return {Axis::X, false, Axis::Y, true};
    case ViewChoice::Top: return {Axis::X, true, Axis::Z, false};
    case ViewChoice::Right: return {Axis::Z, true, Axis::Y, true};
    case ViewChoice::Back: return {Axis::X, true, Axis::Y, true};
    case ViewChoice::FreeView: break;
    }
    return {Axis::X, false, Axis::Y, false};
}

void add(shipfile::Vec3& v, Axis axis, float amount)
{
    switch (axis) {
    case Axis::X: v.x += amount; break;
    case Axis::Y: v.y += amount; break;
    case Axis::Z: v.z += amount; break;
    }
}

// The product is taken in 32-bit integers, as the game's own tools did, then scaled in float.
float amount(int pixels, double zoom)
{
    return static_cast<float>(pixels * zoom) * DragScale;
}

} // namespace

std::string_view mouseModeText(MouseMode mode)
{
    return MouseModeTexts[static_cast<std::size_t>(mode)];
}

MouseMode nextMouseMode(MouseMode mode)
{
    return static_cast<MouseMode>((static_cast<int>(mode) + 1) % 3);
}

void pressButton(MouseState& state, int x, int y)
{
    state.mouseDown = true;
    state.lastMouseX = state.pressX = x;
    state.lastMouseY = state.pressY = y;
    state.dragging = false;
}

bool isDragMove(MouseState& state, int x, int y)
{
    if (!state.dragging)
        state.dragging =
            std::abs(x - state.pressX) > ClickSlop || std::abs(y - state.pressY) > ClickSlop;
    return state.dragging;
}

DragStep dragStep(MouseState& state, int x, int y, int viewIndex, double zoom)
{
    const int dxR = x - state.lastMouseX;
    const int dyD = y - state.lastMouseY;
    state.lastMouseX = x;
    state.lastMouseY = y;

    DragStep step;
    if (viewIndex < 0 || viewIndex >= static_cast<int>(ViewChoiceTexts.size()))
        return step;
    const auto view = static_cast<ViewChoice>(viewIndex);
    if (view == ViewChoice::FreeView) {
        step.turns = true;
        step.turnX = static_cast<double>(-dyD); // up turns about X
        step.turnY = static_cast<double>(dxR);
        return step;
    }
    const ViewRow row = rowFor(view);
    step.moves = true;
    add(step.delta, row.horizontal, amount(row.towardRight ? dxR : -dxR, zoom));
    add(step.delta, row.vertical, amount(row.towardDown ? dyD : -dyD, zoom));
    return step;
}

} // namespace viewer
