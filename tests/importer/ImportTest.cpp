#include "exporter/ShipExport.h"
#include "importer/GltfReader.h"
#include "importer/ModelFile.h"
#include "importer/ObjReader.h"
#include "importer/ShipImport.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <cmath>
#include <cstring>
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

std::size_t nodeNamed(const importer::Model& model, const std::string& name)
{
    for (std::size_t i = 0; i < model.nodes.size(); ++i)
        if (model.nodes[i].name == name)
            return i;
    ADD_FAILURE() << name;
    return 0;
}

// Twelve triangles around a 10-unit cube at `centre`, in one material.
std::vector<importer::Triangle> cube(importer::Vec3f centre, std::size_t material)
{
    std::vector<importer::Triangle> out;
    const auto corner = [&](int k) {
        return importer::Vec3f{centre[0] + ((k & 1) ? 5.0f : -5.0f),
                               centre[1] + ((k & 2) ? 5.0f : -5.0f),
                               centre[2] + ((k & 4) ? 5.0f : -5.0f)};
    };
    const int sides[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : sides)
        for (const auto& t : {std::array{q[0], q[1], q[2]}, std::array{q[0], q[2], q[3]}}) {
            importer::Triangle triangle;
            triangle.material = material;
            for (std::size_t c = 0; c < 3; ++c)
                triangle.positions[c] = corner(t[c]);
            out.push_back(triangle);
        }
    return out;
}

shipfile::Bytes recordOf(const shipfile::ShipFile& file, std::uint32_t type, int nth, std::size_t r)
{
    return shipfile::nthBlockOfType(file, type, nth)->record(r);
}

TEST(ImportChanges, ScaledDeletedAddedAndMovedComeBackAndNothingElseChanges)
{
    Ship ship = sampleShip();
    ship.components[1].boxes = {Box{{0, 1, 2}, {20, 10, 20}}};
    const ByteVector image = buildShip(ship);
    RecordingSink sink;
    const auto before = shipfile::ShipFile::fromBytes(image, "before.shp", sink);
    Exported e(image, "ship.glb");
    importer::Model& model = *e.model;

    // The turret's node scaled by 2, the hull's first face deleted and a cube added in its
    // material, the engine flame moved 5 units to port.
    importer::Node& turret = model.nodes[nodeNamed(model, "Turret")];
    turret.local[0] = turret.local[5] = turret.local[10] = 2;
    auto& hull = model.meshes[static_cast<std::size_t>(model.nodes[nodeNamed(model, "Hull")].mesh)];
    const importer::Triangle deleted = hull.triangles.front();
    hull.triangles.erase(hull.triangles.begin());
    for (const importer::Triangle& t : cube({0, 0, 1000}, deleted.material))
        hull.triangles.push_back(t);
    model.nodes[nodeNamed(model, "Engine Flame 2")].local[12] += 5;

    const importer::ImportPlan plan = e.import();
    const shipfile::ShipFile& after = *e.file;

    const shipfile::ShipBlock* oldVertices = shipfile::nthBlockOfType(*before, lay::type::Vertices, 1);
    const shipfile::ShipBlock* newVertices = shipfile::nthBlockOfType(after, lay::type::Vertices, 1);
    ASSERT_EQ(newVertices->count(), oldVertices->count());
    for (std::size_t v = 0; v < oldVertices->count(); ++v) {
        const auto was = *shipfile::readVec3(oldVertices->record(v), 0);
        EXPECT_EQ(*shipfile::readVec3(newVertices->record(v), 0),
                  (shipfile::Vec3{was.x * 2, was.y * 2, was.z * 2}));
        EXPECT_TRUE(std::ranges::equal(oldVertices->record(v).subspan(12),
                                       newVertices->record(v).subspan(12)));
    }

    const shipfile::ShipBlock* oldFaces = shipfile::nthBlockOfType(*before, lay::type::Faces, 0);
    const shipfile::ShipBlock* newFaces = shipfile::nthBlockOfType(after, lay::type::Faces, 0);
    ASSERT_EQ(newFaces->count(), oldFaces->count() - 1 + 12);
    for (std::size_t f = 1; f < oldFaces->count(); ++f)
        EXPECT_TRUE(std::ranges::equal(oldFaces->record(f), newFaces->record(f - 1))) << f;
    const auto texture = shipfile::readU32(oldFaces->record(0), lay::face::TextureIndex);
    for (std::size_t f = oldFaces->count() - 1; f < newFaces->count(); ++f)
        EXPECT_EQ(shipfile::readU32(newFaces->record(f), lay::face::TextureIndex), texture);
    EXPECT_EQ(shipfile::nthBlockOfType(after, lay::type::Vertices, 0)->count(),
              shipfile::nthBlockOfType(*before, lay::type::Vertices, 0)->count() + 8);

    const auto flameWas = *shipfile::readVec3(recordOf(*before, lay::type::Attachments, 0, 2), 4);
    EXPECT_EQ(*shipfile::readVec3(recordOf(after, lay::type::Attachments, 0, 2), 4),
              (shipfile::Vec3{flameWas.x - 5, flameWas.y, flameWas.z}));
    for (const std::size_t j : {0u, 1u, 3u, 4u})
        EXPECT_TRUE(std::ranges::equal(recordOf(after, lay::type::Attachments, 0, j),
                                       recordOf(*before, lay::type::Attachments, 0, j)));
    EXPECT_TRUE(std::ranges::equal(shipfile::componentRecord(after, 0),
                                   shipfile::componentRecord(*before, 0)));

    // The turret's box grew with it; the hull's stayed.
    const auto box = shipfile::componentParts(after, 1).boxes->record(0);
    const auto boxWas = shipfile::componentParts(*before, 1).boxes->record(0);
    const auto halfWas = *shipfile::readVec3(boxWas, lay::box::HalfExtents);
    EXPECT_EQ(*shipfile::readVec3(box, lay::box::HalfExtents),
              (shipfile::Vec3{halfWas.x * 2, halfWas.y * 2, halfWas.z * 2}));
    EXPECT_TRUE(std::ranges::equal(box.subspan(0, lay::box::HalfExtents),
                                   boxWas.subspan(0, lay::box::HalfExtents)));
    EXPECT_EQ(*shipfile::readVec3(box, lay::box::Centre), (shipfile::Vec3{0, 2, 4}));
    EXPECT_TRUE(std::ranges::equal(shipfile::componentParts(after, 0).boxes->record(0),
                                   shipfile::componentParts(*before, 0).boxes->record(0)));

    ASSERT_EQ(plan.report.size(), 2u);
    EXPECT_EQ(plan.report[0].newFaces, 12u);
    EXPECT_EQ(plan.report[0].vertexBytesFromNearest, 8u);
    EXPECT_EQ(plan.report[0].attachmentsMoved, std::vector<std::string>{"Engine Flame 2"});
    EXPECT_TRUE(plan.report[1].transformed);
}

