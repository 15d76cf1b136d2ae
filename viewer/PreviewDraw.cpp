#include "viewer/PreviewDraw.h"

#include "shipfile/Bytes.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipBlock.h"
#include "viewer/Camera.h"
#include "viewer/Preview.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace viewer {

namespace {

namespace lay = shipfile::layout;
using lay::AttachmentKind;
using preview::Rgb;

constexpr int Segments = 16;

// The unit circle at Segments + 1 points, the last one again the first, worked out once.
struct Circle
{
    Circle()
    {
        for (int i = 0; i <= Segments; ++i) {
            const double angle = 2 * std::numbers::pi * i / Segments;
            points[static_cast<std::size_t>(i)] = {std::cos(angle), std::sin(angle)};
        }
    }
    std::array<std::array<double, 2>, Segments + 1> points;
};
const Circle UnitCircle;
// A light glows at least this many view units wide, so it shows when zoomed far out.
constexpr double SmallestLightRadius = 12.0;

struct Attachment
{
    AttachmentKind kind;
    shipfile::Vec3 position;
    std::array<float, 9> matrix; // rows
    std::int32_t styleIndex;
    shipfile::Vec3 size;
    preview::Blink blink;
};

std::optional<Attachment> readAttachment(shipfile::Bytes record)
{
    const auto kind = shipfile::readI32(record, lay::attachment::Kind);
    const auto position = shipfile::readVec3(record, lay::attachment::Position);
    const auto style = shipfile::readI32(record, lay::attachment::StyleIndex);
    const auto size = shipfile::readVec3(record, lay::attachment::Size);
    const auto on = shipfile::readI32(record, lay::attachment::LightOnMs);
    const auto off = shipfile::readI32(record, lay::attachment::LightOffMs);
    if (!kind || !position || !style || !size || !on || !off)
        return std::nullopt;
    Attachment a{static_cast<AttachmentKind>(*kind), *position, {}, *style, *size, {*on, *off}};
    for (std::size_t i = 0; i < a.matrix.size(); ++i)
        a.matrix[i] = shipfile::readF32(record, lay::attachment::Matrix + 4 * i).value_or(0.0f);
    return a;
}

// The attachment's own frame: its orientation rows as rows, its position as the origin. An
// orientation that flattens everything (all zero, say) would hide the shape: it counts as none.
Matrix4 localFrame(const Attachment& a)
{
    const auto& m = a.matrix;
    const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                       m[2] * (m[3] * m[7] - m[4] * m[6]);
    const bool usable = std::isfinite(det) && std::abs(det) > 1e-6;
    double columns[16] = {};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            columns[column * 4 + row] =
                usable ? m[static_cast<std::size_t>(row * 3 + column)] : (row == column ? 1 : 0);
    columns[12] = a.position.x;
    columns[13] = a.position.y;
    columns[14] = a.position.z;
    columns[15] = 1.0;
    Matrix4 frame;
    frame.load(columns);
    return frame;
}

struct Corner
{
    double x, y, z;
};

using Points = std::vector<GLdouble>;

void point(Points& out, double x, double y, double z)
{
    out.insert(out.end(), {x, y, z});
}

// The six faces of a block as quads, each a loop round the two free axes.
void blockFaces(Points& out, Corner lo, Corner hi)
{
    const double xs[2] = {lo.x, hi.x}, ys[2] = {lo.y, hi.y}, zs[2] = {lo.z, hi.z};
    for (int side = 0; side < 2; ++side) {
        point(out, xs[side], ys[0], zs[0]);
        point(out, xs[side], ys[1], zs[0]);
        point(out, xs[side], ys[1], zs[1]);
        point(out, xs[side], ys[0], zs[1]);
        point(out, xs[0], ys[side], zs[0]);
        point(out, xs[1], ys[side], zs[0]);
        point(out, xs[1], ys[side], zs[1]);
        point(out, xs[0], ys[side], zs[1]);
        point(out, xs[0], ys[0], zs[side]);
        point(out, xs[1], ys[0], zs[side]);
        point(out, xs[1], ys[1], zs[side]);
        point(out, xs[0], ys[1], zs[side]);
    }
}

// The twelve edges of a block as line pairs.
void blockEdges(Points& out, Corner lo, Corner hi)
{
    const double xs[2] = {lo.x, hi.x}, ys[2] = {lo.y, hi.y}, zs[2] = {lo.z, hi.z};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            point(out, xs[i], ys[j], zs[0]);
            point(out, xs[i], ys[j], zs[1]);
            point(out, xs[i], ys[0], zs[j]);
            point(out, xs[i], ys[1], zs[j]);
            point(out, xs[0], ys[i], zs[j]);
            point(out, xs[1], ys[i], zs[j]);
        }
}

void drawPoints(GLenum mode, const Points& points)
{
    glVertexPointer(3, GL_DOUBLE, 0, points.data());
    glDrawArrays(mode, 0, static_cast<GLsizei>(points.size() / 3));
}

struct Block
{
    Corner lo, hi;
};

// The shapes in view units, along the attachment's z: a gun's breech and barrel, a gun
// object's pod and nozzle, a missile mount's rail with a ridge on top (-y is up in the ship).
struct Shape
{
    std::array<Block, 2> blocks;
    Rgb colour;
};

