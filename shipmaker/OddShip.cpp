#include "shipmaker/OddShip.h"

#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <utility>

namespace shipmaker {

namespace lay = shipfile::layout;

namespace {

void fillPattern(shipfile::ShipBlock& block, std::initializer_list<std::pair<std::size_t, std::size_t>> ranges)
{
    for (std::size_t r = 0; r < block.count(); ++r) {
        const shipfile::MutableBytes record = block.record(r);
        for (const auto& [from, to] : ranges)
            for (std::size_t i = from; i < to && i < record.size(); ++i)
                record[i] = static_cast<std::uint8_t>(0xA5 ^ (r * 7 + i));
    }
}

} // namespace

ByteVector oddShip()
{
    Component hull;
    hull.name = "Hull";
    hull.origin = {10.5f, -20.25f, 30.125f};
    hull.textures = {"HULL8", "glass16"};
    addCuboid(hull, {0, 0, 0}, {20, 10, 40}, 0);
    hull.faces[1].cull = lay::face::CullFront;
    hull.faces[1].texture = 1;
    hull.faces[2].texture = 7; // past the names: untextured
    hull.vertices.push_back(hull.vertices[0]);
    hull.faces[4].a = hull.faces[4].a == 0 ? 8 : hull.faces[4].a;
    hull.vertices.push_back({99, 99, 99});
    hull.faces.push_back(Face{0, 0, 0, 0});
    hull.attachments = {Attachment{2, {1, 2, 3}}, Attachment{3, {-4, 5, 6}, -1, 2}};
    hull.boxes = {Box{{0, 0, 0}, {10, 5, 20}}};

    Component twin = hull;
    twin.origin = {-10, 0, 5};
    twin.faces.pop_back();
    twin.attachments = {Attachment{2, {0, 1, 0}}};

    Component pod;
    pod.name = "Pod";
    pod.withTextureBlock = false;
    addCuboid(pod, {0, 5, 0}, {4, 4, 4}, 0);

    Ship ship;
    ship.components = {hull, twin, pod};
    shipfile::SilentSink sink;
    const auto file = shipfile::ShipFile::fromBytes(buildShip(ship), "odd.shp", sink);

    // The twin's faces in records that end before the selector.
    shipfile::ShipBlock* twinFaces = shipfile::nthBlockOfType(*file, lay::type::Faces, 1);
    auto cut = std::make_unique<shipfile::ShipBlock>(lay::type::Faces, lay::face::CullSelector,
                                                     twinFaces->count());
    for (std::size_t r = 0; r < twinFaces->count(); ++r) {
        const shipfile::Bytes record = twinFaces->record(r);
        std::copy_n(record.begin(), lay::face::CullSelector, cut->record(r).begin());
    }
    shipfile::ShipBlock* before = &file->head();
    while (before->next() != twinFaces)
        before = before->next();
    file->removeAfter(*before);
    file->insertAfter(*before, std::move(cut));

    for (shipfile::ShipBlock* b = file->first(); b; b = b->next()) {
        switch (b->type) {
        case lay::type::Components:
            fillPattern(*b, {{52, 64}, {80, 212}, {216, 240}, {244, 260}, {264, 312}});
            break;
        case lay::type::Faces:
            fillPattern(*b, {{8, 12}, {60, 72}, {76, 80}});
            break;
        case lay::type::Vertices:
            fillPattern(*b, {{12, 32}});
            break;
        case lay::type::Attachments:
            fillPattern(*b, {{56, 72}, {84, 100}, {104, 168}});
            break;
        default:
            break;
        }
    }
    shipfile::ShipBlock* hullFaces = shipfile::nthBlockOfType(*file, lay::type::Faces, 0);
    shipfile::writeU32(hullFaces->record(hullFaces->count() - 1), lay::face::DummyMarker,
                       lay::face::DummyMarkerValue);
    return file->serialise();
}

} // namespace shipmaker
