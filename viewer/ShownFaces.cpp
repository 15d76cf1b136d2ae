#include "viewer/ShownFaces.h"

#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>

namespace viewer {

namespace lay = shipfile::layout;
using shipfile::ShipBlock;
using shipfile::Vec3;

std::optional<std::vector<ShownComponent>> shownComponents(const shipfile::ShipFile& file)
{
    std::vector<ShownComponent> shown = shipfile::allComponentParts(file);
    for (const ShownComponent& c : shown)
        if (!c.faces || !c.vertices)
            return std::nullopt;
    return shown;
}

FaceReader::FaceReader(const ShownComponent& component)
    : m_faces(*component.faces), m_vertices(*component.vertices),
      m_faceCount(component.faces->count()), m_vertexCount(component.vertexCount)
{
}
Vec3 FaceReader::vertex(std::size_t index) const
{
    return *shipfile::readVec3(m_vertices.record(index), lay::vertex::Position);
}

std::optional<ShownFace> FaceReader::face(std::size_t index) const
{
    const shipfile::Bytes record = m_faces.record(index);
    ShownFace face;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto vertexIndex = shipfile::readU32(record, lay::face::VertexA + 4 * i);
        // The draw needs the corner's texture coordinates too; without them it skips the face.
        if (!vertexIndex || *vertexIndex >= m_vertexCount ||
            !shipfile::readF32(record, lay::face::U + 4 * i) ||
            !shipfile::readF32(record, lay::face::V + 4 * i))
            return std::nullopt;
        face.vertices[i] = *vertexIndex;
        face.corners[i] = vertex(*vertexIndex);
    }
    if (m_faces.recordSize == lay::face::RecordSize)
        face.culling = shipfile::readU32(record, lay::face::CullSelector) == lay::face::CullFront
                           ? Culling::Front
                           : Culling::Back;
    return face;
}

} // namespace viewer
