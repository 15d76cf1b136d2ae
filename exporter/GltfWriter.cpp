#include "exporter/GltfWriter.h"

#include "exporter/ExportScene.h"
#include "exporter/OutputFiles.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <sstream>
#include <tiny_gltf.h>

namespace exporter {

namespace {

constexpr const char* Generator = "Korvex";
constexpr const char* PngMime = "image/png";

tinygltf::Value numbers(std::initializer_list<float> values)
{
    tinygltf::Value::Array out;
    for (const float v : values)
        out.emplace_back(static_cast<double>(v));
    return tinygltf::Value(out);
}

// Builds the model: every array goes into one buffer, each in a view of its own.
class ModelBuilder
{
public:
    ModelBuilder(const ExportScene& scene, const std::string& stem, bool binary)
        : m_scene(scene), m_stem(stem), m_binary(binary)
    {
    }

    tinygltf::Model build()
    {
        m_model.asset.version = "2.0";
        m_model.asset.generator = Generator;
        m_model.asset.extras = tinygltf::Value(
            tinygltf::Value::Object{{"axes", tinygltf::Value(std::string(AxesNote))}});
        m_model.buffers.emplace_back();

        addPictures();
        addMaterials();
        tinygltf::Scene gltfScene;
        for (const ComponentNode& component : m_scene.components)
            gltfScene.nodes.push_back(addComponent(component));
        m_model.scenes.push_back(gltfScene);
        m_model.defaultScene = 0;

        // A buffer may not be empty: a ship without triangles or textures has none.
        if (m_model.buffers[0].data.empty())
            m_model.buffers.clear();
        else if (!m_binary)
            m_model.buffers[0].uri = m_stem + ".bin";
        return std::move(m_model);
    }

private:
    int addView(const void* data, std::size_t size, int target)
    {
        auto& bytes = m_model.buffers[0].data;
        bytes.resize((bytes.size() + 3) / 4 * 4, 0); // accessors start on a 4-byte boundary
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = bytes.size();
        view.byteLength = size;
        view.target = target;
        const auto* first = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), first, first + size);
        m_model.bufferViews.push_back(view);
        return static_cast<int>(m_model.bufferViews.size() - 1);
    }

    // A float accessor over `count` elements of `width` components, with min and max.
    int addFloats(const std::vector<float>& values, int type, std::size_t width)
    {
        tinygltf::Accessor accessor;
        accessor.bufferView =
            addView(values.data(), values.size() * sizeof(float), TINYGLTF_TARGET_ARRAY_BUFFER);
        accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        accessor.type = type;
        accessor.count = values.size() / width;
        accessor.minValues.assign(width, std::numeric_limits<double>::max());
        accessor.maxValues.assign(width, std::numeric_limits<double>::lowest());
        for (std::size_t i = 0; i < values.size(); ++i) {
            double& low = accessor.minValues[i % width];
            double& high = accessor.maxValues[i % width];
            low = std::min(low, static_cast<double>(values[i]));
            high = std::max(high, static_cast<double>(values[i]));
        }
        m_model.accessors.push_back(accessor);
        return static_cast<int>(m_model.accessors.size() - 1);
    }

    void addPictures()
    {
        for (const Picture& picture : m_scene.pictures) {
            tinygltf::Image image;
            image.name = picture.fileStem;
            if (m_binary) {
                image.bufferView = addView(picture.png.data(), picture.png.size(), 0);
                image.mimeType = PngMime;
            } else {
                image.uri = pictureFileName(m_stem, picture);
            }
            m_model.images.push_back(image);
            tinygltf::Texture texture;
            texture.source = static_cast<int>(m_model.images.size() - 1);
            texture.sampler = 0;
            m_model.textures.push_back(texture);
        }
        if (!m_scene.pictures.empty()) {
            // As the view draws: linear filtering, repeating texture coordinates.
            tinygltf::Sampler sampler;
            sampler.magFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
            sampler.minFilter = TINYGLTF_TEXTURE_FILTER_LINEAR;
            sampler.wrapS = TINYGLTF_TEXTURE_WRAP_REPEAT;
            sampler.wrapT = TINYGLTF_TEXTURE_WRAP_REPEAT;
            m_model.samplers.push_back(sampler);
        }
    }

