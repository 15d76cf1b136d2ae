#include "editing/Scaling.h"

#include "editing/NumberText.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"

#include <algorithm>
#include <cmath>

namespace editing {

using shipfile::MutableBytes;
using shipfile::ShipBlock;
using shipfile::ShipFile;
using shipfile::Vec3;
namespace lay = shipfile::layout;

namespace {

struct Scaler
{
    float factor;
    ScaleDirection direction;
    bool flames;

    float operator()(float v) const
    {
        return direction == ScaleDirection::Larger ? v * factor : v / factor;
    }

    void scaleVec3(MutableBytes record, std::size_t offset) const
    {
        if (const auto v = shipfile::readVec3(record, offset))
            shipfile::writeVec3(record, offset, Vec3{(*this)(v->x), (*this)(v->y), (*this)(v->z)});
    }

    void scaleBlock(ShipBlock& block) const
    {
        for (std::size_t i = 0; i < block.count(); ++i) {
            const MutableBytes record = block.record(i);
            switch (block.type) {
            case lay::type::Components:
                scaleVec3(record, lay::component::Origin);
                break;
            case lay::type::Vertices:
                scaleVec3(record, lay::vertex::Position);
                break;
            case lay::type::Attachments:
                scaleVec3(record, lay::attachment::Position);
                // Engine flames grow with the ship unless asked not to; other attachments keep
                // their size.
                if (flames && shipfile::readI32(record, lay::attachment::Kind) ==
                    static_cast<std::int32_t>(lay::AttachmentKind::EngineFlame))
                    scaleVec3(record, lay::attachment::Size);
                break;
            default:
                return;
            }
        }
    }
};

void writeNewBox(ShipBlock& box, Vec3 centre, Vec3 halfExtents)
{
    box.clearRecords();
    box.resizeRecords(1);
    const MutableBytes record = box.record(0);
    shipfile::writeU32(record, lay::box::Unused0, 0);
    for (std::size_t i = 0; i < 9; ++i)
        shipfile::writeF32(record, lay::box::Matrix + 4 * i, i % 4 == 0 ? 1.0f : 0.0f);
    shipfile::writeVec3(record, lay::box::HalfExtents, halfExtents);
    shipfile::writeVec3(record, lay::box::Centre, centre);
    shipfile::writeI32(record, lay::box::Unused64, -1);
    shipfile::writeI32(record, lay::box::Unused68, -1);
}

std::vector<Vec3> positions(const ShipBlock& vertices)
{
    std::vector<Vec3> out;
    for (std::size_t i = 0; i < vertices.count(); ++i)
        if (const auto v = shipfile::readVec3(vertices.record(i), lay::vertex::Position))
            out.push_back(*v);
    return out;
}

// Mean of the positions, summed and divided in single precision; the origin when there are
// none.
Vec3 centreOf(const std::vector<Vec3>& points)
{
    Vec3 sum;
    for (const Vec3& p : points) {
        sum.x += p.x;
        sum.y += p.y;
        sum.z += p.z;
    }
    if (points.empty())
        return sum;
    const auto n = static_cast<float>(points.size());
    return Vec3{sum.x / n, sum.y / n, sum.z / n};
}

Vec3 halfExtentsOf(const std::vector<Vec3>& points, Vec3 centre)
{
    Vec3 extents;
    for (const Vec3& p : points) {
        extents.x = std::max(extents.x, std::fabs(p.x - centre.x));
        extents.y = std::max(extents.y, std::fabs(p.y - centre.y));
        extents.z = std::max(extents.z, std::fabs(p.z - centre.z));
    }
    return extents;
}

// The type-8 face list goes before the first type-11, type-12 or type-14 block after the
// vertex block, and at the latest at the end of the section.
ShipBlock* faceListPlace(ShipBlock* vertices, const ShipBlock* sectionEnd)
{
    ShipBlock* place = vertices;
    while (place->next() && place->next() != sectionEnd) {
        const std::uint32_t type = place->next()->type;
        if (type == lay::type::AnimationFrames || type == lay::type::Marker12 ||
            type == lay::type::Block14)
            break;
        place = place->next();
    }
    return place;
}

} // namespace

bool scaleShip(ShipFile& file, float factor, ScaleDirection direction, bool typeOneOnly,
               int selectedComponent, bool flames)
{
    if (file.empty() || !std::isfinite(factor) || !(factor > 0.0f))
        return false;
    if (typeOneOnly && selectedComponent < 0)
        return false;
    const Scaler scale{factor, direction, flames};
    int section = -1;
    for (ShipBlock* b = file.first(); b; b = b->next()) {
        if (b->type == lay::type::SectionStart)
            ++section;
        // With type-1 only, the components block (before every section) is never scaled.
        if (!typeOneOnly || section == selectedComponent)
            scale.scaleBlock(*b);
    }
    return true;
}

std::optional<float> parseScaleFactor(std::string_view text)
{
    const auto value = parseReal(text);
    if (!value)
        return std::nullopt;
    const auto factor = static_cast<float>(*value);
    if (!(factor > 0.0f))
        return std::nullopt;
    return factor;
}

std::optional<int> parseZoomRange(std::string_view text)
{
    const auto value = parseInteger(text);
    if (!value || *value < 1)
        return std::nullopt;
    return *value;
}

bool createBox(ShipFile& file, int component)
{
    if (file.empty() || component < 0)
        return false;
    const shipfile::EditableComponentParts parts = shipfile::componentParts(file, component);
    ShipBlock* box = parts.boxes;
    if (!box || box->count() != 0 || box->recordSize < lay::box::RecordSize)
        return false;

    ShipBlock* vertices = parts.vertices;
    if (!vertices) {
        // Nothing to measure: the box stays empty-sized, with no face list.
        writeNewBox(*box, {}, {});
        return true;
    }
    const auto points = positions(*vertices);
    const Vec3 centre = centreOf(points);
    writeNewBox(*box, centre, halfExtentsOf(points, centre));

    // The face list goes into the component's own section, listing its faces; a component
    // whose geometry is not in its section gets none.
    const ShipBlock* faces = parts.faces;
    if (faces && parts.inSection(vertices) && parts.inSection(faces)) {
        auto list = std::make_unique<ShipBlock>(lay::type::BoxFaceList,
                                                lay::boxFaceList::RecordSize, faces->count());
        for (std::uint32_t i = 0; i < faces->count(); ++i)
            shipfile::writeU32(list->record(i), 0, i);
        file.insertAfter(*faceListPlace(vertices, parts.sectionEnd), std::move(list));
    }
    shipfile::setShipClass(file, 1);
    return true;
}

bool clearBoxes(ShipFile& file, int component)
{
    if (file.empty() || component < 0)
        return false;
    const shipfile::EditableComponentParts parts = shipfile::componentParts(file, component);
    ShipBlock* box = parts.boxes;
    if (!box || box->count() == 0)
        return false;
    box->clearRecords();

    ShipBlock* before = box;
    while (before->next() && before->next() != parts.sectionEnd &&
           before->next()->type != lay::type::BoxFaceList)
        before = before->next();
    while (before->next() && before->next()->type == lay::type::BoxFaceList)
        file.removeAfter(*before);
    return true;
}

} // namespace editing
