#include "exporter/ExportScene.h"

#include "exporter/Messages.h"
#include "exporter/OutputFiles.h"
#include "gamedata/Png.h"
#include "gamedata/Tcache.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/Layout.h"
#include "shipfile/ShipFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

namespace exporter {

namespace lay = shipfile::layout;
namespace msg = exporter::messages;
using shipfile::Bytes;
using shipfile::ShipBlock;
using shipfile::Vec3;

namespace {

constexpr const char* BoxMaterialName = "Collision Box";

Vec3f subtract(const Vec3f& a, const Vec3f& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

// The unit normal of a triangle wound counter-clockwise; straight up for one without area,
// which shows nothing either way.
Vec3f faceNormal(const Vec3f& a, const Vec3f& b, const Vec3f& c)
{
    const Vec3f e = subtract(b, a), f = subtract(c, a);
    const double x = double{e[1]} * f[2] - double{e[2]} * f[1];
    const double y = double{e[2]} * f[0] - double{e[0]} * f[2];
    const double z = double{e[0]} * f[1] - double{e[1]} * f[0];
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!(length > 1e-20) || !std::isfinite(length))
        return {0.0f, 1.0f, 0.0f};
    return {static_cast<float>(x / length), static_cast<float>(y / length),
            static_cast<float>(z / length)};
}

bool finite(const Vec3f& v)
{
    return std::ranges::all_of(v, [](float f) { return std::isfinite(f); });
}

// A rotation matrix (rows) as a unit quaternion x, y, z, w.
std::array<float, 4> quaternion(const std::array<std::array<double, 3>, 3>& m)
{
    const double trace = m[0][0] + m[1][1] + m[2][2];
    double x, y, z, w;
    if (trace > 0) {
        const double s = std::sqrt(trace + 1.0) * 2;
        w = s / 4;
        x = (m[2][1] - m[1][2]) / s;
        y = (m[0][2] - m[2][0]) / s;
        z = (m[1][0] - m[0][1]) / s;
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = std::sqrt(1.0 + m[0][0] - m[1][1] - m[2][2]) * 2;
        w = (m[2][1] - m[1][2]) / s;
        x = s / 4;
        y = (m[0][1] + m[1][0]) / s;
        z = (m[0][2] + m[2][0]) / s;
    } else if (m[1][1] > m[2][2]) {
        const double s = std::sqrt(1.0 + m[1][1] - m[0][0] - m[2][2]) * 2;
        w = (m[0][2] - m[2][0]) / s;
        x = (m[0][1] + m[1][0]) / s;
        y = s / 4;
        z = (m[1][2] + m[2][1]) / s;
    } else {
        const double s = std::sqrt(1.0 + m[2][2] - m[0][0] - m[1][1]) * 2;
        w = (m[1][0] - m[0][1]) / s;
        x = (m[0][2] + m[2][0]) / s;
        y = (m[1][2] + m[2][1]) / s;
        z = s / 4;
    }
    const double n = std::sqrt(x * x + y * y + z * z + w * w);
    return {static_cast<float>(x / n), static_cast<float>(y / n), static_cast<float>(z / n),
            static_cast<float>(w / n)};
}

// The attachment's stored orientation (rows, ship axes) as a rotation in the export axes. The
// game keeps matrices it computed from face normals without normalising them, so the columns
// are made orthonormal first; a matrix that cannot be, or that mirrors, gives no rotation (the
// stored one stays in the node's extras).
std::array<float, 4> attachmentRotation(const std::array<float, 9>& stored)
{
    constexpr std::array<double, 3> Turn = {-1.0, -1.0, 1.0};
    std::array<std::array<double, 3>, 3> columns{}; // columns[j][i] = row i, column j
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            columns[j][i] = Turn[i] * Turn[j] * stored[i * 3 + j];

    const auto dot = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    };
    for (std::size_t j = 0; j < 3; ++j) {
        for (std::size_t k = 0; k < j; ++k) {
            const double d = dot(columns[j], columns[k]);
            for (std::size_t i = 0; i < 3; ++i)
                columns[j][i] -= d * columns[k][i];
        }
        const double length = std::sqrt(dot(columns[j], columns[j]));
        if (!(length > 1e-6) || !std::isfinite(length))
            return {0, 0, 0, 1};
        for (double& v : columns[j])
            v /= length;
    }
    const auto& a = columns[0];
    const auto& b = columns[1];
    const auto& c = columns[2];
    const double determinant = a[0] * (b[1] * c[2] - b[2] * c[1]) -
                               b[0] * (a[1] * c[2] - a[2] * c[1]) +
                               c[0] * (a[1] * b[2] - a[2] * b[1]);
    if (determinant < 0)
        return {0, 0, 0, 1};
    std::array<std::array<double, 3>, 3> rows{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            rows[i][j] = columns[j][i];
    return quaternion(rows);
}

std::array<float, 9> readMatrix(Bytes record, std::size_t offset)
{
    std::array<float, 9> m{};
    for (std::size_t k = 0; k < 9; ++k)
        m[k] = shipfile::readF32(record, offset + 4 * k).value_or(0.0f);
    return m;
}

class SceneBuilder
{
public:
    SceneBuilder(const shipfile::ShipFile& file, const ExportOptions& options)
        : m_file(file), m_options(options)
    {
    }

