#pragma once

#include <cstdint>
#include <vector>

namespace shipfile {
class ShipBlock;
}

namespace viewer {

/// What the view marks over a component's faces: the faces and vertices a finding is about.
struct Highlight
{
    int component = -1;
    /// Records of the component's face block and of its vertex block.
    std::vector<std::uint32_t> faces;
    std::vector<std::uint32_t> vertices;
};

/// Draws the outlines of the highlighted faces and a dot on each highlighted vertex in the
/// current colour, in the component's frame, over whatever the depth buffer holds, so that a
/// face inside the hull or seen edge-on still shows. Indices past their block are skipped.
void drawHighlight(const Highlight& highlight, const shipfile::ShipBlock& faces,
                   const shipfile::ShipBlock& vertices);

} // namespace viewer
