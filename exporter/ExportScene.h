#pragma once

#include "shipfile/Bytes.h"
#include "shipfile/MessageSink.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace shipfile {
class ShipFile;
}

// A ship as the exporters write it: components with their triangles grouped by material,
// attachments and boxes, every position already in the export axes.
namespace exporter {

using Vec3f = std::array<float, 3>;

/// Ship axes have x to starboard, y down and z forward (right-handed). glTF, and Blender's
/// reading of OBJ, have y up, z forward and x to port. The exporters turn the ship half a turn
/// about its fore-and-aft axis: (x, y, z) becomes (-x, -y, z). Nothing is mirrored, so the
/// winding of every face, and which side of it shows, stays as in the view.
Vec3f toExportAxes(shipfile::Vec3 p);
/// Written into the files, so a reader can undo the turn.
inline constexpr const char* AxesNote =
    "glTF axes (y up, z forward, right-handed); ship units; ship (x, y, z) = (-x, -y, z) here";

/// Material names besides the texture names: faces without a texture, and the suffix of a
/// material whose faces the view draws from both sides.
inline constexpr std::string_view PlainMaterialName = "Untextured";
inline constexpr std::string_view TwoSidedSuffix = " (two-sided)";
/// Collision boxes are nodes named "Collision Box 0", "Collision Box 1", ... by record.
inline constexpr std::string_view BoxNodeName = "Collision Box ";

/// Node names are unique in a file, as Blender keeps them unique: a name met again gets
/// Blender's own suffix for a duplicate, ".001", ".002", ... (the first one free).
class UniqueNames
{
public:
    std::string take(const std::string& name);

private:
    std::set<std::string> m_used;
};

struct ExportOptions
{
    /// The texture cache; empty exports every material untextured, without a warning.
    std::filesystem::path texturePath;
    bool boxes = false;
    /// Components named "...dest" are left out unless this is set, as in the view.
    bool keepDest = false;
};

/// One corner of a triangle: position in the component's frame, the triangle's normal and the
/// texture coordinates as stored (v = 0 at the first row of the texture, as in the view).
struct Corner
{
    Vec3f position;
    Vec3f normal;
    std::array<float, 2> uv;
};

/// A component's triangles of one material, three corners each, and the face record each
/// triangle came from.
struct Primitive
{
    std::size_t material = 0;
    std::vector<Corner> corners;
    std::vector<std::size_t> faces;
};

struct AttachmentNode
{
    std::string name; // "Engine Flame 2": kind name and record number, unique in the file
    std::int32_t kind = 0;
    std::size_t index = 0;
    Vec3f translation{};
    std::array<float, 4> rotation{0, 0, 0, 1}; // quaternion x, y, z, w
    // As stored, in ship axes, for the node's extras.
    shipfile::Vec3 position;
    std::array<float, 9> matrix{};
    std::int32_t styleIndex = 0;
    std::int32_t gunIndex = 0;
    shipfile::Vec3 size;
    std::string model; // the gun model of gun objects and guns
};

struct BoxNode
{
    std::string name;       // "Collision Box 1", unique in the file
    std::string objectName; // the OBJ object: the component's name and the box's
    std::array<Vec3f, 8> corners{};
};
/// The twelve triangles of a box over its corners, corner k having x, y, z at +half where
/// bits 0, 1, 2 of k are set.
inline constexpr std::array<std::uint16_t, 36> BoxTriangles = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6,
                                                               0, 1, 4, 1, 5, 4, 2, 6, 3, 3, 6, 7,
                                                               0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};

struct ComponentNode
{
    std::size_t index = 0; // the component's number in the ship
    std::string name;      // the component's name, unique in the file
    Vec3f translation{}; // the component's origin
    std::vector<Primitive> primitives;
    std::vector<AttachmentNode> attachments;
    std::vector<BoxNode> boxes;
};

struct Material
{
    std::string name;
    std::optional<std::size_t> picture; // none: a plain white material
    bool doubleSided = false;
    bool cutout = false;      // the texture has transparent texels
    bool translucent = false; // the see-through collision boxes
};

/// A texture decoded as the view decodes it, encoded as PNG, rows in file order.
struct Picture
{
    std::string fileStem; // from the texture name, safe as a file name, unique in the scene
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> png;
};

struct ExportScene
{
    std::vector<ComponentNode> components;
    std::vector<Material> materials;
    std::vector<Picture> pictures;
    std::size_t triangleCount = 0;
    /// Faces that point past their vertex block, or hold no number, are left out.
    std::size_t skippedFaces = 0;
    /// For the user, one message each.
    std::vector<shipfile::Message> warnings;
};

/// Reads the ship into an export scene. Never fails: what cannot be read is left out and, where
/// the user would not otherwise know, a warning says so.
ExportScene buildScene(const shipfile::ShipFile& file, const ExportOptions& options);

/// Ship text (names are bytes, read as Latin-1) as UTF-8, which the file formats require.
std::string toUtf8(std::string_view text);

} // namespace exporter
