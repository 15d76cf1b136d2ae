#pragma once

#include "shipfile/Bytes.h"

#include <array>
#include <string_view>

namespace viewer {

/// What a drag in a fixed side view moves. Shift cycles through them in this order.
enum class MouseMode
{
    MoveAttachments,
    MoveShip,
    MoveComponent,
};

inline constexpr std::array<std::string_view, 3> MouseModeTexts = {
    "Move Attachments", "Move Ship (view only)", "Move selected type-1"};

std::string_view mouseModeText(MouseMode mode);
MouseMode nextMouseMode(MouseMode mode);

/// Ship units moved per pixel of drag at zoom 1. Close to 20/39, but one float step below the
/// nearest float to it: drags must land where the game's modders expect them.
inline constexpr float DragScale = 0.5128204822540283f;

/// A press and release that stay within this many pixels of the press on both axes make a
/// click, which picks, not a drag.
inline constexpr int ClickSlop = 3;

/// The left button and the last handled pointer position, in the main window's pixels (y grows
/// downward), and the current mouse mode.
struct MouseState
{
    bool mouseDown = false;
    int lastMouseX = 0;
    int lastMouseY = 0;
    MouseMode mouseMode = MouseMode::MoveAttachments;
    /// Where the button went down, and whether the pointer has since left the click's slop.
    int pressX = 0;
    int pressY = 0;
    bool dragging = false;
};

/// The button went down at (x, y).
void pressButton(MouseState& state, int x, int y);
/// Whether a move to (x, y) with the button down is a drag step. Moves within ClickSlop of the
/// press are not, so a click moves nothing; the first step after them starts at the press, so
/// a drag still moves by the whole distance the pointer went.
bool isDragMove(MouseState& state, int x, int y);

/// One handled mouse move: either a move in ship units (fixed views) or a turn in degrees
/// about the orientation's own X then Y axes (FreeView).
struct DragStep
{
    bool moves = false;
    shipfile::Vec3 delta;
    bool turns = false;
    double turnX = 0.0;
    double turnY = 0.0;
};

/// The drag step for a move to (x, y) in the view at combo index `viewIndex` (0..6; any other
/// index moves nothing) at `zoom`. Updates the last position. The caller applies the step to
/// what the mouse mode names and redraws; a move with the button up is not a drag step at all.
DragStep dragStep(MouseState& state, int x, int y, int viewIndex, double zoom);

} // namespace viewer