    ExportScene build()
    {
        // Components take their names first: the importer finds them by name.
        const std::vector<shipfile::ComponentParts> all = shipfile::allComponentParts(m_file);
        std::vector<const shipfile::ComponentParts*> exported;
        for (const shipfile::ComponentParts& parts : all) {
            if (!m_options.keepDest && shipfile::isDestComponent(m_file, parts.index))
                continue;
            ComponentNode node;
            node.index = static_cast<std::size_t>(parts.index);
            node.name = m_names.take(toUtf8(shipfile::componentName(m_file, parts.index)));
            m_scene.components.push_back(std::move(node));
            exported.push_back(&parts);
        }
        for (std::size_t i = 0; i < exported.size(); ++i)
            addComponent(m_scene.components[i], *exported[i]);
        warnAboutTextures();
        return std::move(m_scene);
    }

private:
    void addComponent(ComponentNode& node, const shipfile::ComponentParts& parts)
    {
        node.translation = toExportAxes(parts.origin);

        if (parts.faces && parts.vertices)
            addFaces(node, parts);
        else
            m_scene.warnings.push_back(msg::ExportNoGeometry.box(node.name));

        if (parts.attachments)
            addAttachments(node, *parts.attachments);
        if (m_options.boxes && parts.boxes)
            addBoxes(node, *parts.boxes);
    }

    void addFaces(ComponentNode& node, const shipfile::ComponentParts& parts)
    {
        const ShipBlock& faces = *parts.faces;
        const ShipBlock& vertices = *parts.vertices;
        const ShipBlock* names = parts.textureNames;
        const std::size_t vertexCount = parts.vertexCount;
        const bool hasCullSelector = faces.recordSize == lay::face::RecordSize;
        std::map<std::size_t, std::size_t> primitiveOfMaterial;

        for (std::size_t i = 0; i < faces.count(); ++i) {
            const Bytes face = faces.record(i);
            std::array<Corner, 3> corners{};
            bool usable = true;
            for (std::size_t k = 0; k < 3 && usable; ++k) {
                const auto index = shipfile::readU32(face, lay::face::VertexA + 4 * k);
                const auto u = shipfile::readF32(face, lay::face::U + 4 * k);
                const auto v = shipfile::readF32(face, lay::face::V + 4 * k);
                usable = index && u && v && *index < vertexCount && std::isfinite(*u) &&
                         std::isfinite(*v);
                if (!usable)
                    break;
                const auto position =
                    shipfile::readVec3(vertices.record(*index), lay::vertex::Position);
                corners[k].position = toExportAxes(*position);
                corners[k].uv = {*u, *v};
                usable = finite(corners[k].position);
            }
            if (!usable) {
                ++m_scene.skippedFaces;
                continue;
            }

            // Selector 3 shows a face from its back only: turned over, it shows the same side
            // in a one-sided material. Records without a selector show from both sides.
            if (hasCullSelector &&
                shipfile::readU32(face, lay::face::CullSelector) == lay::face::CullFront)
                std::swap(corners[1], corners[2]);
            const Vec3f normal =
                faceNormal(corners[0].position, corners[1].position, corners[2].position);
            for (Corner& c : corners)
                c.normal = normal;

            std::string textureName;
            const auto textureIndex = shipfile::readU32(face, lay::face::TextureIndex);
            if (names && textureIndex && *textureIndex < names->count())
                textureName =
                    shipfile::readString(names->record(*textureIndex), lay::texture::Name);
            const std::size_t material = materialFor(textureName, !hasCullSelector);

            const auto [slot, added] =
                primitiveOfMaterial.try_emplace(material, node.primitives.size());
            if (added)
                node.primitives.push_back(Primitive{material, {}, {}});
            Primitive& out = node.primitives[slot->second];
            out.corners.insert(out.corners.end(), corners.begin(), corners.end());
            out.faces.push_back(i);
            ++m_scene.triangleCount;
        }
    }

