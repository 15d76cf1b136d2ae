#include "editing/Attachments.h"

#include "editing/Messages.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"

#include <cmath>
#include <utility>
#include <vector>

namespace editing {

using shipfile::MutableBytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
using shipfile::Vec3;
namespace lay = shipfile::layout;

namespace {

// The game's face centre uses the single-precision third, 0.33333334.
constexpr float OneThird = 1.0f / 3.0f;
// A face centre must lie nearer than this to be chosen.
constexpr double NoFaceDistance = 999999.0;
// Normals whose z is this close to +-1 take the second form of the orientation.
constexpr double PoleLimit = 0.99999;

// The component's type-9 block; null, after the missing-type-9 message when the ship lacks it,
// when there is nothing to act on.
const ShipBlock* attachmentBlock(const ShipFile& file, int component)
{
    if (file.empty() || component < 0)
        return nullptr;
    const ShipBlock* block = shipfile::componentParts(file, component).attachments;
    if (!block)
        file.sink().show(shipfile::messages::MissingAttachmentBlock.box());
    return block;
}

ShipBlock* attachmentBlock(ShipFile& file, int component)
{
    // The block is the file's own, and the file is not const here.
    return const_cast<ShipBlock*>(attachmentBlock(std::as_const(file), component));
}

bool appendCopy(ShipFile& file, int component, int attachment, bool mirrored)
{
    ShipBlock* block = attachmentBlock(file, component);
    const MutableBytes source =
        block && attachment >= 0 ? block->record(static_cast<std::size_t>(attachment))
                                 : MutableBytes{};
    if (source.empty())
        return false;
    std::vector<std::uint8_t> scratch(source.begin(), source.end());
    if (mirrored) {
        if (const auto x = shipfile::readF32(scratch, lay::attachment::Position))
            shipfile::writeF32(scratch, lay::attachment::Position, *x * -1.0f);
    }
    if (!block->appendRecord(scratch)) {
        file.sink().show(messages::AttachmentAllocFailed.box());
        return false;
    }
    return true;
}

struct NearestFace
{
    Vec3 centre;
    Vec3 normal;
};

// The face whose centre lies nearest to `point`; ties keep the earlier face. Faces whose
// records are too short or whose vertex indices lie past the vertex block are skipped.
std::optional<NearestFace> nearestFace(const ShipBlock& faces, const ShipBlock& vertices,
                                       Vec3 point)
{
    std::optional<NearestFace> best;
    double bestDistance = NoFaceDistance;
    for (std::size_t f = 0; f < faces.count(); ++f) {
        const shipfile::Bytes face = faces.record(f);
        const auto a = shipfile::readU32(face, lay::face::VertexA);
        const auto b = shipfile::readU32(face, lay::face::VertexB);
        const auto c = shipfile::readU32(face, lay::face::VertexC);
        const auto normal = shipfile::readVec3(face, lay::face::Normal);
        if (!a || !b || !c || !normal)
            continue;
        const auto va = shipfile::readVec3(vertices.record(*a), lay::vertex::Position);
        const auto vb = shipfile::readVec3(vertices.record(*b), lay::vertex::Position);
        const auto vc = shipfile::readVec3(vertices.record(*c), lay::vertex::Position);
        if (!va || !vb || !vc)
            continue;
        const Vec3 centre{(va->x + vb->x + vc->x) * OneThird, (va->y + vb->y + vc->y) * OneThird,
                          (va->z + vb->z + vc->z) * OneThird};
        const double dx = double{centre.x} - double{point.x};
        const double dy = double{centre.y} - double{point.y};
        const double dz = double{centre.z} - double{point.z};
        const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = NearestFace{centre, *normal};
        }
    }
    return best;
}

} // namespace

shipfile::Bytes attachmentRecord(const ShipFile& file, int component, int attachment)
{
    if (attachment < 0)
        return {};
    const ShipBlock* block = attachmentBlock(file, component);
    return block ? block->record(static_cast<std::size_t>(attachment)) : shipfile::Bytes{};
}

MutableBytes attachmentRecord(ShipFile& file, int component, int attachment)
{
    if (attachment < 0)
        return {};
    ShipBlock* block = attachmentBlock(file, component);
    return block ? block->record(static_cast<std::size_t>(attachment)) : MutableBytes{};
}

std::optional<int> addAttachment(ShipFile& file, int component, int kind)
{
    ShipBlock* block = attachmentBlock(file, component);
    if (!block)
        return std::nullopt;
    if (kind >= 0 && kind < lay::AttachmentKindCount && !block->appendTemplateRecord(kind)) {
        file.sink().show(messages::AttachmentAllocFailed.box());
        return std::nullopt;
    }
    return static_cast<int>(block->count()) - 1;
}

std::optional<int> removeAttachment(ShipFile& file, int component, int attachment)
{
    if (attachmentRecord(file, component, attachment).empty())
        return std::nullopt;
    ShipBlock* block = shipfile::componentParts(file, component).attachments;
    block->removeRecord(static_cast<std::size_t>(attachment));
    return static_cast<int>(block->count()) - 1;
}

bool copyAttachment(ShipFile& file, int component, int attachment)
{
    return appendCopy(file, component, attachment, false);
}

bool copyAttachmentMirrored(ShipFile& file, int component, int attachment)
{
    return appendCopy(file, component, attachment, true);
}

bool moveAttachment(ShipFile& file, int component, int attachment, Vec3 delta)
{
    const MutableBytes record = attachmentRecord(file, component, attachment);
    const auto position = shipfile::readVec3(record, lay::attachment::Position);
    if (!position)
        return false;
    return shipfile::writeVec3(record, lay::attachment::Position,
                               Vec3{position->x + delta.x, position->y + delta.y,
                                    position->z + delta.z});
}

bool snapToNearestFace(ShipFile& file, int component, int attachment, SnapOptions options)
{
    const MutableBytes record = attachmentRecord(file, component, attachment);
    const auto position = shipfile::readVec3(record, lay::attachment::Position);
    if (!position)
        return false;

    const shipfile::ComponentParts parts = shipfile::componentParts(std::as_const(file), component);
    const ShipBlock* vertices = parts.vertices;
    if (!vertices) {
        file.sink().show(messages::NoVertices.box());
        return false;
    }
    const ShipBlock* faces = parts.faces;
    if (!faces) {
        file.sink().show(messages::NoPolygons.box());
        return false;
    }

    // With no face near enough there is nowhere to put the attachment: it stays where it is.
    const auto nearest = nearestFace(*faces, *vertices, *position);
    if (!nearest)
        return false;

    shipfile::writeVec3(record, lay::attachment::Position, nearest->centre);
    if (options.rotate) {
        const auto m = orientationFromNormal(nearest->normal, options.back);
        for (std::size_t i = 0; i < m.size(); ++i)
            shipfile::writeF32(record, lay::attachment::Matrix + 4 * i, m[i]);
    }
    return true;
}

std::array<float, 9> orientationFromNormal(Vec3 n, bool back)
{
    std::array<float, 9> m{};
    if (-PoleLimit < n.z && n.z < PoleLimit) {
        m = {n.y, n.x, -n.x * n.z, -n.x, n.y, -n.y * n.z, 0.0f, n.z, n.x * n.x + n.y * n.y};
    } else {
        m = {n.y * n.y + n.z * n.z, n.x, 0.0f, -n.x * n.y, n.y, -n.z, -n.x * n.z, n.z, n.y};
    }
    if (back) {
        // The middle row stays as computed.
        for (const std::size_t i : {0u, 1u, 2u, 6u, 7u, 8u})
            m[i] = -m[i];
    }
    return m;
}

} // namespace editing
