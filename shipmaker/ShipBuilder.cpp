#include "shipmaker/ShipBuilder.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipmaker/Vec3Maths.h"

#include <algorithm>
#include <cmath>

namespace shipmaker {

namespace lay = shipfile::layout;
using shipfile::writeF32;
using shipfile::writeI16;
using shipfile::writeI32;
using shipfile::writeI8;
using shipfile::writeU32;
using shipfile::writeVec3;

namespace {
void putWord(ByteVector& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

ByteVector concat(const std::vector<ByteVector>& records)
{
    ByteVector out;
    for (const auto& r : records)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

std::uint16_t count16(std::size_t n)
{
    return static_cast<std::uint16_t>(n);
}
} // namespace

BlockBuilder& BlockBuilder::block(std::uint16_t type, std::uint16_t recordSize, std::uint16_t count,
                                  const ByteVector& records)
{
    ByteVector body = records;
    body.resize(std::size_t{recordSize} * count, 0);
    return rawBlock(type, recordSize, count, body);
}

BlockBuilder& BlockBuilder::rawBlock(std::uint16_t type, std::uint16_t recordSize,
                                     std::uint16_t count, const ByteVector& records)
{
    putWord(m_bytes, type);
    putWord(m_bytes, recordSize);
    putWord(m_bytes, count);
    m_bytes.insert(m_bytes.end(), records.begin(), records.end());
    return *this;
}

BlockBuilder& BlockBuilder::bytes(const ByteVector& raw)
{
    m_bytes.insert(m_bytes.end(), raw.begin(), raw.end());
    return *this;
}

BlockBuilder& BlockBuilder::end()
{
    putWord(m_bytes, 0xFFFF);
    putWord(m_bytes, 0);
    putWord(m_bytes, 0);
    return *this;
}

ByteVector componentRecord(const Component& c, std::uint16_t recordSize)
{
    ByteVector r(recordSize, 0);
    std::copy_n(c.name.begin(),
                std::min<std::size_t>(c.name.size(), std::min<std::size_t>(63, recordSize)),
                r.begin());
    writeI32(r, lay::component::Role, c.role);
    writeVec3(r, lay::component::Origin, c.origin);
    writeI32(r, lay::component::DebrisNumber, c.debrisNumber);
    writeU32(r, lay::component::DebrisFlag, c.hasDebris ? lay::component::HasDebrisValue : 0);
    writeI32(r, lay::component::HitPoints, c.hitPoints);
    return r;
}

ByteVector attachmentRecord(const Attachment& a)
{
    ByteVector r(lay::attachment::RecordSize, 0);
    if (a.kind >= 0 && a.kind < lay::AttachmentKindCount) {
        const auto t = shipfile::attachmentTemplate(static_cast<lay::AttachmentKind>(a.kind));
        std::copy(t.begin(), t.end(), r.begin());
    }
    writeI32(r, lay::attachment::Kind, a.kind);
    writeVec3(r, lay::attachment::Position, a.position);
    if (!a.keepTemplateMatrix)
        for (std::size_t i = 0; i < 9; ++i)
            writeF32(r, lay::attachment::Matrix + 4 * i, a.matrix[i]);
    if (a.styleIndex >= 0)
        writeI32(r, lay::attachment::StyleIndex, a.styleIndex);
    if (a.gunIndex >= 0)
        writeI32(r, lay::attachment::GunIndex, a.gunIndex);
    if (a.size)
        writeVec3(r, lay::attachment::Size, *a.size);
    return r;
}

ByteVector faceRecord(const Face& f)
{
    ByteVector r(lay::face::RecordSize, 0);
    writeU32(r, lay::face::TextureIndex, f.texture);
    writeU32(r, lay::face::VertexA, f.a);
    writeU32(r, lay::face::VertexB, f.b);
    writeU32(r, lay::face::VertexC, f.c);
    for (std::size_t i = 0; i < 3; ++i) {
        writeF32(r, lay::face::U + 4 * i, f.u[i]);
        writeF32(r, lay::face::V + 4 * i, f.v[i]);
    }
    writeVec3(r, lay::face::Normal, f.normal);
    writeU32(r, lay::face::CullSelector, f.cull);
    return r;
}

ByteVector boxRecord(const Box& b)
{
    ByteVector r(lay::box::RecordSize, 0);
    for (std::size_t i = 0; i < 9; ++i)
        writeF32(r, lay::box::Matrix + 4 * i, b.matrix[i]);
    writeVec3(r, lay::box::HalfExtents, b.halfExtents);
    writeVec3(r, lay::box::Centre, b.centre);
    writeI32(r, lay::box::Unused64, -1);
    writeI32(r, lay::box::Unused68, -1);
    return r;
}

void appendShipBlocks(BlockBuilder& out, const Ship& ship)
{
    ByteVector header(ship.headerRecordSize, 0);
    writeI8(header, lay::header::ShipClass, ship.shipClass);
    out.block(lay::type::Header, ship.headerRecordSize, 1, header);

    std::vector<ByteVector> table;
    for (const auto& c : ship.components)
        table.push_back(componentRecord(c, ship.componentRecordSize));
    out.block(lay::type::Components, ship.componentRecordSize, count16(table.size()),
              concat(table));

    for (const auto& c : ship.components) {
        out.block(lay::type::SectionStart, 4, 1);
        if (c.withBlock13) {
            const ByteVector on = {2, 0, 0, 0, 5, 0, 0, 0};
            out.block(lay::type::Block13, 4, c.block13On ? 2 : 0, c.block13On ? on : ByteVector{});
        }
        if (c.animation) {
            ByteVector h(24, 0);
            writeI32(h, lay::animationHeader::TotalTime, c.animation->totalTime);
            writeI16(h, lay::animationHeader::AnimationType, c.animation->type);
            std::copy_n(c.animation->trigger.begin(),
                        std::min<std::size_t>(c.animation->trigger.size(), 16),
                        h.begin() + lay::animationHeader::Trigger);
            out.block(lay::type::AnimationHeader, 24, 1, h);
        }
        if (c.withBoxBlock) {
            std::vector<ByteVector> boxes;
            for (const auto& b : c.boxes)
                boxes.push_back(boxRecord(b));
            out.block(lay::type::Boxes, lay::box::RecordSize, count16(boxes.size()), concat(boxes));
        }
        if (c.withAttachmentBlock) {
            std::vector<ByteVector> attachments;
            for (const auto& a : c.attachments)
                attachments.push_back(attachmentRecord(a));
            out.block(lay::type::Attachments, lay::attachment::RecordSize,
                      count16(attachments.size()), concat(attachments));
        }
        if (c.withTextureBlock) {
            std::vector<ByteVector> names;
            for (const auto& t : c.textures) {
                ByteVector r(c.textureRecordSize, 0);
                std::copy_n(t.begin(), std::min<std::size_t>(t.size(), c.textureRecordSize - 1u),
                            r.begin());
                names.push_back(r);
            }
            out.block(lay::type::TextureNames, c.textureRecordSize, count16(names.size()),
                      concat(names));
        }
        if (c.animation && !c.animation->frames.empty()) {
            std::vector<ByteVector> frames;
            for (const auto& f : c.animation->frames) {
                ByteVector r(lay::animationFrame::RecordSize, 0);
                writeI32(r, lay::animationFrame::Time, f.time);
                writeVec3(r, lay::animationFrame::Rotation, f.rotation);
                writeVec3(r, lay::animationFrame::Move, f.move);
                frames.push_back(r);
            }
            out.block(lay::type::AnimationFrames, lay::animationFrame::RecordSize,
                      count16(frames.size()), concat(frames));
        }
        if (c.withVertexBlock) {
            std::vector<ByteVector> vertices;
            for (const auto& v : c.vertices) {
                ByteVector r(lay::vertex::RecordSize, 0);
                writeVec3(r, lay::vertex::Position, v);
                vertices.push_back(r);
            }
            out.block(lay::type::Vertices, lay::vertex::RecordSize, count16(vertices.size()),
                      concat(vertices));
        }
        if (c.withFaceBlock) {
            std::vector<ByteVector> faces;
            for (const auto& f : c.faces)
                faces.push_back(faceRecord(f));
            out.block(lay::type::Faces, lay::face::RecordSize, count16(faces.size()),
                      concat(faces));
        }
        out.block(lay::type::Marker12, 4, 0);
        for (int i = 0; i < c.block14Count; ++i)
            out.block(lay::type::Block14, lay::block14::RecordSize, 1);
        out.block(lay::type::Marker16, 4, 0);
    }
}

ByteVector buildShip(const Ship& ship)
{
    BlockBuilder out;
    appendShipBlocks(out, ship);
    return out.end().build();
}

void addCuboid(Component& c, Vec3 centre, Vec3 size, std::uint32_t texture)
{
    const auto base = static_cast<std::uint32_t>(c.vertices.size());
    const float hx = size.x / 2, hy = size.y / 2, hz = size.z / 2;
    for (int i = 0; i < 8; ++i)
        c.vertices.push_back({centre.x + ((i & 1) ? hx : -hx), centre.y + ((i & 2) ? hy : -hy),
                              centre.z + ((i & 4) ? hz : -hz)});
    // Each side as two triangles, wound counter-clockwise seen from outside.
    struct Side
    {
        std::uint32_t q[4];
        Vec3 n;
    };
    const Side sides[6] = {
        {{0, 2, 3, 1}, {0, 0, -1}}, {{4, 5, 7, 6}, {0, 0, 1}},  {{0, 1, 5, 4}, {0, -1, 0}},
        {{2, 6, 7, 3}, {0, 1, 0}},  {{0, 4, 6, 2}, {-1, 0, 0}}, {{1, 3, 7, 5}, {1, 0, 0}},
    };
    for (const auto& s : sides) {
        Face f1;
        f1.a = base + s.q[0];
        f1.b = base + s.q[1];
        f1.c = base + s.q[2];
        f1.texture = texture;
        f1.u[0] = 0, f1.u[1] = 1, f1.u[2] = 1;
        f1.v[0] = 0, f1.v[1] = 0, f1.v[2] = 1;
        f1.normal = s.n;
        Face f2 = f1;
        f2.b = base + s.q[2];
        f2.c = base + s.q[3];
        f2.u[1] = 1, f2.u[2] = 0;
        f2.v[1] = 1, f2.v[2] = 1;
        c.faces.push_back(f1);
        c.faces.push_back(f2);
    }
}

Ship sampleShip()
{
    Ship ship;
    Component hull;
    hull.name = "Hull";
    hull.textures = {"hull_plate", "engine_glow"};
    addCuboid(hull, {0, 0, 0}, {200, 80, 400}, 0);
    addCuboid(hull, {0, 0, -240}, {60, 40, 80}, 1);
    for (int kind = 0; kind < 5; ++kind) {
        Attachment a;
        a.kind = kind;
        a.position = {static_cast<float>(kind * 20 - 40), 50.0f, 100.0f};
        hull.attachments.push_back(a);
    }
    hull.boxes.push_back(Box{{0, 0, 0}, {100, 40, 200}});
    hull.hasDebris = true;
    hull.debrisNumber = 3;
    hull.hitPoints = 500;

    Component turret;
    turret.name = "Turret";
    turret.role = 3;
    turret.origin = {0, 60, 50};
    turret.textures = {"hull_plate"};
    addCuboid(turret, {0, 0, 0}, {40, 20, 40}, 0);
    turret.attachments.push_back(Attachment{3, {0, 10, 30}, -1, 2});
    Animation spin;
    spin.frames.push_back({0, {0, 0, 0}, {0, 0, 0}});
    spin.frames.push_back({500, {0, 1.5707964f, 0}, {0, 0, 0}});
    turret.animation = spin;
    turret.block13On = true;
    turret.block14Count = 2;

    ship.components = {hull, turret};
    return ship;
}

} // namespace shipmaker

// Meshes.

namespace shipmaker {

namespace {

Vec3 centroid(const std::vector<Vec3>& points)
{
    Vec3 sum{};
    for (const Vec3& p : points)
        sum = sum + p;
    return sum * (1.0f / static_cast<float>(points.size()));
}

// The point of segment a-b nearest to p.
Vec3 nearestOnSegment(Vec3 p, Vec3 a, Vec3 b)
{
    const Vec3 ab = b - a;
    const float span = dot(ab, ab);
    if (span <= 0)
        return a;
    const float t = std::clamp(dot(p - a, ab) / span, 0.0f, 1.0f);
    return a + ab * t;
}

} // namespace

std::uint32_t vertexIndex(Component& c, Vec3 p)
{
    const auto found = std::find(c.vertices.begin(), c.vertices.end(), p);
    if (found != c.vertices.end())
        return static_cast<std::uint32_t>(found - c.vertices.begin());
    c.vertices.push_back(p);
    return static_cast<std::uint32_t>(c.vertices.size() - 1);
}

void addTriangle(Component& c, Vec3 p, Vec3 q, Vec3 r, TexCoord tp, TexCoord tq, TexCoord tr,
                 std::uint32_t texture, Vec3 outward)
{
    Vec3 normal = cross(q - p, r - p);
    const float area = length(normal);
    if (area < 1e-4f)
        return;
    if (dot(normal, outward) < 0) {
        std::swap(q, r);
        std::swap(tq, tr);
        normal = normal * -1.0f;
    }
    Face f;
    f.a = vertexIndex(c, p);
    f.b = vertexIndex(c, q);
    f.c = vertexIndex(c, r);
    f.texture = texture;
    f.u[0] = tp.u, f.u[1] = tq.u, f.u[2] = tr.u;
    f.v[0] = tp.v, f.v[1] = tq.v, f.v[2] = tr.v;
    f.normal = normal * (1.0f / area);
    c.faces.push_back(f);
}

std::vector<Vec3> ellipseRing(Vec3 centre, int axis, float radiusA, float radiusB, int segments)
{
    std::vector<Vec3> ring;
    for (int i = 0; i < segments; ++i) {
        const float t = 2 * Pi * static_cast<float>(i) / static_cast<float>(segments);
        const float a = radiusA * std::cos(t), b = radiusB * std::sin(t);
        Vec3 p = centre;
        if (axis == 0)
            p = p + Vec3{0, a, b};
        else if (axis == 1)
            p = p + Vec3{b, 0, a};
        else
            p = p + Vec3{a, b, 0};
        ring.push_back(p);
    }
    return ring;
}

void addLoft(Component& c, const std::vector<std::vector<Vec3>>& rings, std::uint32_t texture,
             float uRepeat, float vRepeat, bool capEnds)
{
    if (rings.size() < 2)
        return;
    const std::size_t around = rings.front().size();
    const auto u = [&](std::size_t j) {
        return uRepeat * static_cast<float>(j) / static_cast<float>(around);
    };
    const auto v = [&](std::size_t i) {
        return vRepeat * static_cast<float>(i) / static_cast<float>(rings.size() - 1);
    };
    for (std::size_t i = 0; i + 1 < rings.size(); ++i) {
        const Vec3 axisFrom = centroid(rings[i]), axisTo = centroid(rings[i + 1]);
        for (std::size_t j = 0; j < around; ++j) {
            const std::size_t k = (j + 1) % around;
            const Vec3 p00 = rings[i][j], p01 = rings[i][k];
            const Vec3 p10 = rings[i + 1][j], p11 = rings[i + 1][k];
            const Vec3 middle = (p00 + p01 + p10 + p11) * 0.25f;
            const Vec3 outward = middle - nearestOnSegment(middle, axisFrom, axisTo);
            const TexCoord t00{u(j), v(i)}, t01{u(j + 1), v(i)};
            const TexCoord t10{u(j), v(i + 1)}, t11{u(j + 1), v(i + 1)};
            addTriangle(c, p00, p01, p11, t00, t01, t11, texture, outward);
            addTriangle(c, p00, p11, p10, t00, t11, t10, texture, outward);
        }
    }
    if (!capEnds)
        return;
    for (const bool front : {true, false}) {
        const auto& ring = front ? rings.front() : rings.back();
        const auto& neighbour = front ? rings[1] : rings[rings.size() - 2];
        const Vec3 middle = centroid(ring);
        const Vec3 outward = middle - centroid(neighbour);
        for (std::size_t j = 0; j < around; ++j) {
            const std::size_t k = (j + 1) % around;
            const auto rim = [&](std::size_t n) {
                const float t = 2 * Pi * static_cast<float>(n) / static_cast<float>(around);
                return TexCoord{0.5f + 0.5f * std::cos(t), 0.5f + 0.5f * std::sin(t)};
            };
            addTriangle(c, middle, ring[j], ring[k], {0.5f, 0.5f}, rim(j), rim(k), texture,
                        outward);
        }
    }
}

void addEllipsoid(Component& c, Vec3 centre, Vec3 radii, std::uint32_t texture, int segments,
                  int rings)
{
    std::vector<std::vector<Vec3>> loft;
    for (int i = 0; i <= rings; ++i) {
        const float t = Pi * static_cast<float>(i) / static_cast<float>(rings);
        const float z = -std::cos(t), scale = std::max(std::sin(t), 0.02f);
        loft.push_back(ellipseRing(centre + Vec3{0, 0, z * radii.z}, 2, radii.x * scale,
                                   radii.y * scale, segments));
    }
    addLoft(c, loft, texture, 2, 1, true);
}

Box boundingBox(const Component& c, float margin)
{
    if (c.vertices.empty())
        return Box{};
    Vec3 low = c.vertices.front(), high = low;
    for (const Vec3& p : c.vertices) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    Box box;
    box.centre = (low + high) * 0.5f;
    box.halfExtents = (high - low) * 0.5f + Vec3{margin, margin, margin};
    return box;
}

} // namespace shipmaker
