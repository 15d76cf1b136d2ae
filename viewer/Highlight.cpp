#include "viewer/Highlight.h"

#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipBlock.h"

#include <GL/gl.h>
#include <optional>

namespace viewer {

namespace {

namespace lay = shipfile::layout;

// Dots and outlines this many times as wide as the view's own lines, so that a single vertex
// or a sliver of a face stands out at any zoom.
constexpr GLfloat VertexDotWidth = 7;
constexpr GLfloat OutlineWidth = 3;

std::optional<shipfile::Vec3> position(const shipfile::ShipBlock& vertices, std::uint32_t index)
{
    if (index >= shipfile::vertexPositionCount(vertices))
        return std::nullopt;
    return shipfile::readVec3(vertices.record(index), lay::vertex::Position);
}

} // namespace

void drawHighlight(const Highlight& highlight, const shipfile::ShipBlock& faces,
                   const shipfile::ShipBlock& vertices)
{
    GLfloat lineWidth = 1;
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glDisable(GL_DEPTH_TEST);
    glLineWidth(lineWidth * OutlineWidth);
    for (const std::uint32_t f : highlight.faces) {
        const shipfile::Bytes face = faces.record(f);
        glBegin(GL_LINE_LOOP);
        for (std::size_t k = 0; k < 3; ++k)
            if (const auto index = shipfile::readU32(face, lay::face::VertexA + 4 * k))
                if (const auto p = position(vertices, *index))
                    glVertex3f(p->x, p->y, p->z);
        glEnd();
    }
    glLineWidth(lineWidth);
    glPointSize(lineWidth * VertexDotWidth);
    glBegin(GL_POINTS);
    for (const std::uint32_t v : highlight.vertices)
        if (const auto p = position(vertices, v))
            glVertex3f(p->x, p->y, p->z);
    glEnd();
    glPointSize(1);
    glEnable(GL_DEPTH_TEST);
}

} // namespace viewer
