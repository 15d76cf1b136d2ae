#include "importer/GltfReader.h"

#include "importer/Messages.h"

#include <cmath>
#include <cstring>
#include <map>
#include <tiny_gltf.h>

namespace importer {

namespace msg = importer::messages;

namespace {

// Extensions that change how meshes are stored; a reader that ignored them would read nonsense.
bool understood(const std::string& extension)
{
    return extension == "KHR_materials_emissive_strength" || extension == "KHR_texture_transform" ||
           extension == "KHR_materials_unlit" || extension == "KHR_lights_punctual";
}

// Pictures are not needed: a loader that keeps their bytes undecoded.
bool skipPicture(tinygltf::Image*, const int, std::string*, std::string*, int, int,
                 const unsigned char*, int, void*)
{
    return true;
}

bool noFiles(const std::string&, void*)
{
    return false;
}
std::string samePath(const std::string& path, void*)
{
    return path;
}
bool readNoFile(std::vector<unsigned char>*, std::string* error, const std::string& path, void*)
{
    if (error)
        *error += "the file " + path + " is outside the model";
    return false;
}
bool writeNoFile(std::string*, const std::string&, const std::vector<unsigned char>&, void*)
{
    return false;
}

class Converter
{
public:
    Converter(const tinygltf::Model& gltf, std::string& refusal) : m_gltf(gltf), m_refusal(refusal)
    {
    }

    std::optional<Model> convert()
    {
        for (const std::string& extension : m_gltf.extensionsRequired)
            if (!understood(extension))
                return fail(fill(msg::NeedsExtension, {extension}));
        for (const tinygltf::Material& material : m_gltf.materials)
            m_model.materials.push_back(material.name);
        if (!addNodes())
            return std::nullopt;
        return std::move(m_model);
    }

private:
    std::nullopt_t fail(std::string detail)
    {
        if (m_refusal.empty())
            m_refusal = std::move(detail);
        return std::nullopt;
    }

    bool refuse(std::string detail)
    {
        fail(std::move(detail));
        return false;
    }

    static std::string nodeName(int n) { return "node " + std::to_string(n); }

    bool addNodes()
    {
        const int count = static_cast<int>(m_gltf.nodes.size());
        std::vector<int> parentOf(m_gltf.nodes.size(), -1);
        for (int n = 0; n < count; ++n)
            for (const int child : m_gltf.nodes[static_cast<std::size_t>(n)].children) {
                if (child < 0 || child >= count)
                    return refuse(fill(msg::MissingReference,
                                     {nodeName(n), nodeName(child)}));
                if (parentOf[static_cast<std::size_t>(child)] >= 0)
                    return refuse(fill(msg::NodeTwice, {std::to_string(child)}));
                parentOf[static_cast<std::size_t>(child)] = n;
            }

        std::vector<int> roots;
        const int scene = m_gltf.defaultScene >= 0 ? m_gltf.defaultScene : 0;
        if (static_cast<std::size_t>(scene) < m_gltf.scenes.size()) {
            roots = m_gltf.scenes[static_cast<std::size_t>(scene)].nodes;
        } else {
            for (int n = 0; n < count; ++n)
                if (parentOf[static_cast<std::size_t>(n)] < 0)
                    roots.push_back(n);
        }

        // Depth first, without recursion: a hostile file may nest deeply.
        std::vector<std::pair<int, int>> stack; // glTF node, parent in the model
        for (auto root = roots.rbegin(); root != roots.rend(); ++root)
            stack.emplace_back(*root, -1);
        std::vector<bool> seen(m_gltf.nodes.size(), false);
        while (!stack.empty()) {
            const auto [n, parent] = stack.back();
            stack.pop_back();
            if (n < 0 || n >= count)
                return refuse(fill(msg::MissingReference, {"the scene", nodeName(n)}));
            if (seen[static_cast<std::size_t>(n)])
                return refuse(fill(msg::NodeLoop, {std::to_string(n)}));
            seen[static_cast<std::size_t>(n)] = true;
            const tinygltf::Node& in = m_gltf.nodes[static_cast<std::size_t>(n)];
            Node node;
            node.name = in.name;
            node.parent = parent;
            if (!localTransform(n, in, node.local))
                return false;
            if (in.mesh >= 0) {
                const auto mesh = meshFor(in.mesh, n);
                if (!mesh)
                    return false;
                node.mesh = *mesh;
            }
            m_model.nodes.push_back(std::move(node));
            const int index = static_cast<int>(m_model.nodes.size() - 1);
            for (auto child = in.children.rbegin(); child != in.children.rend(); ++child)
                stack.emplace_back(*child, index);
        }
        return true;
    }