std::optional<Shape> shapeOf(AttachmentKind kind)
{
    switch (kind) {
    case AttachmentKind::Gun:
        return Shape{{{{{-9, -9, -12}, {9, 9, 8}}, {{-3, -3, 8}, {3, 3, 60}}}}, {0, 0, 1}};
    case AttachmentKind::GunObject:
        return Shape{{{{{-14, -14, -22}, {14, 14, 22}}, {{-5, -5, 22}, {5, 5, 34}}}}, {0, 0, 1}};
    case AttachmentKind::MissileMount:
        return Shape{{{{{-12, -2, -45}, {12, 2, 45}}, {{-3, -7, -40}, {3, -2, 40}}}}, {1, 1, 0}};
    default:
        return std::nullopt;
    }
}

// Sent as two vertex arrays: a shape is drawn for every gun and mount of the ship.
void drawShape(const Shape& shape, bool selected)
{
    Points faces, edges;
    for (const Block& b : shape.blocks) {
        blockFaces(faces, b.lo, b.hi);
        blockEdges(edges, b.lo, b.hi);
    }
    glColor4f(shape.colour.r, shape.colour.g, shape.colour.b, 1.0f);
    drawPoints(GL_QUADS, faces);
    // The selected one is outlined in white, the others in black.
    const float edge = selected ? 1.0f : 0.0f;
    glColor4f(edge, edge, edge, 1.0f);
    drawPoints(GL_LINES, edges);
}

// A cone from an elliptic base round the origin (half-widths a and b) to a tip on z, its
// colour's strength falling from `base` at the base's centre through `rim` to `tip`.
void glowCone(Rgb c, double a, double b, double length, float base, float rim, float tip)
{
    const auto ring = [&](float alpha) {
        glColor4f(c.r, c.g, c.b, alpha);
        for (const auto& [x, y] : UnitCircle.points)
            glVertex3d(a * x, b * y, 0.0);
    };
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(c.r, c.g, c.b, tip);
    glVertex3d(0.0, 0.0, length);
    ring(rim);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(c.r, c.g, c.b, base);
    glVertex3d(0.0, 0.0, 0.0);
    ring(rim);
    glEnd();
}

// An engine flame from the attachment's point along its z for the third size value, as wide
// as the first and as high as the second: a faint outer glow round a core at full strength.
void drawFlame(const Attachment& a)
{
    const Rgb colour = preview::flameColour(a.styleIndex);
    const double halfWidth = std::abs(a.size.x) / 2, halfHeight = std::abs(a.size.y) / 2;
    glowCone(colour, halfWidth, halfHeight, a.size.z, 0.85f, 0.35f, 0.0f);
    glowCone(colour, halfWidth / 2, halfHeight / 2, a.size.z * 0.6, 1.0f, 1.0f, 0.4f);
}

// A round glow facing the viewer at eye point `at`: solid to a third of its radius, fading
// out to the rim. Drawn a radius nearer than the point, so the hull it sits on hides no half.
void drawLight(camera::Point at, double radius, Rgb c)
{
    glLoadIdentity();
    glTranslated(at.x, at.y, at.z - radius);
    const double core = radius / 3;
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(c.r, c.g, c.b, 1.0f);
    glVertex3d(0.0, 0.0, 0.0);
    for (const auto& [x, y] : UnitCircle.points)
        glVertex3d(core * x, core * y, 0.0);
    glEnd();
    glBegin(GL_QUAD_STRIP);
    for (const auto& [x, y] : UnitCircle.points) {
        glColor4f(c.r, c.g, c.b, 1.0f);
        glVertex3d(core * x, core * y, 0.0);
        glColor4f(c.r, c.g, c.b, 0.0f);
        glVertex3d(radius * x, radius * y, 0.0);
    }
    glEnd();
}

template <typename Visit> void forEachAttachment(const PreviewComponent& c, Visit visit)
{
    for (std::size_t j = 0; c.attachments && j < c.attachments->count(); ++j)
        if (const auto a = readAttachment(c.attachments->record(j)))
            visit(*a, static_cast<int>(j) == c.selectedAttachment);
}

} // namespace

void drawPreview(const std::vector<PreviewComponent>& components, double zoom, double blinkMs)
{
    const double scale = camera::shipScale(zoom);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    for (const PreviewComponent& c : components)
        forEachAttachment(c, [&](const Attachment& a, bool selected) {
            const auto shape = shapeOf(a.kind);
            if (!shape)
                return;
            Matrix4 m = c.frame;
            m.multiply(localFrame(a));
            m.scale(1 / scale, 1 / scale, 1 / scale);
            glLoadMatrixd(m.data());
            drawShape(*shape, selected);
        });

    // Glows last, over everything solid, and without writing depth, so one never cuts a hole
    // in another behind it.
    glDepthMask(GL_FALSE);
    for (const PreviewComponent& c : components)
        forEachAttachment(c, [&](const Attachment& a, bool) {
            if (a.kind == AttachmentKind::EngineFlame) {
                Matrix4 m = c.frame;
                m.multiply(localFrame(a));
                glLoadMatrixd(m.data());
                drawFlame(a);
            } else if (a.kind == AttachmentKind::BlinkingLight &&
                       preview::isLit(a.blink, blinkMs)) {
                const camera::Point at =
                    camera::transform(c.frame, {a.position.x, a.position.y, a.position.z});
                const double radius = std::max(std::abs(a.size.x), std::abs(a.size.y)) / 2;
                drawLight(at, std::max(radius * scale, SmallestLightRadius),
                          preview::lightColour(a.styleIndex));
            }
        });
    glDepthMask(GL_TRUE);
    glEnable(GL_TEXTURE_2D);
}

} // namespace viewer
