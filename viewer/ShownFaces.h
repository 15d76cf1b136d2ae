#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/ComponentParts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

// The geometry the draw shows, read from the blocks without OpenGL: picking and fitting must
// agree with the picture, so they find blocks and skip faces exactly as the draw does.
namespace viewer {

/// The blocks the draw uses for one component: its parts.
using ShownComponent = shipfile::ComponentParts;

/// Every component in draw order; nothing when a component lacks its face or vertex block,
/// since the draw then abandons the frame.
std::optional<std::vector<ShownComponent>> shownComponents(const shipfile::ShipFile& file);

/// Which side of a face the draw hides.
enum class Culling
{
    None,
    Back,
    Front,
};

/// One face's corners in its component's frame, their vertex records, and its culling.
struct ShownFace
{
    std::array<shipfile::Vec3, 3> corners;
    std::array<std::size_t, 3> vertices{};
    Culling culling = Culling::None;
};

/// Reads the faces of one component: a face whose record is too short or names a vertex past
/// the vertex block is one the draw leaves out.
class FaceReader
{
public:
    explicit FaceReader(const ShownComponent& component);

    std::size_t count() const { return m_faceCount; }
    std::optional<ShownFace> face(std::size_t index) const;
    /// The vertex records that hold a whole position.
    std::size_t vertexCount() const { return m_vertexCount; }
    shipfile::Vec3 vertex(std::size_t index) const;

private:
    const shipfile::ShipBlock& m_faces;
    const shipfile::ShipBlock& m_vertices;
    std::size_t m_faceCount = 0;
    std::size_t m_vertexCount = 0;
};

} // namespace viewer