    bool localTransform(int n, const tinygltf::Node& in, Matrix& out)
    {
        const auto finite = [](const std::vector<double>& values) {
            for (const double v : values)
                if (!std::isfinite(v))
                    return false;
            return true;
        };
        if (!finite(in.matrix) || !finite(in.translation) || !finite(in.rotation) ||
            !finite(in.scale))
            return refuse(fill(msg::NotANumber, {nodeName(n), "its transform"}));
        if (in.matrix.size() == 16) {
            std::copy(in.matrix.begin(), in.matrix.end(), out.begin());
            return true;
        }
        double x = 0, y = 0, z = 0, w = 1;
        if (in.rotation.size() == 4) {
            x = in.rotation[0], y = in.rotation[1], z = in.rotation[2], w = in.rotation[3];
            const double length = std::sqrt(x * x + y * y + z * z + w * w);
            if (length > 0)
                x /= length, y /= length, z /= length, w /= length;
            else
                x = y = z = 0, w = 1;
        }
        const double sx = in.scale.size() == 3 ? in.scale[0] : 1;
        const double sy = in.scale.size() == 3 ? in.scale[1] : 1;
        const double sz = in.scale.size() == 3 ? in.scale[2] : 1;
        out = {(1 - 2 * (y * y + z * z)) * sx, 2 * (x * y + z * w) * sx, 2 * (x * z - y * w) * sx, 0,
               2 * (x * y - z * w) * sy, (1 - 2 * (x * x + z * z)) * sy, 2 * (y * z + x * w) * sy, 0,
               2 * (x * z + y * w) * sz, 2 * (y * z - x * w) * sz, (1 - 2 * (x * x + y * y)) * sz, 0,
               0, 0, 0, 1};
        if (in.translation.size() == 3)
            for (std::size_t i = 0; i < 3; ++i)
                out[12 + i] = in.translation[i];
        return true;
    }

    std::optional<int> meshFor(int gltfMesh, int node)
    {
        if (static_cast<std::size_t>(gltfMesh) >= m_gltf.meshes.size())
            return fail(fill(msg::MissingReference,
                             {nodeName(node), "mesh " + std::to_string(gltfMesh)}));
        if (const auto found = m_meshes.find(gltfMesh); found != m_meshes.end())
            return found->second;
        const tinygltf::Mesh& in = m_gltf.meshes[static_cast<std::size_t>(gltfMesh)];
        Mesh mesh;
        mesh.name = in.name;
        for (std::size_t p = 0; p < in.primitives.size(); ++p)
            if (!addPrimitive(in.primitives[p],
                              "mesh \"" + in.name + "\", primitive " + std::to_string(p), mesh))
                return std::nullopt;
        m_model.meshes.push_back(std::move(mesh));
        const int index = static_cast<int>(m_model.meshes.size() - 1);
        m_meshes.emplace(gltfMesh, index);
        return index;
    }

    // The bytes of element 0 of `accessor` and the step between elements, once every element
    // is known to lie inside its buffer.
    struct Elements
    {
        const unsigned char* first = nullptr;
        std::size_t stride = 0;
        std::size_t count = 0;
        int componentType = 0;
        bool normalized = false;
    };

