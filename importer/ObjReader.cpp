#include "importer/ObjReader.h"

#include "importer/GltfReader.h"
#include "importer/Messages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <sstream>
#include <tiny_obj_loader.h>

namespace importer {

namespace msg = importer::messages;

namespace {

// Collects the parser's calls; faces are resolved once every position is known, since an
// index may point forward.
struct Reading
{
    struct Face
    {
        std::size_t mesh;
        std::size_t material;
        std::vector<tinyobj::index_t> corners;
        std::size_t positionsSoFar, uvsSoFar, number;
    };
    std::vector<Vec3f> positions;
    std::vector<Uv> uvs;
    std::vector<Face> faces;
    Model model;
    std::map<std::string, std::size_t> materials;
    std::size_t material = NoMaterial;
    bool sawObject = false;
    std::string refusal;

    void startMesh(const std::string& name)
    {
        if (!model.meshes.empty() && model.meshes.back().name.empty() &&
            std::none_of(faces.begin(), faces.end(),
                         [this](const Face& f) { return f.mesh == model.meshes.size() - 1; })) {
            model.meshes.back().name = name; // nothing came before the first name
            return;
        }
        model.meshes.push_back(Mesh{name, {}, 0});
    }
};

Reading& reading(void* data)
{
    return *static_cast<Reading*>(data);
}

void onVertex(void* data, float x, float y, float z, float)
{
    reading(data).positions.push_back({x, y, z});
}

void onTexCoord(void* data, float u, float v, float)
{
    // OBJ counts v from the bottom of the picture, the view from its first row.
    reading(data).uvs.push_back({u, 1.0f - v});
}

void onFace(void* data, tinyobj::index_t* indices, int count)
{
    Reading& r = reading(data);
    if (r.model.meshes.empty())
        r.startMesh("");
    r.faces.push_back({r.model.meshes.size() - 1, r.material,
                       std::vector<tinyobj::index_t>(indices, indices + std::max(count, 0)),
                       r.positions.size(), r.uvs.size(), r.faces.size()});
}

void onMaterial(void* data, const char* name, int)
{
    Reading& r = reading(data);
    const auto [slot, added] = r.materials.try_emplace(name, r.model.materials.size());
    if (added)
        r.model.materials.push_back(name);
    r.material = slot->second;
}

void onObject(void* data, const char* name)
{
    Reading& r = reading(data);
    r.sawObject = true;
    r.startMesh(name);
}

void onGroup(void* data, const char** names, int count)
{
    Reading& r = reading(data);
    if (!r.sawObject && count > 0)
        r.startMesh(names[0]);
}

// An OBJ index: 1 and up from the start, -1 and down from the last one read so far.
std::optional<std::size_t> resolve(int index, std::size_t soFar, std::size_t total)
{
    if (index > 0 && static_cast<std::size_t>(index) <= total)
        return static_cast<std::size_t>(index - 1);
    if (index < 0 && static_cast<std::size_t>(-static_cast<long long>(index)) <= soFar)
        return soFar - static_cast<std::size_t>(-static_cast<long long>(index));
    return std::nullopt;
}

// The reader takes a number it cannot read as 0: positions and texture coordinates are
// checked here first, so "nan" or "1e99" is refused with its line rather than moved to 0.
bool numbersReadable(std::string_view text, std::string& refusal)
{
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.starts_with("v ") && !line.starts_with("vt ") && !line.starts_with("v\t") &&
            !line.starts_with("vt\t"))
            continue;
        for (std::size_t at = line.find_first_of(" \t"); at < line.size();) {
            at = line.find_first_not_of(" \t\r", at);
            if (at >= line.size())
                break;
            const std::size_t tokenEnd = std::min(line.find_first_of(" \t\r", at), line.size());
            const std::string_view token = line.substr(at, tokenEnd - at);
            float value = 0;
            const auto [stop, error] =
                std::from_chars(token.data(), token.data() + token.size(), value);
            if (error != std::errc() || stop != token.data() + token.size() ||
                !std::isfinite(value)) {
                refusal = fill(msg::NotANumber,
                               {"line " + std::to_string(lineNumber), std::string(token)});
                return false;
            }
            at = tokenEnd;
        }
    }
    return true;
}

} // namespace

std::optional<Model> readObj(std::string_view text, std::string& refusal)
{
    if (!numbersReadable(text, refusal))
        return std::nullopt;
    Reading r;
    r.model.format = ModelFormat::Obj;
    tinyobj::callback_t callbacks;
    callbacks.vertex_cb = onVertex;
    callbacks.texcoord_cb = onTexCoord;
    callbacks.index_cb = onFace;
    callbacks.usemtl_cb = onMaterial;
    callbacks.object_cb = onObject;
    callbacks.group_cb = onGroup;
    std::istringstream in{std::string(text)};
    std::string warning, error;
    tinyobj::LoadObjWithCallback(in, callbacks, &r, nullptr, &warning, &error);

    for (const Reading::Face& face : r.faces) {
        Mesh& mesh = r.model.meshes[face.mesh];
        const std::string where = "object \"" + mesh.name + "\", face " +
                                  std::to_string(face.number + 1);
        std::vector<std::pair<Vec3f, Uv>> corners;
        for (const tinyobj::index_t& index : face.corners) {
            const auto p = resolve(index.vertex_index, face.positionsSoFar, r.positions.size());
            if (!p) {
                refusal = fill(msg::IndexPastVertices, {where, std::to_string(index.vertex_index)});
                return std::nullopt;
            }
            Uv uv{0, 0};
            if (index.texcoord_index != 0) {
                const auto t = resolve(index.texcoord_index, face.uvsSoFar, r.uvs.size());
                if (!t) {
                    refusal = fill(msg::MissingReference,
                                   {where, "texture coordinate " +
                                               std::to_string(index.texcoord_index)});
                    return std::nullopt;
                }
                uv = r.uvs[*t];
            }
            const Vec3f& position = r.positions[*p];
            if (!std::isfinite(position[0]) || !std::isfinite(position[1]) ||
                !std::isfinite(position[2]) || !std::isfinite(uv[0]) || !std::isfinite(uv[1])) {
                refusal = fill(msg::NotANumber, {where, "a corner"});
                return std::nullopt;
            }
            corners.emplace_back(position, uv);
        }
        if (corners.size() < 3)
            continue;
        if (corners.size() > 3)
            ++mesh.polygonsTriangulated;
        for (std::size_t k = 1; k + 1 < corners.size(); ++k) {
            Triangle t;
            t.material = face.material;
            const std::size_t at[3] = {0, k, k + 1};
            for (std::size_t c = 0; c < 3; ++c) {
                t.positions[c] = corners[at[c]].first;
                t.uvs[c] = corners[at[c]].second;
            }
            mesh.triangles.push_back(t);
        }
    }
    for (std::size_t m = 0; m < r.model.meshes.size(); ++m) {
        Node node;
        node.name = r.model.meshes[m].name;
        node.mesh = static_cast<int>(m);
        r.model.nodes.push_back(node);
    }
    return std::move(r.model);
}

} // namespace importer