TEST(ImportChanges, ReshapedTrianglesKeepEachVertexRecord)
{
    // The pod's mesh stretched to twice its depth, as Blender's edit mode does it: the same
    // triangles, every corner moved; each side still faces the way it did.
    const ByteVector image = oddShip();
    Exported e(image, "ship.obj");
    importer::Model& model = *e.model;
    auto& pod = model.meshes[static_cast<std::size_t>(model.nodes[nodeNamed(model, "Pod")].mesh)];
    for (importer::Triangle& t : pod.triangles)
        for (importer::Vec3f& p : t.positions)
            p[2] *= 2;
    const importer::ImportPlan plan = e.import();
    RecordingSink sink;
    const auto before = shipfile::ShipFile::fromBytes(image, "before.shp", sink);
    const auto* was = shipfile::nthBlockOfType(*before, lay::type::Vertices, 2);
    const auto* now = shipfile::nthBlockOfType(*e.file, lay::type::Vertices, 2);
    ASSERT_EQ(now->count(), was->count());
    for (std::size_t v = 0; v < was->count(); ++v) {
        const auto p = *shipfile::readVec3(was->record(v), 0);
        EXPECT_EQ(*shipfile::readVec3(now->record(v), 0), (shipfile::Vec3{p.x, p.y, p.z * 2}));
        EXPECT_TRUE(std::ranges::equal(was->record(v).subspan(12), now->record(v).subspan(12)));
    }
    const auto* faces = shipfile::nthBlockOfType(*e.file, lay::type::Faces, 2);
    const auto* facesWere = shipfile::nthBlockOfType(*before, lay::type::Faces, 2);
    ASSERT_EQ(faces->count(), facesWere->count());
    for (std::size_t f = 0; f < faces->count(); ++f)
        EXPECT_TRUE(std::ranges::equal(faces->record(f), facesWere->record(f)));
    EXPECT_EQ(plan.report[2].verticesMoved, 8u);
    EXPECT_EQ(plan.report[2].newFaces, 0u);
    EXPECT_EQ(shipfile::nthBlockOfType(*e.file, lay::type::Vertices, 0)->count(),
              shipfile::nthBlockOfType(*before, lay::type::Vertices, 0)->count());
}