    std::optional<Elements> elements(int index, const std::string& where, int type,
                                     std::initializer_list<int> componentTypes)
    {
        const std::string indexText = std::to_string(index);
        if (index < 0 || static_cast<std::size_t>(index) >= m_gltf.accessors.size())
            return fail(fill(msg::MissingReference, {where, "accessor " + indexText}));
        const tinygltf::Accessor& a = m_gltf.accessors[static_cast<std::size_t>(index)];
        if (a.sparse.isSparse)
            return fail(fill(msg::AccessorSparse, {indexText, where}));
        bool typeKnown = false;
        for (const int t : componentTypes)
            typeKnown = typeKnown || a.componentType == t;
        if (a.type != type || !typeKnown)
            return fail(fill(msg::AccessorWrongType, {indexText, where}));
        if (a.bufferView < 0 || static_cast<std::size_t>(a.bufferView) >= m_gltf.bufferViews.size())
            return fail(fill(msg::MissingReference,
                             {"accessor " + indexText, "buffer view " + std::to_string(a.bufferView)}));
        const tinygltf::BufferView& view = m_gltf.bufferViews[static_cast<std::size_t>(a.bufferView)];
        if (view.buffer < 0 || static_cast<std::size_t>(view.buffer) >= m_gltf.buffers.size())
            return fail(fill(msg::MissingReference,
                             {"buffer view " + std::to_string(a.bufferView),
                              "buffer " + std::to_string(view.buffer)}));
        const std::vector<unsigned char>& buffer = m_gltf.buffers[static_cast<std::size_t>(view.buffer)].data;
        const std::size_t componentSize =
            static_cast<std::size_t>(tinygltf::GetComponentSizeInBytes(
                static_cast<std::uint32_t>(a.componentType)));
        const std::size_t width = static_cast<std::size_t>(tinygltf::GetNumComponentsInType(
            static_cast<std::uint32_t>(a.type)));
        const std::size_t elementSize = componentSize * width;
        const std::size_t stride = view.byteStride ? view.byteStride : elementSize;
        const bool viewInside = view.byteOffset <= buffer.size() &&
                                view.byteLength <= buffer.size() - view.byteOffset;
        const std::size_t available = viewInside && a.byteOffset <= view.byteLength
                                          ? view.byteLength - a.byteOffset
                                          : 0;
        const bool fits = viewInside && stride >= elementSize &&
                          (a.count == 0 ||
                           (a.byteOffset <= view.byteLength && elementSize <= available &&
                            (a.count - 1) <= (available - elementSize) / stride));
        if (!fits)
            return fail(fill(msg::AccessorPastBuffer, {indexText, where}));
        return Elements{buffer.data() + view.byteOffset + a.byteOffset, stride, a.count,
                        a.componentType, a.normalized};
    }

    static float component(const Elements& e, std::size_t element, std::size_t k)
    {
        const unsigned char* p = e.first + element * e.stride;
        switch (e.componentType) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return static_cast<float>(p[k]) / 255.0f;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            std::uint16_t v;
            std::memcpy(&v, p + 2 * k, 2);
            return static_cast<float>(v) / 65535.0f;
        }
        default: {
            float v;
            std::memcpy(&v, p + 4 * k, 4);
            return v;
        }
        }
    }

    static std::uint32_t indexAt(const Elements& e, std::size_t element)
    {
        const unsigned char* p = e.first + element * e.stride;
        switch (e.componentType) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return p[0];
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            std::uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        default: {
            std::uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
        }
    }

