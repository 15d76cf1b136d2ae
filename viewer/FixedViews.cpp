#include "viewer/FixedViews.h"

#include "shipfile/CaseInsensitive.h"

#include <algorithm>
#include <cctype>

namespace viewer {

namespace {
enum class Axis
{
    X,
    Y,
    Z,
};

struct Turn
{
    Axis axis;
    double degrees;
};

struct FixedView
{
    ViewChoice choice;
    std::array<Turn, 3> turns;
    int turnCount;
};

// Each view's rotations, applied in order to the identity. With the camera's left-right
// mirror they show the ship as follows (+x, +y, +z):
//   Bottom: left, toward the viewer, up        Top:   right, away from the viewer, up
//   Left:   away, down, left                   Right: toward the viewer, down, right
//   Front:  left, down, toward the viewer      Back:  right, down, away from the viewer
constexpr std::array<FixedView, 6> FixedViewTable = {{
    {ViewChoice::Bottom, {{{Axis::X, -90}}}, 1},
    {ViewChoice::Left, {{{Axis::Y, 90}, {Axis::X, 180}, {Axis::Y, 180}}}, 3},
    {ViewChoice::Front, {{{Axis::Y, 180}, {Axis::Z, 180}}}, 2},
    {ViewChoice::Top, {{{Axis::X, -90}, {Axis::Z, 180}}}, 2},
    {ViewChoice::Right, {{{Axis::Y, 90}, {Axis::X, 180}}}, 2},
    {ViewChoice::Back, {{{Axis::Y, 180}, {Axis::Z, 180}, {Axis::Y, 180}}}, 3},
}};
} // namespace

std::optional<ViewChoice> viewChoiceFromText(std::string_view text)
{
    for (std::size_t i = 0; i < ViewChoiceTexts.size(); ++i)
        if (shipfile::equalsIgnoringCase(text, ViewChoiceTexts[i]))
            return static_cast<ViewChoice>(i);
    return std::nullopt;
}

void applyFixedView(ViewChoice choice, Matrix4& orientation)
{
    const auto view = std::ranges::find(FixedViewTable, choice, &FixedView::choice);
    if (view == FixedViewTable.end())
        return;
    orientation.setIdentity();
    for (int i = 0; i < view->turnCount; ++i) {
        const Turn& turn = view->turns[static_cast<std::size_t>(i)];
        switch (turn.axis) {
        case Axis::X:
            orientation.rotateX(turn.degrees);
            break;
        case Axis::Y:
            orientation.rotateY(turn.degrees);
            break;
        case Axis::Z:
            orientation.rotateZ(turn.degrees);
            break;
        }
    }
}

} // namespace viewer