TEST(ImportChanges, AddedMeshesBecomeComponentsLikeTheOneNamed)
{
    for (const int like : {0, 1}) {
        SCOPED_TRACE(like);
        const ByteVector image = buildShip(sampleShip());
        Exported e(image, "ship.glb");
        importer::Model& model = *e.model;
        model.meshes.push_back({"Cube", cube({0, 0, 0}, importer::NoMaterial), 0});
        importer::Node node;
        node.name = "Cube.001";
        node.mesh = static_cast<int>(model.meshes.size() - 1);
        node.local[12] = 10; // x to port
        model.nodes.push_back(node);
        importer::Node flame;
        flame.name = "Engine Flame";
        flame.parent = static_cast<int>(model.nodes.size() - 1);
        model.nodes.push_back(flame);

        // Without --add the mesh is skipped and the ship stays as it was.
        importer::ImportPlan plan = importer::planImport(*e.file, model, {false, like});
        ASSERT_EQ(plan.matches.back().action, importer::MeshAction::Skip);
        EXPECT_EQ(importer::reportLines(plan).back(), "\"Cube.001\": skipped, names no component");

        plan = e.import({true, like});
        const shipfile::ShipFile& ship = *e.file;
        ASSERT_EQ(shipfile::componentCount(ship), 3);
        EXPECT_EQ(shipfile::componentName(ship, 2), "Cube");
        EXPECT_EQ(ship.componentBlock()->componentOrigin(2), (shipfile::Vec3{-10, 0, 0}));
        const auto record = shipfile::componentRecord(ship, 2);
        const auto model312 = shipfile::componentRecord(ship, like);
        EXPECT_TRUE(std::equal(record.begin() + 80, record.end(), model312.begin() + 80));
        EXPECT_EQ(shipfile::componentParts(ship, 2).attachments->count(), 1u);
        EXPECT_EQ(shipfile::componentParts(ship, 2).boxes->count(), 0u);
        EXPECT_EQ(shipfile::nthBlockOfType(ship, lay::type::Faces, 2)->count(), 12u);
        EXPECT_EQ(shipfile::nthBlockOfType(ship, lay::type::Vertices, 2)->count(), 8u);
        // The section has the blocks of the one it copies, but for the box face lists.
        std::vector<std::uint32_t> types, likeTypes;
        for (const auto* b = shipfile::componentParts(ship, 2).section; b; b = b->next())
            types.push_back(b->type);
        const shipfile::ComponentParts likeParts = shipfile::componentParts(ship, like);
        for (const auto* b = likeParts.section; b != likeParts.sectionEnd; b = b->next())
            likeTypes.push_back(b->type);
        EXPECT_EQ(types, likeTypes);
        EXPECT_TRUE(plan.report.back().added);
        EXPECT_EQ(plan.report.back().vertexBytesZero, 8u);
        EXPECT_EQ(plan.report.back().untextured, 12u);
    }
}