    void addAttachments(ComponentNode& node, const ShipBlock& block)
    {
        for (std::size_t j = 0; j < block.count(); ++j) {
            const Bytes record = block.record(j);
            AttachmentNode a;
            a.index = j;
            a.kind = shipfile::readI32(record, lay::attachment::Kind).value_or(-1);
            const std::string_view kindName = shipfile::attachmentKindName(a.kind);
            a.name = m_names.take(
                (kindName.empty() ? shipfile::messages::formatNumber(msg::ExportUnknownKind, a.kind)
                                  : std::string(kindName)) +
                " " + std::to_string(j));
            a.position = shipfile::readVec3(record, lay::attachment::Position).value_or(Vec3{});
            a.translation = toExportAxes(a.position);
            if (!finite(a.translation))
                a.translation = {0, 0, 0};
            a.matrix = readMatrix(record, lay::attachment::Matrix);
            a.rotation = attachmentRotation(a.matrix);
            a.styleIndex = shipfile::readI32(record, lay::attachment::StyleIndex).value_or(0);
            a.gunIndex = shipfile::readI32(record, lay::attachment::GunIndex).value_or(0);
            a.size = shipfile::readVec3(record, lay::attachment::Size).value_or(Vec3{});
            a.model = std::string(shipfile::attachmentModelName(a.kind, a.styleIndex, a.gunIndex));
            node.attachments.push_back(std::move(a));
        }
    }

    void addBoxes(ComponentNode& node, const ShipBlock& block)
    {
        for (std::size_t j = 0; j < block.count(); ++j) {
            const Bytes record = block.record(j);
            const std::array<float, 9> m = readMatrix(record, lay::box::Matrix);
            const auto half = shipfile::readVec3(record, lay::box::HalfExtents);
            const auto centre = shipfile::readVec3(record, lay::box::Centre);
            if (!half || !centre)
                continue;
            BoxNode box;
            const std::string name = std::string(BoxNodeName) + std::to_string(j);
            bool usable = true;
            for (std::size_t k = 0; k < 8; ++k) {
                // The record's rows are the rows of the box's rotation: corner = centre + R * h.
                const float h[3] = {(k & 1) ? half->x : -half->x, (k & 2) ? half->y : -half->y,
                                    (k & 4) ? half->z : -half->z};
                const Vec3 p{centre->x + m[0] * h[0] + m[1] * h[1] + m[2] * h[2],
                             centre->y + m[3] * h[0] + m[4] * h[1] + m[5] * h[2],
                             centre->z + m[6] * h[0] + m[7] * h[1] + m[8] * h[2]};
                box.corners[k] = toExportAxes(p);
                usable = usable && finite(box.corners[k]);
            }
            if (!usable)
                continue;
            box.name = m_names.take(name);
            box.objectName = m_names.take(node.name + " " + name);
            if (!m_boxMaterial) {
                m_boxMaterial = m_scene.materials.size();
                m_scene.materials.push_back(
                    Material{BoxMaterialName, std::nullopt, true, false, true});
            }
            node.boxes.push_back(box);
        }
    }

