#include "exporter/ShipExport.h"
#include "importer/GltfReader.h"
#include "importer/ModelFile.h"
#include "importer/ObjReader.h"
#include "importer/ShipImport.h"
#include "shipfile/Catalogue.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
namespace lay = shipfile::layout;
using namespace testsupport;

struct NamedShip
{
    std::string name;
    ByteVector image;
};

std::vector<NamedShip> ships()
{
    return {{"fighter", buildShip(demoFighter())},
            {"capital ship", buildShip(demoCapitalShip())},
            {"cargo pod", buildShip(demoCargoPod())},
            {"odd ship", oddShip()}};
}

// The ship exported to `name` in a fresh folder, and read back as a model.
struct Exported
{
    TempDir dir;
    RecordingSink sink;
    std::unique_ptr<shipfile::ShipFile> file;
    std::optional<importer::Model> model;

    Exported(const ByteVector& image, const std::string& name, exporter::ExportOptions options = {})
        : file(shipfile::ShipFile::fromBytes(image, "ship.shp", sink))
    {
        const fs::path path = dir / name;
        EXPECT_TRUE(exporter::exportShip(*file, path, options, sink));
        model = importer::readModelFile(path, sink);
        EXPECT_TRUE(model);
    }

    importer::ImportPlan import(const importer::ImportOptions& options = {})
    {
        importer::ImportPlan plan = importer::planImport(*file, *model, options);
        EXPECT_EQ(plan.refusal, "");
        EXPECT_TRUE(importer::applyImport(*file, plan));
        return plan;
    }
};

TEST(ImportRoundTrip, AnExportBroughtBackUnchangedGivesTheShipByteForByte)
{
    for (const NamedShip& ship : ships())
        for (const std::string name : {"ship.glb", "ship.gltf", "ship.obj"})
            for (const bool boxes : {false, true}) {
                SCOPED_TRACE(ship.name + " " + name + (boxes ? " with boxes" : ""));
                Exported e(ship.image, name, {{}, boxes, false});
                const importer::ImportPlan plan = e.import();
                EXPECT_EQ(e.file->serialise(), ship.image);
                // Every component the export wrote was found again by its name.
                EXPECT_EQ(plan.report.size(), exporter::buildScene(*e.file, {}).components.size());
                for (const importer::MeshMatch& m : plan.matches)
                    EXPECT_EQ(m.action, importer::MeshAction::Replace) << m.name;
                for (const importer::ComponentReport& r : plan.report) {
                    EXPECT_FALSE(r.geometryReplaced) << r.name;
                    EXPECT_TRUE(r.attachmentsMoved.empty() && r.attachmentsAdded.empty());
                }
            }
}

} // namespace
