#include "exporter/ShipExport.h"

#include "exporter/Messages.h"
#include "gamedata/Tcache.h"
#include "shipfile/Layout.h"
#include "shipfile/Messages.h"
#include "shipfile/ShipFile.h"
#include "tests/support/LoadedShip.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/ShipMaker.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <tiny_gltf.h>
#include <tiny_obj_loader.h>

namespace {

namespace fs = std::filesystem;
namespace lay = shipfile::layout;
namespace msg = shipfile::messages;
using namespace testsupport;

// A hull with an 8-bit and a 16-bit texture, a face shown from its back, a face pointing past
// its vertex block, one pointing past its texture names, two attachments and a box; its
// "...dest" wreck; and a wing that shares the hull's texture.
Ship testShip()
{
    Component hull;
    hull.name = "Hull";
    hull.origin = {10, 20, 30};
    hull.vertices = {{1, 2, 3}, {4, 2, 3}, {1, 5, 3}, {1, 2, 6}};
    hull.textures = {"HULL8", "glass16"};
    Face plain{0, 1, 2, 0};
    plain.u[0] = 0.3f, plain.v[0] = 0.6f;
    Face back{0, 2, 3, 1};
    back.cull = lay::face::CullFront;
    const Face pastVertices{0, 1, 9, 0};
    const Face pastNames{0, 1, 3, 7};
    hull.faces = {plain, back, pastVertices, pastNames};
    Attachment flame{2, {5, 6, 7}};
    const float quarterTurnAboutX[9] = {1, 0, 0, 0, 0, -1, 0, 1, 0};
    std::copy(std::begin(quarterTurnAboutX), std::end(quarterTurnAboutX), flame.matrix);
    flame.keepTemplateMatrix = false;
    hull.attachments = {Attachment{0, {1, 1, 1}}, flame};
    hull.boxes = {Box{{0, 0, 0}, {1, 2, 3}}};

    Component wreck = hull;
    wreck.name = "HullDEST";
    wreck.attachments.clear();

    Component wing;
    wing.name = "Wing";
    wing.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    wing.textures = {"hull8"};
    wing.faces = {Face{0, 1, 2, 0}};

    Ship ship;
    ship.components = {hull, wreck, wing};
    return ship;
}

struct Exported
{
    TempDir dir;
    RecordingSink sink;
    std::unique_ptr<shipfile::ShipFile> file;
    fs::path tcache;
    std::optional<exporter::ExportSummary> summary;

    explicit Exported(const Ship& ship = testShip())
    {
        file = shipfile::ShipFile::fromBytes(buildShip(ship), "test.shp", sink);
        tcache = dir.path() / "tcachehw.dat";
        std::vector<std::uint8_t> distinctIndexes(16);
        for (std::size_t i = 0; i < distinctIndexes.size(); ++i)
            distinctIndexes[i] = static_cast<std::uint8_t>(i * 13);
        std::vector<std::uint16_t> glass(16, 0xF800);
        glass[5] = 0; // the transparent colour
        TcacheBuilder()
            .add8("hull8", 4, 4, distinctIndexes)
            .add16("GLASS16", 4, 4, glass)
            .write(tcache);
    }

