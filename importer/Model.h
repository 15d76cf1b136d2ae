#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A model read from a glTF or OBJ file, reduced to what an import uses: named nodes in their
// hierarchy, their triangles with texture coordinates and material names. Numbers are as the
// file holds them: positions in the file's axes, in the frame of the node's mesh.
namespace importer {

using Vec3f = std::array<float, 3>;
using Uv = std::array<float, 2>;
/// A 4x4 transform, column-major as glTF stores it.
using Matrix = std::array<double, 16>;
inline constexpr Matrix Identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

enum class ModelFormat
{
    Gltf,
    Obj,
};

/// One triangle: corners in winding order, texture coordinates as the view counts them (v = 0
/// at the first row of the picture), and the index of its material name, or NoMaterial.
struct Triangle
{
    std::array<Vec3f, 3> positions{};
    std::array<Uv, 3> uvs{};
    std::size_t material = 0;
};
inline constexpr std::size_t NoMaterial = SIZE_MAX;

struct Mesh
{
    std::string name;
    std::vector<Triangle> triangles;
    /// Polygons of more than three corners, cut into triangles as a fan.
    std::size_t polygonsTriangulated = 0;
};

struct Node
{
    std::string name;
    /// The parent's index in Model::nodes (parents come first), or -1 at the root.
    int parent = -1;
    Matrix local = Identity;
    /// Index into Model::meshes, or -1.
    int mesh = -1;
};

struct Model
{
    ModelFormat format = ModelFormat::Gltf;
    std::vector<Node> nodes;
    std::vector<Mesh> meshes;
    std::vector<std::string> materials;
};

Matrix multiply(const Matrix& a, const Matrix& b);
/// The node's transform in the model's frame: its parents' applied.
Matrix worldTransform(const Model& model, std::size_t node);
Matrix inverse(const Matrix& m);
Vec3f transformPoint(const Matrix& m, const Vec3f& p);
/// Whether the upper-left 3 x 3 is the identity, to a few units in the last place of a float.
bool isPureTranslation(const Matrix& m);

} // namespace importer
