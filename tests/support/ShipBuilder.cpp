#include "tests/support/ShipBuilder.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"

#include <algorithm>
#include <cmath>

namespace testsupport {

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

BlockBuilder& BlockBuilder::block(std::uint16_t type, std::uint16_t recordSize,
                                  std::uint16_t count, const ByteVector& records)
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
    std::copy_n(c.name.begin(), std::min<std::size_t>(c.name.size(), std::min<std::size_t>(63, recordSize)), r.begin());
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
            out.block(lay::type::Faces, lay::face::RecordSize, count16(faces.size()), concat(faces));
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
        {{0, 2, 3, 1}, {0, 0, -1}}, {{4, 5, 7, 6}, {0, 0, 1}}, {{0, 1, 5, 4}, {0, -1, 0}},
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

} // namespace testsupport

// Meshes and the demo ships.

namespace testsupport {

namespace {

Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 operator*(Vec3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}

Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float length(Vec3 a)
{
    return std::sqrt(dot(a, a));
}

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

constexpr float Pi = 3.14159265f;

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

namespace {

// The demo ships stand with their nose towards +z, their right side towards +x and their
// top towards -y, as the fixed views expect.

std::uint32_t textureIndex(Component& c, const std::string& name)
{
    const auto found = std::find(c.textures.begin(), c.textures.end(), name);
    if (found != c.textures.end())
        return static_cast<std::uint32_t>(found - c.textures.begin());
    c.textures.push_back(name);
    return static_cast<std::uint32_t>(c.textures.size() - 1);
}

// A wing from root to tip as a loft of two thin diamond sections across x.
void addWing(Component& c, float rootX, float rootLead, float rootTrail, float rootThickness,
             float tipX, float tipLead, float tipTrail, float tipThickness, float y,
             std::uint32_t texture)
{
    const auto section = [&](float x, float lead, float trail, float thickness) {
        const float middle = lead + (trail - lead) * 0.35f;
        return std::vector<Vec3>{{x, y, lead},
                                 {x, y - thickness / 2, middle},
                                 {x, y, trail},
                                 {x, y + thickness / 2, middle}};
    };
    addLoft(c,
            {section(rootX, rootLead, rootTrail, rootThickness),
             section(tipX, tipLead, tipTrail, tipThickness)},
            texture, 2, 1);
}

// A gun barrel along +z from `from`, `length` long.
void addBarrel(Component& c, Vec3 from, float length, float radius, std::uint32_t texture)
{
    addLoft(c,
            {ellipseRing(from, 2, radius * 1.4f, radius * 1.4f, 6),
             ellipseRing(from + Vec3{0, 0, length * 0.3f}, 2, radius, radius, 6),
             ellipseRing(from + Vec3{0, 0, length}, 2, radius, radius, 6)},
            texture, 1, 2);
}

// An engine nozzle along -z: a flared bell around a glowing end cap.
void addNozzle(Component& c, Vec3 from, float length, float radius, std::uint32_t bell,
               std::uint32_t glow)
{
    addLoft(c,
            {ellipseRing(from, 2, radius * 0.8f, radius * 0.8f, 10),
             ellipseRing(from + Vec3{0, 0, -length}, 2, radius, radius, 10)},
            bell, 1, 1, false);
    addLoft(c,
            {ellipseRing(from + Vec3{0, 0, -length * 0.2f}, 2, radius * 0.75f, radius * 0.75f, 10),
             ellipseRing(from + Vec3{0, 0, -length * 0.7f}, 2, radius * 0.95f, radius * 0.95f, 10)},
            glow, 1, 1, true);
}

Attachment attach(int kind, Vec3 position, int styleIndex = -1, int gunIndex = -1)
{
    Attachment a;
    a.kind = kind;
    a.position = position;
    a.styleIndex = styleIndex;
    a.gunIndex = gunIndex;
    return a;
}

Animation turning(std::int32_t period, float axisX, float axisY, float axisZ)
{
    Animation spin;
    spin.totalTime = period;
    spin.trigger = "always";
    for (int step = 0; step <= 4; ++step) {
        const float angle = 2 * Pi * static_cast<float>(step) / 4;
        spin.frames.push_back(
            {period * step / 4, {axisX * angle, axisY * angle, axisZ * angle}, {0, 0, 0}});
    }
    return spin;
}

// A turret: a flattened dome on the side `up` (-1 top, +1 belly) with barrels pointing
// forward.
void addTurret(Component& c, float radius, int barrels, float barrelLength, float up,
               std::uint32_t dome, std::uint32_t metal)
{
    addEllipsoid(c, {0, 0, 0}, {radius, radius * 0.55f, radius}, dome, 12, 6);
    for (int i = 0; i < barrels; ++i) {
        const float x =
            (static_cast<float>(i) - static_cast<float>(barrels - 1) / 2) * radius * 0.4f;
        addBarrel(c, {x, up * radius * 0.2f, radius * 0.6f}, barrelLength, radius * 0.09f, metal);
    }
}

} // namespace

Ship demoFighter()
{
    Component body;
    body.name = "Fuselage";
    body.role = 0;
    body.hitPoints = 400;
    body.hasDebris = true;
    body.debrisNumber = 4;
    const std::uint32_t hull = textureIndex(body, "fgt_hull");
    const std::uint32_t wing = textureIndex(body, "fgt_wing");
    const std::uint32_t metal = textureIndex(body, "gun_metal");
    const std::uint32_t engine = textureIndex(body, "fgt_engine");
    const std::uint32_t glow = textureIndex(body, "engine_glow");
    struct Section
    {
        float z, halfWidth, halfHeight;
    };
    const Section sections[] = {{64, 0.6f, 0.5f}, {50, 4.5f, 4},  {30, 8, 7},    {5, 10, 8.5f},
                                {-25, 10, 8.5f},  {-48, 8.5f, 7}, {-56, 7.5f, 6}};
    std::vector<std::vector<Vec3>> fuselage;
    for (const Section& s : sections)
        fuselage.push_back(ellipseRing({0, 0, s.z}, 2, s.halfWidth, s.halfHeight, 10));
    addLoft(body, fuselage, hull, 2, 3);
    for (const float side : {1.0f, -1.0f}) {
        addWing(body, side * 8, 14, -30, 3, side * 52, -18, -36, 1, 1, wing);
        addWing(body, side * 5, -38, -56, 1.6f, side * 20, -50, -60, 0.6f, -1, wing);
        addBarrel(body, {side * 20, 2, 2}, 20, 1, metal);
        addCuboid(body, {side * 32, 3.5f, -18}, {2, 3, 14}, metal); // missile pylon
        addNozzle(body, {side * 4.5f, 0, -54}, 9, 4, engine, glow);
    }
    // Tail fin: from the back of the fuselage up (towards -y).
    addLoft(body,
            {{{0, -6, -24}, {1.2f, -6, -40}, {0, -6, -56}, {-1.2f, -6, -40}},
             {{0, -26, -48}, {0.5f, -26, -53}, {0, -26, -60}, {-0.5f, -26, -53}}},
            wing, 1, 1);
    for (const float side : {1.0f, -1.0f}) {
        body.attachments.push_back(attach(0, {side * 32, 6, -18}));
        body.attachments.push_back(attach(3, {side * 20, 2, 23}, -1, 1 + (side > 0 ? 0 : 1)));
        body.attachments.push_back(attach(1, {side * 50, 1, -27}, 2));
        body.attachments.push_back(attach(2, {side * 4.5f, 0, -64}));
        body.attachments.push_back(attach(4, {side * 53, 1, -28}));
    }
    body.attachments.push_back(attach(4, {0, -27, -58}));
    body.boxes.push_back(boundingBox(body));
    body.block13On = true;

    Component cockpit;
    cockpit.name = "Cockpit";
    cockpit.role = 2;
    cockpit.origin = {0, -7, 24};
    cockpit.hitPoints = 150;
    addEllipsoid(cockpit, {0, 0, 0}, {5, 4.5f, 16}, textureIndex(cockpit, "fgt_canopy"), 12, 8);
    cockpit.attachments.push_back(attach(4, {0, -4, -14}));
    cockpit.boxes.push_back(boundingBox(cockpit));
    // The dummy triangle closes the face list: its three corners are vertex 0.
    cockpit.faces.push_back(Face{});

    Component turret;
    turret.name = "Turret";
    turret.role = 3;
    turret.origin = {0, 8, -6};
    turret.hitPoints = 120;
    addTurret(turret, 6, 2, 14, 1, textureIndex(turret, "fgt_hull"),
              textureIndex(turret, "gun_metal"));
    for (const float side : {1.0f, -1.0f})
        turret.attachments.push_back(attach(3, {side * 1.2f, 1.2f, 18}, -1, 3));
    turret.boxes.push_back(boundingBox(turret));
    turret.animation = turning(4000, 0, 1, 0);
    turret.block14Count = 2;

    Ship ship;
    ship.shipClass = 0;
    ship.components = {body, cockpit, turret};
    return ship;
}

Ship demoCapitalShip()
{
    Component hull;
    hull.name = "Hull";
    hull.role = 1;
    hull.hitPoints = 20000;
    const std::uint32_t plating = textureIndex(hull, "cap_hull");
    const std::uint32_t deck = textureIndex(hull, "cap_deck");
    struct Section
    {
        float z, halfWidth, halfHeight, yCentre;
    };
    const Section sections[] = {{300, 6, 5, 6},    {250, 34, 18, 2},  {180, 52, 28, 0},
                                {-120, 60, 32, 0}, {-250, 56, 30, 0}, {-275, 44, 24, 0}};
    std::vector<std::vector<Vec3>> body;
    for (const Section& s : sections)
        body.push_back(ellipseRing({0, s.yCentre, s.z}, 2, s.halfWidth, s.halfHeight, 8));
    addLoft(hull, body, plating, 4, 10);
    // The flight deck along the top.
    addCuboid(hull, {0, -33, -40}, {70, 6, 300}, deck);
    for (const float side : {1.0f, -1.0f}) {
        addCuboid(hull, {side * 62, 0, -60}, {14, 20, 200}, plating); // side blisters
        hull.attachments.push_back(attach(0, {side * 70, 6, 40}));
        hull.attachments.push_back(attach(0, {side * 70, 6, -120}));
        hull.attachments.push_back(attach(4, {side * 60, 0, 180}));
        hull.attachments.push_back(attach(4, {side * 70, -10, -160}));
    }
    hull.attachments.push_back(attach(4, {0, 0, 302}));
    hull.boxes.push_back(boundingBox(hull));
    hull.block13On = true;

    Component bridge;
    bridge.name = "Bridge";
    bridge.role = 1;
    bridge.origin = {0, -36, -150};
    bridge.hitPoints = 5000;
    const std::uint32_t tower = textureIndex(bridge, "cap_bridge");
    addCuboid(bridge, {0, -25, 0}, {36, 50, 60}, textureIndex(bridge, "cap_hull"));
    addCuboid(bridge, {0, -58, 6}, {64, 16, 34}, tower);
    bridge.attachments.push_back(attach(4, {30, -66, 6}));
    bridge.attachments.push_back(attach(4, {-30, -66, 6}));
    bridge.boxes.push_back(boundingBox(bridge));

    Component engines;
    engines.name = "Engines";
    engines.role = 1;
    engines.origin = {0, 0, -275};
    engines.hitPoints = 8000;
    const std::uint32_t bell = textureIndex(engines, "cap_engine");
    const std::uint32_t glow = textureIndex(engines, "engine_glow");
    for (const float x : {-32.0f, 0.0f, 32.0f}) {
        addNozzle(engines, {x, x == 0.0f ? -6.0f : 8.0f, 0}, 40, 17, bell, glow);
        engines.attachments.push_back(attach(2, {x, x == 0.0f ? -6.0f : 8.0f, -45}));
    }
    engines.boxes.push_back(boundingBox(engines));

    Component fore;
    fore.name = "TurretFore";
    fore.role = 1;
    fore.origin = {0, -34, 140};
    fore.hitPoints = 3000;
    addTurret(fore, 20, 3, 45, -1, textureIndex(fore, "cap_deck"), textureIndex(fore, "gun_metal"));
    for (const float x : {-8.0f, 0.0f, 8.0f})
        fore.attachments.push_back(attach(3, {x, -4, 58}, -1, 5));
    fore.attachments.push_back(attach(1, {0, -12, 0}, 6));
    fore.boxes.push_back(boundingBox(fore));
    fore.animation = turning(12000, 0, 1, 0);

    Component aft;
    aft.name = "TurretAft";
    aft.role = 1;
    aft.origin = {0, 32, -60};
    aft.hitPoints = 3000;
    addTurret(aft, 18, 2, 40, 1, textureIndex(aft, "cap_deck"), textureIndex(aft, "gun_metal"));
    for (const float x : {-4.0f, 4.0f})
        aft.attachments.push_back(attach(3, {x, 4, 52}, -1, 6));
    aft.boxes.push_back(boundingBox(aft));

    Component radar;
    radar.name = "Radar";
    radar.role = 1;
    radar.origin = {0, -102, -150};
    radar.hitPoints = 800;
    const std::uint32_t dish = textureIndex(radar, "radar_dish");
    addLoft(radar, {ellipseRing({0, 0, 0}, 1, 2, 2, 8), ellipseRing({0, -14, 0}, 1, 2, 2, 8)},
            textureIndex(radar, "gun_metal"), 1, 1);
    addLoft(radar,
            {ellipseRing({0, -14, 0}, 1, 3, 3, 16), ellipseRing({0, -22, 0}, 1, 22, 12, 16),
             ellipseRing({0, -24, 0}, 1, 24, 13, 16)},
            dish, 4, 1);
    radar.attachments.push_back(attach(4, {0, -26, 0}));
    radar.boxes.push_back(boundingBox(radar));
    radar.animation = turning(6000, 0, 1, 0);
    radar.block14Count = 2;

    Component wreck;
    wreck.name = "Prow_dest";
    wreck.role = 1;
    wreck.origin = {0, 0, 250};
    wreck.hitPoints = 1;
    addLoft(wreck,
            {ellipseRing({0, 2, 0}, 2, 34, 18, 8), ellipseRing({4, 6, 30}, 2, 20, 10, 8),
             ellipseRing({-6, 10, 45}, 2, 8, 6, 8)},
            textureIndex(wreck, "cap_scorched"), 3, 2);
    wreck.boxes.push_back(boundingBox(wreck));

    Ship ship;
    ship.shipClass = 1;
    ship.components = {hull, bridge, engines, fore, aft, radar, wreck};
    return ship;
}

Ship demoCargoPod()
{
    Component pod;
    pod.name = "Container";
    pod.role = 0;
    pod.hitPoints = 250;
    addCuboid(pod, {0, 0, 0}, {40, 30, 80}, textureIndex(pod, "cargo_crate"));
    for (const float x : {-21.0f, 21.0f})
        for (const float z : {-41.0f, 41.0f})
            pod.attachments.push_back(attach(4, {x, -16, z}));
    pod.boxes.push_back(boundingBox(pod));

    Ship ship;
    ship.shipClass = 0;
    ship.components = {pod};
    return ship;
}

std::vector<std::string> demoTextureNames()
{
    std::vector<std::string> names;
    for (const Ship& ship : {demoFighter(), demoCapitalShip(), demoCargoPod()})
        for (const Component& c : ship.components)
            for (const std::string& name : c.textures)
                if (std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(name);
    return names;
}

} // namespace testsupport