    fs::path run(const std::string& name, exporter::ExportOptions options = {})
    {
        if (options.texturePath.empty())
            options.texturePath = tcache;
        const fs::path out = dir.path() / name;
        summary = exporter::exportShip(*file, out, options, sink);
        return out;
    }
};

tinygltf::Model loadGltf(const fs::path& path)
{
    tinygltf::TinyGLTF loader;
    tinygltf::Model model;
    std::string error, warning;
    const bool loaded = path.extension() == ".glb"
                            ? loader.LoadBinaryFromFile(&model, &error, &warning, path.string())
                            : loader.LoadASCIIFromFile(&model, &error, &warning, path.string());
    EXPECT_TRUE(loaded) << error;
    return model;
}

const tinygltf::Node& nodeNamed(const tinygltf::Model& model, const std::string& name)
{
    const auto found = std::ranges::find(model.nodes, name, &tinygltf::Node::name);
    EXPECT_NE(found, model.nodes.end()) << name;
    return found == model.nodes.end() ? model.nodes.front() : *found;
}

std::vector<float> floats(const tinygltf::Model& model, int accessorIndex)
{
    const tinygltf::Accessor& accessor = model.accessors[static_cast<std::size_t>(accessorIndex)];
    const tinygltf::BufferView& view =
        model.bufferViews[static_cast<std::size_t>(accessor.bufferView)];
    const std::size_t width = accessor.type == TINYGLTF_TYPE_VEC2 ? 2 : 3;
    std::vector<float> out(accessor.count * width);
    std::memcpy(out.data(),
                model.buffers[static_cast<std::size_t>(view.buffer)].data.data() + view.byteOffset +
                    accessor.byteOffset,
                out.size() * sizeof(float));
    return out;
}

const tinygltf::Primitive& primitiveOf(const tinygltf::Model& model, const tinygltf::Node& node,
                                       const std::string& materialName)
{
    const auto& primitives = model.meshes[static_cast<std::size_t>(node.mesh)].primitives;
    const auto found = std::ranges::find_if(primitives, [&](const tinygltf::Primitive& p) {
        return model.materials[static_cast<std::size_t>(p.material)].name == materialName;
    });
    EXPECT_NE(found, primitives.end()) << materialName;
    return *found;
}

TEST(GltfExport, NodesTrianglesAttachmentsAndTexelsMatchTheShip)
{
    for (const std::string name : {"ship.glb", "ship.gltf"}) {
        SCOPED_TRACE(name);
        Exported e;
        const tinygltf::Model model = loadGltf(e.run(name));
        ASSERT_TRUE(e.summary);
        EXPECT_EQ(e.summary->triangles, 4u); // three of the hull's four faces and the wing's
        EXPECT_EQ(e.summary->skippedFaces, 1u);
        EXPECT_TRUE(e.sink.messages.empty());

        // The wreck is left out, as in the view; each attachment hangs under its component.
        const auto& roots = model.scenes[0].nodes;
        ASSERT_EQ(roots.size(), 2u);
        const tinygltf::Node& hull = model.nodes[static_cast<std::size_t>(roots[0])];
        EXPECT_EQ(hull.name, "Hull");
        EXPECT_EQ(model.nodes[static_cast<std::size_t>(roots[1])].name, "Wing");
        EXPECT_EQ(hull.translation, (std::vector<double>{-10, -20, 30}));
        ASSERT_EQ(hull.children.size(), 2u); // no boxes unless asked
        EXPECT_EQ(model.nodes[static_cast<std::size_t>(hull.children[0])].name,
                  "Missile Mount Point 0");

        const tinygltf::Node& flame = nodeNamed(model, "Engine Flame 1");
        EXPECT_EQ(flame.translation, (std::vector<double>{-5, -6, 7}));
        ASSERT_EQ(flame.rotation.size(), 4u);
        const double half = std::sqrt(0.5); // a quarter turn about x stays one, the other way
        EXPECT_NEAR(flame.rotation[0], -half, 1e-6);
        EXPECT_NEAR(flame.rotation[3], half, 1e-6);
        EXPECT_EQ(flame.extras.Get("kind").GetNumberAsInt(), 2);
        EXPECT_EQ(flame.extras.Get("position").Get(2).GetNumberAsDouble(), 7.0);

        // Positions in the component's frame after the turn; the face shown from its back is
        // turned over, so its front shows in a one-sided material.
        const auto& plain = primitiveOf(model, hull, "HULL8");
        const auto positions = floats(model, plain.attributes.at("POSITION"));
        EXPECT_EQ(positions, (std::vector<float>{-1, -2, 3, -4, -2, 3, -1, -5, 3}));
        const auto& glass = primitiveOf(model, hull, "glass16");
        EXPECT_EQ(floats(model, glass.attributes.at("POSITION")),
                  (std::vector<float>{-1, -2, 3, -1, -2, 6, -1, -5, 3}));
        const auto normal = floats(model, glass.attributes.at("NORMAL"));
        EXPECT_EQ((std::vector<float>(normal.begin(), normal.begin() + 3)),
                  (std::vector<float>{1, 0, 0}));
        EXPECT_FALSE(model.materials[static_cast<std::size_t>(glass.material)].doubleSided);
        EXPECT_EQ(model.materials[static_cast<std::size_t>(glass.material)].alphaMode, "MASK");
        // A face naming no texture record gets the plain material.
        const auto& untextured = primitiveOf(model, hull, "Untextured");
        EXPECT_EQ(model.materials[static_cast<std::size_t>(untextured.material)]
                      .pbrMetallicRoughness.baseColorTexture.index,
                  -1);

        // The corner's u and v as stored, and the texture as the view decodes it.
        const auto uv = floats(model, plain.attributes.at("TEXCOORD_0"));
        EXPECT_EQ(uv[0], 0.3f);
        EXPECT_EQ(uv[1], 0.6f);
        const auto& material = model.materials[static_cast<std::size_t>(plain.material)];
        const auto& texture = model.textures[static_cast<std::size_t>(
            material.pbrMetallicRoughness.baseColorTexture.index)];
        const tinygltf::Image& image = model.images[static_cast<std::size_t>(texture.source)];
        const gamedata::TcacheLookup view = gamedata::readTcacheTexture(e.tcache, "hull8");
        EXPECT_EQ(image.width, 4);
        EXPECT_TRUE(std::ranges::equal(image.image, view.texture.rgba));
        // The wing's "hull8" shares the hull's material: one per texture name, ignoring case.
        EXPECT_EQ(primitiveOf(model, nodeNamed(model, "Wing"), "HULL8").material, plain.material);
    }
}

TEST(GltfExport, DestComponentsBoxesAndFacesWithoutCullSelector)
{
    // The wing's faces in records that end before the selector: the view draws them from both
    // sides.
    Exported e;
    const shipfile::ShipBlock* faces = shipfile::nthBlockOfType(*e.file, lay::type::Faces, 2);
    ASSERT_NE(faces, nullptr);
    withRecordSize(*e.file, faces, lay::face::CullSelector);
    const tinygltf::Model model = loadGltf(e.run("ship.glb", {{}, true, true}));
    ASSERT_EQ(model.scenes[0].nodes.size(), 3u);
    EXPECT_EQ(model.nodes[static_cast<std::size_t>(model.scenes[0].nodes[1])].name, "HullDEST");
    const tinygltf::Node& box = nodeNamed(model, "Collision Box 0");
    const auto& primitive = model.meshes[static_cast<std::size_t>(box.mesh)].primitives[0];
    const auto corners = floats(model, primitive.attributes.at("POSITION"));
    EXPECT_EQ((std::vector<float>(corners.begin(), corners.begin() + 3)),
              (std::vector<float>{1, 2, -3})); // corner (-1, -2, -3), turned
    EXPECT_EQ(model.accessors[static_cast<std::size_t>(primitive.indices)].count, 36u);

    const auto& wing = primitiveOf(model, nodeNamed(model, "Wing"), "hull8 (two-sided)");
    EXPECT_TRUE(model.materials[static_cast<std::size_t>(wing.material)].doubleSided);
}

TEST(ExportNames, NoTwoNodesOrObjectsShareAName)
{
    // Blender renames a duplicate on import, which would hide which component or record a
    // node stands for: two components named alike, each with an engine flame and a box.
    Component gun;
    gun.name = "Gun";
    gun.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    gun.faces = {Face{0, 1, 2, 0}};
    gun.attachments = {Attachment{2, {}}};
    gun.boxes = {Box{}};
    Ship ship;
    ship.components = {gun, gun};
    Exported e(ship);
    const tinygltf::Model model = loadGltf(e.run("ship.glb", {{}, true, false}));
    std::vector<std::string> names;
    for (const tinygltf::Node& node : model.nodes)
        names.push_back(node.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Engine Flame 0", "Collision Box 0", "Gun",
                                               "Engine Flame 0.001", "Collision Box 0.001",
                                               "Gun.001"}));

    tinyobj::ObjReader reader;
    ASSERT_TRUE(reader.ParseFromFile(e.run("ship.obj", {{}, true, false}).string()));
    names.clear();
    for (const tinyobj::shape_t& shape : reader.GetShapes())
        names.push_back(shape.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Gun", "Gun Collision Box 0", "Gun.001",
                                               "Gun.001 Collision Box 0"}));
}

