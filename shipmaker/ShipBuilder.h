#pragma once

#include "shipfile/Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Builders for SHP file images, shared by the tests, the benchmarks and the demo generator.
namespace shipmaker {

using ByteVector = std::vector<std::uint8_t>;
using shipfile::Vec3;

/// Raw framing: blocks as written, for well-formed and malformed images alike.
class BlockBuilder
{
public:
    /// A block whose header says `recordSize` and `count` and whose records are `records`
    /// (zero-padded or cut to recordSize * count unless `raw`).
    BlockBuilder& block(std::uint16_t type, std::uint16_t recordSize, std::uint16_t count,
                        const ByteVector& records = {});
    /// A header whose records are exactly `records`, whatever the header says.
    BlockBuilder& rawBlock(std::uint16_t type, std::uint16_t recordSize, std::uint16_t count,
                           const ByteVector& records);
    BlockBuilder& bytes(const ByteVector& raw);
    BlockBuilder& end();
    ByteVector build() const { return m_bytes; }

private:
    ByteVector m_bytes;
};

struct Face
{
    std::uint32_t a = 0, b = 0, c = 0;
    std::uint32_t texture = 0;
    float u[3] = {0, 1, 0};
    float v[3] = {0, 0, 1};
    Vec3 normal{0, 0, 1};
    std::uint32_t cull = 0;
};

struct Attachment
{
    int kind = 0;
    Vec3 position{};
    int styleIndex = -1; // -1 keeps the template's value
    int gunIndex = -1;
    float matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    bool keepTemplateMatrix = true;
    std::optional<Vec3> size{}; // nothing keeps the template's size values
};

struct Box
{
    Vec3 centre{};
    Vec3 halfExtents{1, 1, 1};
    float matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

struct Animation
{
    std::int32_t totalTime = 1000;
    std::int16_t type = 2;
    std::string trigger = "always";
    struct Frame
    {
        std::int32_t time = 0;
        Vec3 rotation{}; // radians
        Vec3 move{};
    };
    std::vector<Frame> frames; // empty: no type-11 block
};

/// One component: its type-1 record and its section.
struct Component
{
    std::string name = "hull";
    Vec3 origin{};
    std::int32_t role = 0;
    std::int32_t hitPoints = 100;
    bool hasDebris = false;
    std::int32_t debrisNumber = 0;
    std::vector<Vec3> vertices;
    std::vector<Face> faces;
    std::vector<std::string> textures;
    std::uint16_t textureRecordSize = 32;
    std::vector<Attachment> attachments;
    std::vector<Box> boxes;
    std::optional<Animation> animation; // nullopt: no type-10 block
    bool withBlock13 = true;
    bool block13On = false;
    int block14Count = 0; // 0, 1, 2 or more adjacent type-14 blocks
    bool withBoxBlock = true;
    bool withAttachmentBlock = true;
    bool withFaceBlock = true;
    bool withVertexBlock = true;
    bool withTextureBlock = true;
};

struct Ship
{
    std::int8_t shipClass = 0;
    std::uint16_t headerRecordSize = 64;
    std::uint16_t componentRecordSize = 312;
    std::vector<Component> components;
};

/// The component's 312-byte (or `recordSize`) type-1 record.
ByteVector componentRecord(const Component& c, std::uint16_t recordSize = 312);
/// The 168-byte record of an attachment, starting from its kind's template.
ByteVector attachmentRecord(const Attachment& a);
ByteVector faceRecord(const Face& f);
ByteVector boxRecord(const Box& b);

/// A well-formed plain SHP image. Section order: 2, 13, 10, 7, 9, 6, 11, 4, 3, 12, 14..., 16.
ByteVector buildShip(const Ship& ship);
void appendShipBlocks(BlockBuilder& out, const Ship& ship);

/// A closed box mesh (8 vertices, 12 faces) centred on `centre`, texture index `texture`.
void addCuboid(Component& c, Vec3 centre, Vec3 size, std::uint32_t texture = 0);

/// A small fighter with two components, attachments of every kind, a box and an animation.
Ship sampleShip();

// Meshes. Every face is wound counter-clockwise seen from outside: its normal,
// (b - a) x (c - a), points away from the body, and the view shows it as a front face.

/// Texture coordinates of one corner of a face.
struct TexCoord
{
    float u = 0;
    float v = 0;
};

/// The index of vertex `p` in the component, appending it when it is not there yet.
std::uint32_t vertexIndex(Component& c, Vec3 p);

/// Appends the triangle p, q, r, turned so that its normal points the way of `outward`.
/// Triangles without area are left out.
void addTriangle(Component& c, Vec3 p, Vec3 q, Vec3 r, TexCoord tp, TexCoord tq, TexCoord tr,
                 std::uint32_t texture, Vec3 outward);

/// `segments` points on the ellipse around `centre` perpendicular to axis `axis` (0 x, 1 y,
/// 2 z), with radius `radiusA` along the next axis and `radiusB` along the one after.
std::vector<Vec3> ellipseRing(Vec3 centre, int axis, float radiusA, float radiusB, int segments);

/// A closed body through `rings` (each with the same number of points, in order along the
/// body): the sides between neighbouring rings and, with `capEnds`, a fan over each end ring.
/// The texture wraps `uRepeat` times around and `vRepeat` times along.
void addLoft(Component& c, const std::vector<std::vector<Vec3>>& rings, std::uint32_t texture,
             float uRepeat = 1, float vRepeat = 1, bool capEnds = true);

/// An ellipsoid around `centre` with the given radii, as a loft along z.
void addEllipsoid(Component& c, Vec3 centre, Vec3 radii, std::uint32_t texture, int segments = 12,
                  int rings = 8);

/// A box around everything in the component's vertex list, `margin` larger on each side.
Box boundingBox(const Component& c, float margin = 0);

} // namespace shipmaker
