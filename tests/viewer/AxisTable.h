#pragma once

#include "viewer/FixedViews.h"

#include <string>

namespace viewertest {

/// Where a view sends +x, +y and +z: "left", "right", "up", "down", "toward" or "away".
struct AxisExpectation
{
    viewer::ViewChoice view;
    const char* x;
    const char* y;
    const char* z;
};

inline const AxisExpectation AxisTable[] = {
    {viewer::ViewChoice::Bottom, "left", "toward", "up"},
    {viewer::ViewChoice::Left, "away", "down", "left"},
    {viewer::ViewChoice::Front, "left", "down", "toward"},
    {viewer::ViewChoice::FreeView, "left", "up", "away"}, // from the start: no turn at all
    {viewer::ViewChoice::Top, "right", "away", "up"},
    {viewer::ViewChoice::Right, "toward", "down", "right"},
    {viewer::ViewChoice::Back, "right", "down", "away"},
};

inline std::string viewName(viewer::ViewChoice view)
{
    return std::string(viewer::ViewChoiceTexts[static_cast<std::size_t>(view)]);
}

struct AxisTestName
{
    template <typename Info> std::string operator()(const Info& info) const
    {
        return viewName(info.param.view);
    }
};

} // namespace viewertest