TEST(ObjExport, ReadsBackWithTheSameCountsAndPositions)
{
    Exported e;
    const fs::path out = e.run("ship.obj");
    tinyobj::ObjReader reader;
    ASSERT_TRUE(reader.ParseFromFile(out.string())) << reader.Error();
    const auto& attrib = reader.GetAttrib();
    const auto& shapes = reader.GetShapes();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].name, "Hull");
    EXPECT_EQ(shapes[0].mesh.num_face_vertices.size() + shapes[1].mesh.num_face_vertices.size(),
              4u);
    EXPECT_EQ(attrib.vertices.size(), 4u * 3 * 3);
    // The hull's origin applied, then the turn; OBJ counts v from the bottom of the picture.
    EXPECT_EQ((std::vector<float>(attrib.vertices.begin(), attrib.vertices.begin() + 3)),
              (std::vector<float>{-11, -22, 33}));
    EXPECT_EQ(attrib.texcoords[0], 0.3f);
    EXPECT_FLOAT_EQ(attrib.texcoords[1], 0.4f);

    const auto& materials = reader.GetMaterials();
    const auto hull8 = std::ranges::find(materials, "HULL8", &tinyobj::material_t::name);
    ASSERT_NE(hull8, materials.end());
    EXPECT_EQ(hull8->diffuse_texname, "ship_HULL8.png");
    EXPECT_TRUE(fs::exists(e.dir.path() / "ship_HULL8.png"));
    const auto glass = std::ranges::find(materials, "glass16", &tinyobj::material_t::name);
    ASSERT_NE(glass, materials.end());
    EXPECT_EQ(glass->alpha_texname, "ship_glass16.png");
}