    void addMaterials()
    {
        for (const Material& material : m_scene.materials) {
            tinygltf::Material out;
            out.name = material.name;
            // The view has no lighting model: a rough, non-metallic surface in the texture's
            // own colours comes closest.
            out.pbrMetallicRoughness.metallicFactor = 0.0;
            out.pbrMetallicRoughness.roughnessFactor = 1.0;
            if (material.picture)
                out.pbrMetallicRoughness.baseColorTexture.index =
                    static_cast<int>(*material.picture);
            out.doubleSided = material.doubleSided;
            if (material.translucent) {
                out.alphaMode = "BLEND";
                out.pbrMetallicRoughness.baseColorFactor = {1.0, 1.0, 1.0, 0.25};
            } else if (material.cutout && material.picture) {
                // Texels are either clear or solid, so a cut-out needs no sorting.
                out.alphaMode = "MASK";
                out.alphaCutoff = 0.5;
            }
            m_model.materials.push_back(out);
        }
    }

    int addComponent(const ComponentNode& component)
    {
        tinygltf::Node node;
        node.name = component.name;
        node.translation = {component.translation[0], component.translation[1],
                            component.translation[2]};
        if (!component.primitives.empty())
            node.mesh = addComponentMesh(component);
        for (const AttachmentNode& attachment : component.attachments)
            node.children.push_back(addAttachment(attachment));
        for (const BoxNode& box : component.boxes)
            node.children.push_back(addBox(box));
        m_model.nodes.push_back(node);
        return static_cast<int>(m_model.nodes.size() - 1);
    }

    int addComponentMesh(const ComponentNode& component)
    {
        tinygltf::Mesh mesh;
        mesh.name = component.name;
        for (const Primitive& primitive : component.primitives) {
            std::vector<float> positions, normals, uvs;
            positions.reserve(primitive.corners.size() * 3);
            normals.reserve(primitive.corners.size() * 3);
            uvs.reserve(primitive.corners.size() * 2);
            for (const Corner& c : primitive.corners) {
                positions.insert(positions.end(), c.position.begin(), c.position.end());
                normals.insert(normals.end(), c.normal.begin(), c.normal.end());
                uvs.insert(uvs.end(), c.uv.begin(), c.uv.end());
            }
            tinygltf::Primitive out;
            out.mode = TINYGLTF_MODE_TRIANGLES;
            out.material = static_cast<int>(primitive.material);
            out.attributes["POSITION"] = addFloats(positions, TINYGLTF_TYPE_VEC3, 3);
            out.attributes["NORMAL"] = addFloats(normals, TINYGLTF_TYPE_VEC3, 3);
            out.attributes["TEXCOORD_0"] = addFloats(uvs, TINYGLTF_TYPE_VEC2, 2);
            mesh.primitives.push_back(out);
        }
        m_model.meshes.push_back(mesh);
        return static_cast<int>(m_model.meshes.size() - 1);
    }

    int addAttachment(const AttachmentNode& a)
    {
        tinygltf::Node node;
        node.name = a.name;
        node.translation = {a.translation[0], a.translation[1], a.translation[2]};
        node.rotation = {a.rotation[0], a.rotation[1], a.rotation[2], a.rotation[3]};
        tinygltf::Value::Object extras{
            {"kind", tinygltf::Value(static_cast<int>(a.kind))},
            {"record", tinygltf::Value(static_cast<int>(a.index))},
            {"position", numbers({a.position.x, a.position.y, a.position.z})},
            {"matrix", numbers({a.matrix[0], a.matrix[1], a.matrix[2], a.matrix[3], a.matrix[4],
                                a.matrix[5], a.matrix[6], a.matrix[7], a.matrix[8]})},
            {"styleIndex", tinygltf::Value(static_cast<int>(a.styleIndex))},
            {"gunIndex", tinygltf::Value(static_cast<int>(a.gunIndex))},
            {"size", numbers({a.size.x, a.size.y, a.size.z})},
        };
        if (!a.model.empty())
            extras.emplace("model", tinygltf::Value(toUtf8(a.model)));
        node.extras = tinygltf::Value(extras);
        m_model.nodes.push_back(node);
        return static_cast<int>(m_model.nodes.size() - 1);
    }

