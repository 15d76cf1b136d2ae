// A model brought into a ship: the first byte says how to read the rest (0 .glb, 1 .gltf,
// 2 .obj; bit 2 adds meshes that name no component), the rest is the model file. Reading must
// never crash; a refused plan changes nothing; an applied one leaves a ship that saves and
// loads back to the same bytes, with its pointers on the chain.
#include "fuzz/FuzzCheck.h"
#include "importer/GltfReader.h"
#include "importer/ObjReader.h"
#include "importer/ShipImport.h"
#include "shipfile/MessageSink.h"
#include "shipfile/ShipFile.h"
#include "shipmaker/ShipBuilder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t selector = data[0];
    const shipfile::Bytes model(data + 1, size - 1);
    std::string refusal;
    std::optional<importer::Model> read;
    switch (selector & 3) {
    case 0:
    case 1:
        read = importer::readGltf(model, (selector & 3) == 0, {}, refusal);
        break;
    default:
        read = importer::readObj(
            std::string_view(reinterpret_cast<const char*>(model.data()), model.size()), refusal);
        break;
    }
    fuzz::check(read.has_value() == refusal.empty(), "a model is read or refused with a reason");
    if (!read)
        return 0;

    static const shipmaker::ByteVector image = shipmaker::buildShip(shipmaker::sampleShip());
    shipfile::SilentSink sink;
    const auto ship = shipfile::ShipFile::fromBytes(image, "fuzz.shp", sink);
    importer::ImportOptions options;
    options.addNew = (selector & 4) != 0;
    const importer::ImportPlan plan = importer::planImport(*ship, *read, options);
    (void)importer::reportLines(plan);
    const bool applied = importer::applyImport(*ship, plan);
    fuzz::check(applied != plan.refused(), "only a plan that is not refused applies");
    const auto saved = ship->serialise();
    if (!applied) {
        fuzz::check(saved == image, "a refused import changes nothing");
        return 0;
    }
    const auto again = shipfile::ShipFile::fromBytes(saved, "again.shp", sink);
    fuzz::check(again->serialise() == saved, "the imported ship loads back to itself");
    fuzz::check(ship->componentBlock() && again->componentBlock() &&
                    ship->componentBlock()->count() == again->componentBlock()->count(),
                "the component table holds together");
    return 0;
}