TEST(ExportTextures, UnreadableCacheExportsUntexturedWithOneWarning)
{
    struct Case
    {
        const char* what;
        std::function<void(const fs::path&)> damage;
        bool unreadable; // the file as a whole, rather than its entries
    };
    const std::vector<Case> cases = {
        {"missing", [](const fs::path& p) { fs::remove(p); }, true},
        {"no entries", [](const fs::path& p) { TcacheBuilder().claimCount(0).write(p); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Exported e;
        c.damage(e.tcache);
        const tinygltf::Model model = loadGltf(e.run("ship.glb"));
        ASSERT_TRUE(e.summary);
        ASSERT_EQ(e.sink.messages.size(), 1u);
        EXPECT_EQ(e.sink.messages[0].text,
                  c.unreadable ? msg::formatText(exporter::messages::ExportTexturesUnavailable.text,
                                                 e.tcache.string())
                               : msg::formatText(exporter::messages::ExportTexturesMissing.text,
                                                 "HULL8, glass16"));
        EXPECT_EQ(e.sink.messages[0].icon, shipfile::MessageIcon::Warning);
        EXPECT_TRUE(model.images.empty());
        EXPECT_EQ(model.materials.size(), 3u);
    }
}

TEST(ExportFiles, FailureLeavesNoFileAndSaysSo)
{
    Exported e;
    // A folder that is not there, and a name that is no export format.
    for (const std::string name : {"missing/ship.glb", "ship.png"}) {
        e.sink.messages.clear();
        const fs::path out = e.run(name);
        EXPECT_FALSE(e.summary);
        ASSERT_EQ(e.sink.messages.size(), 1u);
        EXPECT_EQ(e.sink.messages[0].text,
                  msg::formatText(exporter::messages::ExportFailed.text, out.string()));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(e.dir.path()), fs::directory_iterator()), 1);

    // A second export replaces the first, and leaves nothing else behind.
    e.run("ship.gltf");
    e.run("ship.gltf");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(e.dir.path()))
        names.push_back(entry.path().filename().string());
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"ship.bin", "ship.gltf", "ship_HULL8.png",
                                               "ship_glass16.png", "tcachehw.dat"}));
}

} // namespace
