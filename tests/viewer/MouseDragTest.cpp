#include "viewer/MouseDrag.h"

#include <gtest/gtest.h>

using namespace viewer;

namespace {
constexpr int Bottom = 0, Left = 1, Front = 2, FreeView = 3, Top = 4, Right = 5, Back = 6;

DragStep dragFrom(int view, int x0, int y0, int x1, int y1, int zoom = 1)
{
    MouseState state;
    state.mouseDown = true;
    state.lastMouseX = x0;
    state.lastMouseY = y0;
    return dragStep(state, x1, y1, view, zoom);
}
} // namespace

TEST(MouseDrag, FixedViewRowsFollowThePointer)
{
    const float k = DragScale;
    // Front, 10 pixels right: x decreases by 10 k; y unchanged.
    DragStep s = dragFrom(Front, 100, 100, 110, 100);
    ASSERT_TRUE(s.moves);
    EXPECT_FLOAT_EQ(s.delta.x, -10 * k);
    EXPECT_NEAR(s.delta.x, -5.128205f, 1e-5f);
    EXPECT_EQ(s.delta.y, 0.0f);
    // Zoom 4 moves four times as far.
    EXPECT_EQ(dragFrom(Front, 100, 100, 110, 100, 4).delta.x, static_cast<float>(-40) * k);

    struct Row
    {
        int view;
        shipfile::Vec3 right; // 1 pixel right
        shipfile::Vec3 down;  // 1 pixel down
    };
    const Row rows[] = {
        {Bottom, {-k, 0, 0}, {0, 0, -k}}, {Left, {0, 0, -k}, {0, k, 0}},
        {Front, {-k, 0, 0}, {0, k, 0}},   {Top, {k, 0, 0}, {0, 0, -k}},
        {Right, {0, 0, k}, {0, k, 0}},    {Back, {k, 0, 0}, {0, k, 0}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(dragFrom(r.view, 5, 5, 6, 5).delta, r.right) << "view " << r.view;
        EXPECT_EQ(dragFrom(r.view, 5, 5, 5, 6).delta, r.down) << "view " << r.view;
    }
}

TEST(MouseDrag, FreeViewTurnsAndBadIndexMovesNothing)
{
    // 5 pixels up and 3 right: about X by 5 degrees, then about Y by 3.
    DragStep s = dragFrom(FreeView, 50, 50, 53, 45);
    EXPECT_TRUE(s.turns);
    EXPECT_FALSE(s.moves);
    EXPECT_EQ(s.turnX, 5.0);
    EXPECT_EQ(s.turnY, 3.0);

    MouseState state;
    state.lastMouseX = 1;
    DragStep none = dragStep(state, 9, 9, -1, 1);
    EXPECT_FALSE(none.moves);
    EXPECT_FALSE(none.turns);
    EXPECT_EQ(state.lastMouseX, 9) << "the position is still taken";
}

TEST(MouseDrag, MovesWithinTheSlopOfThePressAreAClick)
{
    MouseState state;
    pressButton(state, 10, 10);
    EXPECT_FALSE(isDragMove(state, 10 + ClickSlop, 10 - ClickSlop));
    EXPECT_TRUE(isDragMove(state, 10 + ClickSlop + 1, 10));
    EXPECT_TRUE(isDragMove(state, 10, 10)) << "back inside the slop, the drag goes on";
    pressButton(state, 0, 0);
    EXPECT_EQ(state.lastMouseY, 0);
    EXPECT_FALSE(isDragMove(state, 0, ClickSlop));
    EXPECT_TRUE(isDragMove(state, 0, -ClickSlop - 1));
}

TEST(MouseDrag, StepsAddUpAndModesCycle)
{
    MouseState state;
    state.mouseDown = true;
    float total = 0;
    for (int x = 1; x <= 4; ++x)
        total += dragStep(state, x * 2, 0, Top, 3).delta.x;
    EXPECT_FLOAT_EQ(total, 8 * 3 * DragScale);

    MouseMode m = MouseMode::MoveAttachments;
    m = nextMouseMode(m);
    EXPECT_EQ(mouseModeText(m), "Move Ship (view only)");
    m = nextMouseMode(m);
    EXPECT_EQ(mouseModeText(m), "Move selected type-1");
    EXPECT_EQ(nextMouseMode(m), MouseMode::MoveAttachments);
    for (const std::string_view text : MouseModeTexts)
        EXPECT_FALSE(text.empty()) << "one text per mode";
}