    int addBox(const BoxNode& box)
    {
        std::vector<float> positions;
        for (const Vec3f& corner : box.corners)
            positions.insert(positions.end(), corner.begin(), corner.end());
        tinygltf::Accessor indices;
        indices.bufferView = addView(BoxTriangles.data(), sizeof(BoxTriangles),
                                     TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        indices.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
        indices.type = TINYGLTF_TYPE_SCALAR;
        indices.count = BoxTriangles.size();
        m_model.accessors.push_back(indices);

        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.indices = static_cast<int>(m_model.accessors.size() - 1);
        primitive.attributes["POSITION"] = addFloats(positions, TINYGLTF_TYPE_VEC3, 3);
        primitive.material = boxMaterial();
        tinygltf::Mesh mesh;
        mesh.name = box.name;
        mesh.primitives.push_back(primitive);
        m_model.meshes.push_back(mesh);

        tinygltf::Node node;
        node.name = box.name;
        node.mesh = static_cast<int>(m_model.meshes.size() - 1);
        m_model.nodes.push_back(node);
        return static_cast<int>(m_model.nodes.size() - 1);
    }

    int boxMaterial() const
    {
        const auto found = std::ranges::find_if(m_scene.materials, &Material::translucent);
        return static_cast<int>(found - m_scene.materials.begin());
    }

    const ExportScene& m_scene;
    const std::string& m_stem;
    bool m_binary;
    tinygltf::Model m_model;
};

} // namespace

std::string pictureFileName(const std::string& stem, const Picture& picture)
{
    return stem + "_" + picture.fileStem + ".png";
}

bool writePictures(const ExportScene& scene, const std::filesystem::path& directory,
                   const std::string& stem, std::vector<std::string>& written)
{
    for (const Picture& picture : scene.pictures) {
        const std::string name = pictureFileName(stem, picture);
        if (!writeFile(directory / name, picture.png))
            return false;
        written.push_back(name);
    }
    return true;
}

std::optional<std::vector<std::string>> writeGltf(const ExportScene& scene,
                                                  const std::filesystem::path& directory,
                                                  const std::string& stem, bool binary)
{
    const tinygltf::Model model = ModelBuilder(scene, stem, binary).build();
    tinygltf::TinyGLTF writer;
    // Pictures are PNG already: the writer keeps their views and file names as they are.
    writer.SetImageWriter(nullptr, nullptr);

    std::vector<std::string> written;
    if (binary) {
        std::ostringstream glb;
        const std::string name = stem + ".glb";
        if (!writer.WriteGltfSceneToStream(&model, glb, false, true) ||
            !writeFile(directory / name, glb.str()))
            return std::nullopt;
        written.push_back(name);
        return written;
    }

    const std::string name = stem + ".gltf";
    if (!writer.WriteGltfSceneToFile(&model, (directory / name).string(), false, false, true,
                                     false))
        return std::nullopt;
    // The library does not report a short write; a cut file is caught here.
    std::error_code error;
    if (std::filesystem::file_size(directory / name, error) == 0 || error)
        return std::nullopt;
    written.push_back(name);
    if (!model.buffers.empty()) {
        const std::string& binName = model.buffers[0].uri;
        if (std::filesystem::file_size(directory / binName, error) !=
                model.buffers[0].data.size() ||
            error)
            return std::nullopt;
        written.push_back(binName);
    }
    if (!writePictures(scene, directory, stem, written))
        return std::nullopt;
    return written;
}

} // namespace exporter
