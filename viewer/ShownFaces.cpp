#include "viewer/ShownFaces.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>

namespace viewer {

namespace lay = shipfile::layout;
using shipfile::ShipBlock;
using shipfile::Vec3;

namespace {
constexpr std::size_t PositionBytes = 3 * sizeof(float);
}

std::optional<std::vector<ShownComponent>> shownComponents(const shipfile::ShipFile& file)
{
    std::vector<ShownComponent> shown;
    // A component without a type-9 block is searched from the one before, as the draw does.
    const ShipBlock* current = file.attachmentBlock;
    const int count = shipfile::componentCount(file);
    for (int n = 0; n < count; ++n) {
        if (const ShipBlock* own = shipfile::nthBlockOfType(file, lay::type::Attachments, n))
            current = own;
        ShownComponent c;
        c.component = n;
        c.attachments = current;
        c.faces = shipfile::nextBlockOfType(current, lay::type::Faces);
        c.vertices = shipfile::nextBlockOfType(current, lay::type::Vertices);
        if (!c.faces || !c.vertices)
            return std::nullopt;
        c.origin =
            file.componentBlock
                ? file.componentBlock->componentOrigin(static_cast<std::size_t>(n)).value_or(Vec3{})
                : Vec3{};
        shown.push_back(c);
    }
    return shown;
}

FaceReader::FaceReader(const ShownComponent& component)
    : m_faces(*component.faces), m_vertices(*component.vertices)
{
    m_faceCount = m_faces.count;
    m_vertexCount = m_vertices.recordSize < lay::vertex::Position + PositionBytes
                        ? 0
                        : std::min<std::size_t>(m_vertices.count,
                                                m_vertices.records.size() / m_vertices.recordSize);
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