    // One material per texture name (ignoring case) and sidedness; its picture is read from
    // the texture cache the first time the name is met.
    std::size_t materialFor(const std::string& textureName, bool twoSided)
    {
        const auto key = std::make_pair(shipfile::lowerCase(textureName), twoSided);
        if (const auto found = m_materials.find(key); found != m_materials.end())
            return found->second;

        Material material;
        material.name = textureName.empty() ? std::string(PlainMaterialName) : toUtf8(textureName);
        if (twoSided)
            material.name += TwoSidedSuffix;
        material.doubleSided = twoSided;
        if (!textureName.empty()) {
            if (const auto picture = pictureFor(textureName)) {
                material.picture = picture->first;
                material.cutout = picture->second;
            }
        }
        m_materials.emplace(key, m_scene.materials.size());
        m_scene.materials.push_back(std::move(material));
        return m_scene.materials.size() - 1;
    }

    // The picture's index and whether it has transparent texels; nothing when the texture
    // cannot be read.
    std::optional<std::pair<std::size_t, bool>> pictureFor(const std::string& textureName)
    {
        const std::string key = shipfile::lowerCase(textureName);
        if (const auto found = m_pictures.find(key); found != m_pictures.end())
            return found->second;
        if (m_options.texturePath.empty() || m_cacheUnreadable)
            return std::nullopt;

        const gamedata::TcacheLookup lookup =
            gamedata::readTcacheTexture(m_options.texturePath, textureName);
        if (lookup.failure == gamedata::TcacheFailure::CannotOpen) {
            m_cacheUnreadable = true;
            return std::nullopt;
        }
        const gamedata::DecodedTexture& texture = lookup.texture;
        std::vector<std::uint8_t> png;
        if (lookup.failure == gamedata::TcacheFailure::None)
            png = gamedata::encodePng(texture.width, texture.height, texture.rgba);
        if (png.empty()) {
            m_missingTextures.insert(toUtf8(textureName));
            m_pictures.emplace(key, std::nullopt); // one look into the file per name
            return std::nullopt;
        }
        Picture picture{uniqueStem(textureName), texture.width, texture.height, std::move(png)};
        bool cutout = false;
        for (std::size_t i = 3; i < texture.rgba.size(); i += 4)
            cutout = cutout || texture.rgba[i] != 255;
        const auto entry = std::make_pair(m_scene.pictures.size(), cutout);
        m_scene.pictures.push_back(std::move(picture));
        m_pictures.emplace(key, entry);
        return entry;
    }

    std::string uniqueStem(const std::string& textureName)
    {
        const std::string base = safeFileStem(textureName);
        std::string stem = base;
        for (int n = 2; !m_stems.insert(shipfile::lowerCase(stem)).second; ++n)
            stem = base + "_" + std::to_string(n);
        return stem;
    }

    void warnAboutTextures()
    {
        if (m_cacheUnreadable) {
            m_scene.warnings.push_back(
                msg::ExportTexturesUnavailable.box(m_options.texturePath.string()));
            return;
        }
        if (m_missingTextures.empty())
            return;
        std::string list;
        for (const std::string& name : m_missingTextures)
            list += (list.empty() ? "" : ", ") + name;
        m_scene.warnings.push_back(msg::ExportTexturesMissing.box(list));
    }

    const shipfile::ShipFile& m_file;
    const ExportOptions& m_options;
    ExportScene m_scene;
    UniqueNames m_names;
    std::map<std::pair<std::string, bool>, std::size_t> m_materials;
    std::map<std::string, std::optional<std::pair<std::size_t, bool>>> m_pictures;
    std::set<std::string> m_stems;
    std::set<std::string> m_missingTextures;
    std::optional<std::size_t> m_boxMaterial;
    bool m_cacheUnreadable = false;
};

} // namespace

std::string UniqueNames::take(const std::string& name)
{
    if (m_used.insert(name).second)
        return name;
    for (int n = 1;; ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%03d", n);
        if (m_used.insert(name + suffix).second)
            return name + suffix;
    }
}

Vec3f toExportAxes(Vec3 p)
{
    return {-p.x, -p.y, p.z};
}

std::string toUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

ExportScene buildScene(const shipfile::ShipFile& file, const ExportOptions& options)
{
    return SceneBuilder(file, options).build();
}

} // namespace exporter