std::string base64(const std::vector<std::uint8_t>& bytes)
{
    static constexpr char Digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t n = std::uint32_t{bytes[i]} << 16 |
                                (i + 1 < bytes.size() ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        const std::size_t digits = std::min<std::size_t>(bytes.size() - i, 3) + 1;
        for (std::size_t k = 0; k < 4; ++k)
            out += k < digits ? Digits[(n >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// One triangle for a node "Hull": three float positions, then three 16-bit indices.
std::string gltf(const std::vector<float>& positions, const std::vector<std::uint16_t>& indices,
                 const std::string& positionCount = "3", const std::string& nodes = "")
{
    std::vector<std::uint8_t> buffer(positions.size() * 4 + indices.size() * 2);
    std::memcpy(buffer.data(), positions.data(), positions.size() * 4);
    std::memcpy(buffer.data() + positions.size() * 4, indices.data(), indices.size() * 2);
    return R"({"asset":{"version":"2.0"},"scenes":[{"nodes":[0]}],"nodes":[)" +
           (nodes.empty() ? std::string(R"({"name":"Hull","mesh":0})") : nodes) +
           R"(],"meshes":[{"name":"Hull","primitives":[{"attributes":{"POSITION":0},"indices":1}]}],)"
           R"("buffers":[{"byteLength":)" +
           std::to_string(buffer.size()) + R"(,"uri":"data:application/octet-stream;base64,)" +
           base64(buffer) + R"("}],"bufferViews":[{"buffer":0,"byteLength":)" +
           std::to_string(positions.size() * 4) + R"(},{"buffer":0,"byteOffset":)" +
           std::to_string(positions.size() * 4) + R"(,"byteLength":)" +
           std::to_string(indices.size() * 2) +
           R"(}],"accessors":[{"bufferView":0,"componentType":5126,"count":)" + positionCount +
           R"(,"type":"VEC3"},{"bufferView":1,"componentType":5123,"count":)" +
           std::to_string(indices.size()) + R"(,"type":"SCALAR"}]})";
}

TEST(ImportRefusal, DamagedModelsAreRefusedSayingWhatAndWhereAndNothingChanges)
{
    const std::vector<float> triangle = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::string tooMany = "v 0 0 0\nv 1 0 0\nv 0 1 0\no Hull\n";
    for (int i = 0; i < 65536; ++i)
        tooMany += "f 1 2 3\n";
    struct Case
    {
        const char* what;
        const char* file;
        std::string content;
        std::string says;
    };
    const std::vector<Case> cases = {
        {"broken JSON", "m.gltf", R"({"asset": {"version": "2.0")",
         "it is no glTF file the reader understands"},
        {"not glTF at all", "m.glb", "glTF but not really", "it is no glTF file"},
        {"accessor past its buffer", "m.gltf", gltf(triangle, {0, 1, 2}, "4"),
         "accessor 0 of mesh \"Hull\", primitive 0 reaches past the end of its buffer"},
        {"a huge count", "m.gltf", gltf(triangle, {0, 1, 2}, "4294967295"),
         "accessor 0 of mesh \"Hull\", primitive 0 reaches past the end of its buffer"},
        {"an index past the vertices", "m.gltf", gltf(triangle, {0, 1, 7}),
         "mesh \"Hull\", primitive 0 names vertex 7, past the vertices it has"},
        {"a NaN position", "m.gltf", gltf({0, 0, 0, NAN, 0, 0, 0, 1, 0}, {0, 1, 2}),
         "mesh \"Hull\", primitive 0 holds a number that is not finite (vertex 1)"},
        {"a node under itself", "m.gltf",
         gltf(triangle, {0, 1, 2}, "3", R"({"name":"Hull","mesh":0,"children":[0]})"),
         "node 0 is its own ancestor"},
        {"an OBJ position that is no number", "m.obj", "v 0 0 0\nv 1 nan 0\nv 0 1 0\n",
         "line 2 holds a number that is not finite (nan)"},
        {"an OBJ face past the vertices", "m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\no Hull\nf 1 2 9\n",
         "object \"Hull\", face 1 names vertex 9, past the vertices it has"},
        {"an OBJ face with a missing texture coordinate", "m.obj",
         "v 0 0 0\nv 1 0 0\nv 0 1 0\no Hull\nf 1/4 2/4 3/4\n",
         "object \"Hull\", face 1 names texture coordinate 4, which the file does not hold"},
        {"a mesh over the block limit", "m.obj", tooMany,
         "mesh \"Hull\" would make 65536 records, more than the 65,535 a block holds"},
        {"an empty file", "m.obj", "", "the file cannot be read"},
        {"a picture", "m.png", "png", "only glTF (.glb, .gltf) and OBJ (.obj) models"},
    };
    const ByteVector image = buildShip(sampleShip());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path path = dir.write(c.file, ByteVector(c.content.begin(), c.content.end()));
        RecordingSink sink;
        const auto ship = shipfile::ShipFile::fromBytes(image, "ship.shp", sink);
        std::string message;
        if (const auto model = importer::readModelFile(path, sink)) {
            const importer::ImportPlan plan = importer::planImport(*ship, *model, {});
            EXPECT_TRUE(plan.changes.empty() && plan.report.empty());
            EXPECT_FALSE(importer::applyImport(*ship, plan));
            message = importer::refusalMessage(path, plan.refusal).text;
        } else {
            ASSERT_EQ(sink.messages.size(), 1u);
            message = sink.messages[0].text;
            EXPECT_EQ(sink.messages[0].icon, shipfile::MessageIcon::Stop);
        }
        EXPECT_EQ(message.rfind("\"" + path.string() + "\" was not imported: ", 0), 0u) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(ship->serialise(), image);
    }
}

} // namespace