    bool addPrimitive(const tinygltf::Primitive& primitive, const std::string& where, Mesh& mesh)
    {
        constexpr int Triangles = TINYGLTF_MODE_TRIANGLES, Strip = TINYGLTF_MODE_TRIANGLE_STRIP,
                      Fan = TINYGLTF_MODE_TRIANGLE_FAN;
        if (primitive.mode != Triangles && primitive.mode != Strip && primitive.mode != Fan)
            return true; // points and lines carry no faces
        const auto position = primitive.attributes.find("POSITION");
        if (position == primitive.attributes.end())
            return true;
        const auto positions = elements(position->second, where, TINYGLTF_TYPE_VEC3,
                                        {TINYGLTF_COMPONENT_TYPE_FLOAT});
        if (!positions)
            return false;
        std::optional<Elements> uvs;
        if (const auto uv = primitive.attributes.find("TEXCOORD_0");
            uv != primitive.attributes.end()) {
            uvs = elements(uv->second, where, TINYGLTF_TYPE_VEC2,
                           {TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                            TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT});
            if (!uvs)
                return false;
            if (uvs->count < positions->count)
                return refuse(fill(msg::AccessorPastBuffer, {std::to_string(uv->second), where}));
        }
        std::size_t material = NoMaterial;
        if (primitive.material >= 0) {
            if (static_cast<std::size_t>(primitive.material) >= m_model.materials.size())
                return refuse(fill(msg::MissingReference,
                                 {where, "material " + std::to_string(primitive.material)}));
            material = static_cast<std::size_t>(primitive.material);
        }

        std::vector<std::uint32_t> corners;
        if (primitive.indices >= 0) {
            const auto indices = elements(primitive.indices, where, TINYGLTF_TYPE_SCALAR,
                                          {TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE,
                                           TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                                           TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT});
            if (!indices)
                return false;
            corners.reserve(indices->count);
            for (std::size_t i = 0; i < indices->count; ++i) {
                const std::uint32_t v = indexAt(*indices, i);
                if (v >= positions->count)
                    return refuse(fill(msg::IndexPastVertices, {where, std::to_string(v)}));
                corners.push_back(v);
            }
        } else {
            corners.resize(positions->count);
            for (std::size_t i = 0; i < corners.size(); ++i)
                corners[i] = static_cast<std::uint32_t>(i);
        }

        const auto corner = [&](std::uint32_t v, Vec3f& p, Uv& uv) {
            for (std::size_t k = 0; k < 3; ++k)
                p[k] = component(*positions, v, k);
            if (uvs)
                uv = {component(*uvs, v, 0), component(*uvs, v, 1)};
            return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]) &&
                   std::isfinite(uv[0]) && std::isfinite(uv[1]);
        };
        const auto add = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
            Triangle t;
            t.material = material;
            const std::uint32_t v[3] = {a, b, c};
            for (std::size_t k = 0; k < 3; ++k)
                if (!corner(v[k], t.positions[k], t.uvs[k]))
                    return refuse(fill(msg::NotANumber,
                                     {where, "vertex " + std::to_string(v[k])}));
            mesh.triangles.push_back(t);
            return true;
        };
        const std::size_t n = corners.size();
        if (primitive.mode == Triangles) {
            for (std::size_t i = 0; i + 2 < n; i += 3)
                if (!add(corners[i], corners[i + 1], corners[i + 2]))
                    return false;
        } else if (primitive.mode == Strip) {
            for (std::size_t i = 0; i + 2 < n; ++i)
                if (!(i % 2 == 0 ? add(corners[i], corners[i + 1], corners[i + 2])
                                 : add(corners[i + 1], corners[i], corners[i + 2])))
                    return false;
        } else {
            for (std::size_t i = 1; i + 1 < n; ++i)
                if (!add(corners[0], corners[i], corners[i + 1]))
                    return false;
        }
        return true;
    }

    const tinygltf::Model& m_gltf;
    std::string& m_refusal;
    Model m_model;
    std::map<int, int> m_meshes;
};

} // namespace

std::string fill(std::string_view format, std::initializer_list<std::string> values)
{
    std::string out;
    auto value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() &&
            (format[i + 1] == 's' || format[i + 1] == 'd') && value != values.end()) {
            out += *value++;
            ++i;
        } else {
            out.push_back(format[i]);
        }
    }
    return out;
}

std::optional<Model> readGltf(shipfile::Bytes data, bool binary,
                              const std::filesystem::path& baseDirectory, std::string& refusal)
{
    tinygltf::TinyGLTF loader;
    loader.SetImageLoader(skipPicture, nullptr);
    if (baseDirectory.empty())
        loader.SetFsCallbacks({noFiles, samePath, readNoFile, writeNoFile, nullptr});
    if (data.size() > 0xFFFFFFFFu) {
        refusal = fill(msg::GltfBroken, {"larger than 4 GB"});
        return std::nullopt;
    }
    tinygltf::Model gltf;
    std::string error, warning;
    const auto length = static_cast<unsigned int>(data.size());
    const bool loaded =
        binary ? loader.LoadBinaryFromMemory(&gltf, &error, &warning, data.data(), length,
                                             baseDirectory.string())
               : loader.LoadASCIIFromString(&gltf, &error, &warning,
                                            reinterpret_cast<const char*>(data.data()), length,
                                            baseDirectory.string());
    if (!loaded) {
        while (!error.empty() && (error.back() == '\n' || error.back() == ' '))
            error.pop_back();
        refusal = fill(msg::GltfBroken, {error.empty() ? "no details" : error});
        return std::nullopt;
    }
    Converter converter(gltf, refusal);
    return converter.convert();
}

} // namespace importer
